// Addresses of the score server and the sending of a result.
#include "persist/online_service.h"

#include <exception>

#include "persist/score_payload.h"
#include "platform/platform.h"

// The build sets the address (one setting for the whole game).
#ifndef TRAKVOLT_SCORE_SERVER
#error "TRAKVOLT_SCORE_SERVER must be set by the build"
#endif

namespace trakvolt {
namespace {

constexpr std::size_t kMaxServerValue = 64;

std::string ScriptUrl(const std::string& server, const std::string& query) {
  return "http://" + server + "/cgi/version.pl?" + query;
}

// The answer's body, or empty for any failure.
std::string FetchOrEmpty(const FetchUrl& fetch, const std::string& url) {
  try {
    return fetch(url);
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace

std::string DefaultScoreServer() { return TRAKVOLT_SCORE_SERVER; }

std::string AvailabilityUrl(const std::string& server) {
  return ScriptUrl(server, "version&prg=Trakvolt");
}
std::string SubmissionUrl(const std::string& server, const std::string& encoded_payload) {
  return ScriptUrl(server, "hs&prg=Trakvolt&inf=" + encoded_payload);
}
std::string OnlineTableUrl(const std::string& server) {
  return ScriptUrl(server, "prg=Trakvolt&show&type=0");
}
std::string WebsiteUrl(const std::string& server) { return "http://" + server + "/"; }

SendOutcome SendResults(const FetchUrl& fetch, const std::string& server,
                        const std::string& player_name, std::int32_t score,
                        const std::string& country) {
  const std::string answer = FetchOrEmpty(fetch, AvailabilityUrl(server));
  if (!answer.starts_with("OK")) return SendOutcome::NoConnection;
  ScoreSubmission s;
  s.name = player_name;
  s.score = score;
  s.key = kScoreKey;
  s.p = ServerValueP(answer);
  if (s.p.size() > kMaxServerValue) return SendOutcome::NoConnection;
  s.country = country;
  const std::string url = SubmissionUrl(server, EncodeScorePayload(BuildScorePayload(s)));
  std::string reply;
  try {
    reply = fetch(url);
  } catch (const platform::HttpStatusError&) {
    return SendOutcome::Refused;
  } catch (const std::exception&) {
    return SendOutcome::SubmitFailed;
  }
  return reply.starts_with("OK") ? SendOutcome::Sent : SendOutcome::Refused;
}

}  // namespace trakvolt
