// UTF-8 <-> Windows-1251 conversion: the game keeps its text in cp1251, sources and SDL use UTF-8.
#include "base/cp1251.h"

#include <array>

namespace trakvolt {

namespace {

// Unicode code points of the bytes 0x80..0xFF; 0 marks the one byte (0x98) without a character.
constexpr std::array<char16_t, 128> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

int UnicodeToCp1251(char32_t c) {
  if (c < 0x80) return static_cast<int>(c);
  for (int i = 0; i < 128; ++i)
    if (kHigh[static_cast<std::size_t>(i)] == c && c != 0) return 0x80 + i;
  return -1;
}

char32_t Cp1251ToUnicode(unsigned char b) {
  if (b < 0x80) return b;
  const char16_t c = kHigh[b - 0x80u];
  return c ? c : 0xFFFD;
}

std::vector<char32_t> DecodeUtf8(std::string_view utf8) {
  std::vector<char32_t> out;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    int extra = 0;
    char32_t c = 0;
    if (b < 0x80) {
      c = b;
    } else if ((b & 0xE0) == 0xC0) {
      c = b & 0x1F;
      extra = 1;
    } else if ((b & 0xF0) == 0xE0) {
      c = b & 0x0F;
      extra = 2;
    } else if ((b & 0xF8) == 0xF0) {
      c = b & 0x07;
      extra = 3;
    } else {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    if (i + static_cast<std::size_t>(extra) >= utf8.size()) {  // cut short at the end
      out.push_back(0xFFFD);
      break;
    }
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      const auto cb = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
      if ((cb & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      c = (c << 6) | (cb & 0x3F);
    }
    if (!ok) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    out.push_back(c);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

std::string Utf8ToCp1251(std::string_view utf8, char replacement) {
  std::string out;
  for (char32_t c : DecodeUtf8(utf8)) {
    const int b = UnicodeToCp1251(c);
    out += b < 0 ? replacement : static_cast<char>(b);
  }
  return out;
}

std::string Cp1251ToUtf8(std::string_view cp1251) {
  std::string out;
  for (char ch : cp1251) AppendUtf8(out, Cp1251ToUnicode(static_cast<unsigned char>(ch)));
  return out;
}

unsigned char CyrillicCapital(unsigned char ch) {
  return ch >= 0xE0 ? static_cast<unsigned char>(ch - 32) : ch;
}

std::optional<unsigned char> FieldCharacter(unsigned char ch) {
  if (ch >= 'a' && ch <= 'z') return static_cast<unsigned char>(ch - 32);
  if ((ch >= 'A' && ch <= 'Z') || (ch >= 0xC0 && ch <= 0xDF) || ch == ' ') return ch;
  return std::nullopt;
}

}  // namespace trakvolt
