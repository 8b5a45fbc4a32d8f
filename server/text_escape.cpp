// Making text valid, and escaping it for HTML and JSON.
#include "text_escape.h"

#include <cstdint>
#include <cstdio>

namespace trakvolt::server {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The length of the valid UTF-8 sequence at the start of `s` and its code point; 0 when the
// first byte does not begin one.
std::size_t SequenceAt(std::string_view s, char32_t& cp) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = b(0);
  std::size_t length = 0;
  char32_t min = 0;
  if (lead < 0x80) {
    cp = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, cp = lead & 0x1F, min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, cp = lead & 0x0F, min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, cp = lead & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (s.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((b(i) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b(i) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return length;
}

bool IsControl(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F); }

}  // namespace

std::string ValidText(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    char32_t cp = 0;
    const std::size_t n = SequenceAt(bytes, cp);
    if (n == 0 || IsControl(cp)) {
      out += kReplacement;
      bytes.remove_prefix(n == 0 ? 1 : n);
    } else {
      out += bytes.substr(0, n);
      bytes.remove_prefix(n);
    }
  }
  return out;
}

std::string CutText(std::string_view valid_utf8, std::size_t max_chars) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < valid_utf8.size(); ++i) {
    if ((static_cast<unsigned char>(valid_utf8[i]) & 0xC0) == 0x80) continue;
    if (chars++ == max_chars) return std::string(valid_utf8.substr(0, i)) + "…";
  }
  return std::string(valid_utf8);
}

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : ValidText(text)) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : ValidText(text)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '<' || c == '>' || c == '&') {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
      out += buf;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace trakvolt::server
