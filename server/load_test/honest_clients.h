// The honest players: an availability check and a submission of one result, as the game
// makes them, each result told apart by its score.
#pragma once

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace trakvolt::load {

using Clock = std::chrono::steady_clock;

// Every honest result is from here, so the results stored before a run never mix with them.
inline constexpr const char* kHonestCountry = "LATVIA";

struct HonestTally {
  std::mutex mutex;
  std::vector<int> ok;           // scores answered "OK"
  std::vector<double> millis;    // check and submit, for each OK, in milliseconds
  std::map<long, int> statuses;  // every status seen (0: no answer)
  int pairs = 0;                 // checks and submissions begun
  int missed_turns = 0;          // turns a player lost waiting for its previous pair
  int unanswered = 0;            // requests with no answer within the time-out
  int refused = 0;               // requests answered but not with 200 and "OK"
};

// Tries of one result in the plain run while the server cannot be reached: 20 ms apart, 5 s
// in all.
inline constexpr int kAttempts = 250;

// Plain run: takes result numbers from `next` until `requests` are done, as fast as the
// server answers, on one kept-alive connection; a request that found no server (killed, not
// yet back on `port`) is tried again.
void FastClient(int requests, std::atomic<int>& next, const std::atomic<int>& port,
                HonestTally& tally);

// Under attack: one player from `source` who, from `first` until `end`, checks and submits a
// result every `pace`, each pair on a fresh connection with the game's time-outs (3 s to
// connect, 5 s a request) and no retry.
void PacedPlayer(const std::string& source, int port, Clock::time_point first,
                 Clock::time_point end, Clock::duration pace, std::atomic<int>& next_score,
                 HonestTally& tally);

}  // namespace trakvolt::load
