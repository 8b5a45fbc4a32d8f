// The score server: its address, the three addresses made from it, and sending a result with
// the availability check before it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace trakvolt {

// "host:port" of the score server as the build set it.
std::string DefaultScoreServer();

// The availability check, the submission of an encoded payload and the online table page.
std::string AvailabilityUrl(const std::string& server);
std::string SubmissionUrl(const std::string& server, const std::string& encoded_payload);
std::string OnlineTableUrl(const std::string& server);
// The game's own page, the one the "website.url" shortcut beside the game opens.
std::string WebsiteUrl(const std::string& server);

// The one message the player sees (UTF-8), for a check that failed.
inline constexpr const char* kNoConnectionText = "Не могу соединиться с сервером!";

// A GET returning the answer's body; every failure is thrown.
using FetchUrl = std::function<std::string(const std::string& url)>;

enum class SendOutcome {
  NoConnection,  // the check failed or its answer was not "OK...": nothing was sent
  Sent,          // the submission was answered (its answer is ignored)
  SubmitFailed,  // the submission failed; the player is not told
};

// Asks the server whether it is there, takes P from its answer and sends the result. An
// answer that does not begin with "OK", or whose P is longer than 64 bytes, counts as no
// connection. Fetch errors are caught here.
SendOutcome SendResults(const FetchUrl& fetch, const std::string& server,
                        const std::string& player_name, std::int32_t score,
                        const std::string& country);

}  // namespace trakvolt
