// Fuzzes the score server's reading of a submission: the symbol decoder, the payload parser and
// the server's checks. Anything accepted must round-trip and hold only what the game sends.
#include "persist/score_payload.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>

#include "submission.h"

using namespace trakvolt;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // The input as the symbols of a request.
  const auto checked = server::CheckSubmission(text);
  if (const auto* s = std::get_if<ScoreSubmission>(&checked)) {
    const auto bytes = DecodeScorePayload(text);
    if (!bytes || BuildScorePayload(*s) != *bytes || EncodeScorePayload(*bytes) != text)
      std::abort();
    if (s->score < 0 || s->key != kScoreKey || s->name.size() > server::kMaxTextBytes ||
        s->country.size() > server::kMaxTextBytes || !server::IsTypeableText(s->name) ||
        !server::IsTypeableText(s->country))
      std::abort();
  }
  // The input as payload bytes: what parses and rebuilds the same must parse the same again.
  if (const auto parsed = ParseScorePayload(text)) {
    const std::string rebuilt = BuildScorePayload(*parsed);
    if (rebuilt == text) {
      const auto again = ParseScorePayload(DecodeScorePayload(EncodeScorePayload(rebuilt)).value());
      if (!again || !(*again == *parsed)) std::abort();
    }
  }
  return 0;
}
