// Building, encoding, decoding and parsing the result payload.
#include "persist/score_payload.h"

#include <charconv>
#include <vector>

#include "base/cp1251.h"

namespace trakvolt {
namespace {

constexpr std::string_view kSymbols = "QWERTYUPASDFGHKLZXCVBNM23456789J";
constexpr int kBlock = 5;

// The fields in the order the server reads them; the values follow each label.
constexpr std::string_view kLabels[] = {
    "type=", "|name=", "|score=", "|key=", "|p=", "|add=", "|z="};

}  // namespace

std::string SendableText(std::string_view text) {
  std::string out;
  // Exactly what the name entry would have stored for these keys.
  for (const char c : text)
    if (const auto typed = FieldCharacter(CyrillicCapital(static_cast<unsigned char>(c))))
      out += static_cast<char>(*typed);
  return out;
}

std::string BuildScorePayload(const ScoreSubmission& s) {
  const auto sent = [](std::string_view text) {
    return SendableText(text).substr(0, kMaxSentTextBytes);
  };
  const std::string values[] = {
      "0", sent(s.name), std::to_string(s.score), std::string(1, s.key), s.p, sent(s.country), ""};
  std::string out;
  for (std::size_t i = 0; i < std::size(kLabels); ++i) {
    out += kLabels[i];
    out += values[i];
  }
  out.append((kBlock - out.size() % kBlock) % kBlock, '0');
  return out;
}

std::optional<ScoreSubmission> ParseScorePayload(std::string_view payload) {
  // The sendable name and country hold no "|"; P is the one field that may, so the fields
  // are found from both ends towards it.
  std::vector<std::string_view> values;
  std::string_view rest = payload;
  if (!rest.starts_with(kLabels[0])) return std::nullopt;
  rest.remove_prefix(kLabels[0].size());
  for (int i = 1; i <= 4; ++i) {
    const std::size_t at = rest.find(kLabels[i]);
    if (at == std::string_view::npos) return std::nullopt;
    values.push_back(rest.substr(0, at));
    rest.remove_prefix(at + kLabels[i].size());
  }
  const std::size_t z = rest.rfind(kLabels[6]);
  if (z == std::string_view::npos) return std::nullopt;
  const std::size_t add = rest.substr(0, z).rfind(kLabels[5]);
  if (add == std::string_view::npos) return std::nullopt;
  const std::string_view p = rest.substr(0, add);
  const std::string_view country =
      rest.substr(add + kLabels[5].size(), z - add - kLabels[5].size());
  const std::string_view zeros = rest.substr(z + kLabels[6].size());

  ScoreSubmission s;
  const std::string_view type = values[0], name = values[1], score = values[2], key = values[3];
  const auto [end, ec] = std::from_chars(score.data(), score.data() + score.size(), s.score);
  if (type != "0" || ec != std::errc{} || end != score.data() + score.size() || key.size() != 1 ||
      zeros.size() >= kBlock || zeros.find_first_not_of('0') != std::string_view::npos ||
      payload.size() % kBlock != 0)
    return std::nullopt;
  s.name = name;
  s.key = key[0];
  s.p = p;
  s.country = country;
  return s;
}

std::string EncodeScorePayload(std::string_view bytes) {
  const std::size_t bits = bytes.size() * 8;
  const std::size_t pad = (kBlock - bits % kBlock) % kBlock;
  std::string out;
  out.reserve((bits + pad) / kBlock);
  // Bit n of the padded bit text, most significant first.
  auto bit = [&](std::size_t n) -> unsigned {
    if (n < pad) return 0;
    n -= pad;
    return (static_cast<unsigned char>(bytes[n / 8]) >> (7 - n % 8)) & 1u;
  };
  for (std::size_t n = 0; n < bits + pad; n += kBlock) {
    unsigned v = 0;
    for (std::size_t b = 0; b < kBlock; ++b) v = (v << 1) | bit(n + b);
    out += kSymbols[v];
  }
  return out;
}

std::optional<std::string> DecodeScorePayload(std::string_view symbols) {
  std::vector<unsigned char> bits;
  bits.reserve(symbols.size() * kBlock);
  for (const char c : symbols) {
    const std::size_t v = kSymbols.find(c);
    if (v == std::string_view::npos) return std::nullopt;
    for (int b = kBlock - 1; b >= 0; --b) bits.push_back(static_cast<unsigned char>((v >> b) & 1u));
  }
  const std::size_t pad = bits.size() % 8;
  for (std::size_t i = 0; i < pad; ++i)
    if (bits[i] != 0) return std::nullopt;
  std::string out;
  for (std::size_t n = pad; n < bits.size(); n += 8) {
    unsigned byte = 0;
    for (std::size_t b = 0; b < 8; ++b) byte = (byte << 1) | bits[n + b];
    out += static_cast<char>(byte);
  }
  // The encoder pads by fewer than 5 bits; more would be a text it never makes.
  if (pad >= kBlock) return std::nullopt;
  return out;
}

std::string ServerValueP(std::string_view answer) {
  std::string_view rest = answer;
  std::string_view field;
  for (int i = 0; i < 5; ++i) {
    const std::size_t bar = rest.find('|');
    if (bar == std::string_view::npos) {
      field = {};  // no separator left: the field is empty and the rest stays
      continue;
    }
    field = rest.substr(0, bar);
    rest.remove_prefix(bar + 1);
  }
  return std::string(field);
}

}  // namespace trakvolt
