// Submission checks over the game's own payload code.
#include "submission.h"

#include "tokens.h"

namespace trakvolt::server {

bool IsTypeableText(std::string_view cp1251) {
  // The game's own reduction keeps exactly the typeable bytes; anything it would change or
  // drop was not typed in the game.
  return SendableText(cp1251) == cp1251;
}

std::variant<ScoreSubmission, Refusal> CheckSubmission(std::string_view inf) {
  if (inf.empty()) return Refusal{"missing payload"};
  if (inf.size() > kMaxEncodedPayload) return Refusal{"payload too long"};
  const auto bytes = DecodeScorePayload(inf);
  if (!bytes) return Refusal{"bad encoding"};
  auto parsed = ParseScorePayload(*bytes);
  // Re-building must give the very bytes received: this rejects missing, reordered, repeated
  // and extra fields, stray padding and any text the game would not send.
  if (!parsed || BuildScorePayload(*parsed) != *bytes) return Refusal{"bad payload"};
  ScoreSubmission& s = *parsed;
  if (s.key != kScoreKey) return Refusal{"bad key"};
  if (s.score < 0) return Refusal{"bad score"};
  if (s.name.size() > kMaxTextBytes || s.country.size() > kMaxTextBytes ||
      !IsTypeableText(s.name) || !IsTypeableText(s.country))
    return Refusal{"bad name or country"};
  if (!LooksLikeToken(s.p)) return Refusal{"unknown token"};
  return std::move(s);
}

}  // namespace trakvolt::server
