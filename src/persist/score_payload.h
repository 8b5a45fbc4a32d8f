// The result the game sends to the score server: the payload text with its fields and padding,
// the 5-bit symbol encoding that carries it in a URL, and the way back for the server's side.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trakvolt {

// One sent result. Texts are cp1251 bytes.
struct ScoreSubmission {
  std::string name;
  std::int32_t score = 0;
  char key = 'T';
  std::string p;  // the value the availability answer handed out
  std::string country;
  bool operator==(const ScoreSubmission&) const = default;
};

// The fixed key letter the score server expects.
inline constexpr char kScoreKey = 'T';

// The longest name and country sent, in cp1251 bytes (one byte a letter). The score server
// takes no more, so a longer text (a hand-edited options file) is cut to this when sent; the
// options file keeps it whole.
inline constexpr std::size_t kMaxSentTextBytes = 64;

// Names and countries as the name field admits them: Latin and Cyrillic letters in capitals
// and the space; everything else (digits, punctuation, "|", "=") is dropped, so that a field
// can never add or override another. An empty text stays empty.
std::string SendableText(std::string_view text);

// "type=0|name=..|score=..|key=..|p=..|add=..|z=" and as many "0" as make the length a
// multiple of 5. The name and the country are made sendable first, then cut to
// kMaxSentTextBytes.
std::string BuildScorePayload(const ScoreSubmission& s);
// The fields of a payload that BuildScorePayload made; nothing for any other text.
std::optional<ScoreSubmission> ParseScorePayload(std::string_view payload);

// Bytes to symbols of "QWERTYUPASDFGHKLZXCVBNM23456789J", 5 bits each (the bit text is padded
// on the left to a multiple of 5): 5 bytes become 8 symbols.
std::string EncodeScorePayload(std::string_view bytes);
// The bytes back; nothing when a symbol is not in the table or the padding bits are not zero.
std::optional<std::string> DecodeScorePayload(std::string_view symbols);

// The server value P of an availability answer that begins with "OK": the fifth field of the
// "|"-separated answer ("OK" is the first); empty when the answer has fewer fields.
std::string ServerValueP(std::string_view answer);

}  // namespace trakvolt
