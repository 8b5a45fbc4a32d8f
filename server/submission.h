// Checking a submission's "inf" text: the game's encoding and exactly the game's payload.
#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "persist/score_payload.h"

namespace trakvolt::server {

// The longest encoded payload taken: the game's fields at their longest come to about 350
// symbols.
inline constexpr std::size_t kMaxEncodedPayload = 512;
// Name and country at most this many cp1251 bytes each: what the game sends at most.
inline constexpr std::size_t kMaxTextBytes = kMaxSentTextBytes;

// Why a submission was refused (shown to the client as the answer's text).
struct Refusal {
  std::string reason;
};

// The decoded result when `inf` is exactly what the game sends: the known symbols, the fields
// in the game's order with nothing missing, repeated or added, the agreed key, a token-shaped
// P, a name and a country of at most 64 typeable bytes, and a score from 0 up.
std::variant<ScoreSubmission, Refusal> CheckSubmission(std::string_view inf);

// Whether a cp1251 text holds only what a player can type into the name field: Latin and
// Cyrillic capitals and the space.
bool IsTypeableText(std::string_view cp1251);

}  // namespace trakvolt::server
