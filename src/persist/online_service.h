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

// The messages the player sees (UTF-8): for a check that failed, and for a result the server
// answered without storing it.
inline constexpr const char* kNoConnectionText = "Не могу соединиться с сервером!";
inline constexpr const char* kNotStoredText = "Сервер не принял результат!";

// A GET returning the answer's body; every failure is thrown, an error status as
// platform::HttpStatusError.
using FetchUrl = std::function<std::string(const std::string& url)>;

enum class SendOutcome {
  NoConnection,  // the check failed or its answer was not "OK...": nothing was sent
  Sent,          // the submission was answered "OK...": the server has stored the result
  Refused,       // the server answered the submission otherwise, or with an error status
  SubmitFailed,  // the submission got no whole answer (no connection, cut off, timed out)
};

// Asks the server whether it is there, takes P from its answer and sends the result. An
// answer that does not begin with "OK", or whose P is longer than 64 bytes, counts as no
// connection. The score server answers "OK" only once the result is stored, so any other
// answer to the submission is a refusal. Fetch errors are caught here.
SendOutcome SendResults(const FetchUrl& fetch, const std::string& server,
                        const std::string& player_name, std::int32_t score,
                        const std::string& country);

}  // namespace trakvolt
