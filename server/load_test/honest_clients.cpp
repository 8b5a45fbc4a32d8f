// The honest players' check and submission.
#include "honest_clients.h"

#include <thread>

#include "http_get.h"
#include "persist/score_payload.h"

namespace trakvolt::load {
namespace {

// A distinct typeable name for each result.
std::string NameOf(int i) {
  std::string name = "LOAD ";
  do {
    name += static_cast<char>('A' + i % 26);
    i /= 26;
  } while (i > 0);
  return name;
}

std::string CheckUrl(const std::string& host) {
  return host + "/cgi/version.pl?version&prg=Trakvolt";
}

std::string SubmitUrl(const std::string& host, int score, const std::string& check_answer) {
  const trakvolt::ScoreSubmission sub{NameOf(score), score, trakvolt::kScoreKey,
                                      trakvolt::ServerValueP(check_answer), kHonestCountry};
  return host + "/cgi/version.pl?hs&prg=Trakvolt&inf=" +
         trakvolt::EncodeScorePayload(trakvolt::BuildScorePayload(sub));
}

double MillisSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

void FastClient(int requests, std::atomic<int>& next, const std::atomic<int>& port,
                HonestTally& tally) {
  const CurlHandle handle = MakeHandle({}, 10000, 10000);
  CURL* c = handle.get();
  HonestTally mine;
  std::string body;
  for (int i = next++; i < requests; i = next++) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
      if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
      const std::string host = "http://127.0.0.1:" + std::to_string(port.load());
      const auto start = Clock::now();
      const long check = Get(c, CheckUrl(host), body);
      ++mine.statuses[check];
      if (check == 0) continue;
      if (check != 200 || !body.starts_with("OK")) break;
      // Each try is its own result (a try cut off after the server stored it stays stored).
      const int score = i * kAttempts + attempt;
      const long submit = Get(c, SubmitUrl(host, score, body), body);
      ++mine.statuses[submit];
      if (submit == 0) continue;
      if (submit == 200 && body == "OK") {
        mine.ok.push_back(score);
        mine.millis.push_back(MillisSince(start));
      }
      break;
    }
  }
  std::lock_guard lock(tally.mutex);
  tally.ok.insert(tally.ok.end(), mine.ok.begin(), mine.ok.end());
  tally.millis.insert(tally.millis.end(), mine.millis.begin(), mine.millis.end());
  for (const auto& [k, v] : mine.statuses) tally.statuses[k] += v;
}

void PacedPlayer(const std::string& source, int port, Clock::time_point first,
                 Clock::time_point end, Clock::duration pace, std::atomic<int>& next_score,
                 HonestTally& tally) {
  const std::string host = "http://127.0.0.1:" + std::to_string(port);
  HonestTally mine;
  std::string body;
  // A long answer delays the next pair; the lost turns are skipped, not made up in a burst.
  for (auto at = first; at < end; at += pace) {
    if (Clock::now() > at + pace) {
      ++mine.missed_turns;
      continue;
    }
    std::this_thread::sleep_until(at);
    const CurlHandle handle = MakeHandle(source, 3000, 5000);
    ++mine.pairs;
    const auto start = Clock::now();
    const long check = Get(handle.get(), CheckUrl(host), body);
    ++mine.statuses[check];
    if (check == 0) {
      ++mine.unanswered;
      continue;
    }
    if (check != 200 || !body.starts_with("OK")) {
      ++mine.refused;
      continue;
    }
    const int score = next_score++;
    const long submit = Get(handle.get(), SubmitUrl(host, score, body), body);
    ++mine.statuses[submit];
    if (submit == 0) {
      // Perhaps stored: the score stays out of the "OK" list, so it is not counted either way.
      ++mine.unanswered;
    } else if (submit == 200 && body == "OK") {
      mine.ok.push_back(score);
      mine.millis.push_back(MillisSince(start));
    } else {
      ++mine.refused;
    }
  }
  std::lock_guard lock(tally.mutex);
  tally.ok.insert(tally.ok.end(), mine.ok.begin(), mine.ok.end());
  tally.millis.insert(tally.millis.end(), mine.millis.begin(), mine.millis.end());
  for (const auto& [k, v] : mine.statuses) tally.statuses[k] += v;
  tally.pairs += mine.pairs;
  tally.missed_turns += mine.missed_turns;
  tally.unanswered += mine.unanswered;
  tally.refused += mine.refused;
}

}  // namespace trakvolt::load
