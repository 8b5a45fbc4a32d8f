// trakvolt-scores-load: starts the score server on a free loopback port and measures how long
// an honest player's availability check and submission take, plainly or while the server is
// attacked, and checks that every result answered "OK" is stored exactly once. --help tells
// the runs apart.
#include <curl/curl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "honest_clients.h"
#include "http_get.h"
#include "load_options.h"
#include "page_attack.h"
#include "score_store.h"
#include "server_process.h"
#include "slow_attack.h"
#include "table_fill.h"

namespace trakvolt::load {
namespace {

// The server's default rates per address a minute: checks and submissions.
constexpr double kDefaultCheckRate = 120;
constexpr double kDefaultSubmitRate = 60;

// The plain run measures the server's own work: every limit of the server off.
const std::vector<std::string> kUnlimited = {"--check-rate",
                                             "0",
                                             "--submit-rate",
                                             "0",
                                             "--tokens-per-address",
                                             "1000000",
                                             "--max-connections",
                                             "1000",
                                             "--max-connections-per-ip",
                                             "0",
                                             "--threads",
                                             "8"};

std::vector<std::string> ServerArgs(const LoadSettings& s, const std::string& db, int port,
                                    bool unlimited) {
  std::vector<std::string> args = {"--listen", "127.0.0.1:" + std::to_string(port), "--db", db};
  if (unlimited) args.insert(args.end(), kUnlimited.begin(), kUnlimited.end());
  args.insert(args.end(), s.server_args.begin(), s.server_args.end());
  return args;
}

double Percentile(std::vector<double> sorted, double p) {
  if (sorted.empty()) return 0;
  std::sort(sorted.begin(), sorted.end());
  return sorted[static_cast<std::size_t>(p * static_cast<double>(sorted.size() - 1))];
}

struct StoreCheck {
  int missing = 0;
  int doubled = 0;
  int server_errors = 0;
};

// Every "OK" stored exactly once: the honest results are told apart by their score.
StoreCheck CheckStored(const std::string& db, const HonestTally& tally, int most) {
  const auto store = server::OpenScoreStore(db);
  std::map<int, int> stored;
  for (const auto& row : store->Top(most, kHonestCountry)) ++stored[row.score];
  StoreCheck c;
  for (const int score : tally.ok) {
    if (stored[score] == 0) ++c.missing;
    if (stored[score] > 1) ++c.doubled;
  }
  for (const auto& [status, n] : tally.statuses)
    if (status >= 500) c.server_errors += n;
  return c;
}

void PrintStatuses(const char* label, const std::map<long, int>& statuses) {
  std::printf("%s:", label);
  for (const auto& [status, n] : statuses) std::printf(" %ld x%d", status, n);
  std::printf("\n");
}

int PlainRun(const LoadSettings& s, const std::string& db) {
  HonestTally tally;
  double seconds = 0;
  {
    auto server = std::make_unique<ServerProcess>(s.server, ServerArgs(s, db, 0, true));
    std::atomic<int> port{server->Port()};
    std::atomic<int> next{0};
    const auto start = Clock::now();
    std::vector<std::thread> clients;
    for (int i = 0; i < s.clients; ++i)
      clients.emplace_back([&] { FastClient(s.requests, next, port, tally); });
    if (s.kill) {
      while (next < s.requests / 2) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      server->Stop(SIGKILL);
      server = std::make_unique<ServerProcess>(s.server, ServerArgs(s, db, port, true));
    }
    for (auto& t : clients) t.join();
    seconds = std::chrono::duration<double>(Clock::now() - start).count();
  }
  const StoreCheck c = CheckStored(db, tally, s.requests * kAttempts);
  std::printf(
      "%d submissions from %d clients%s: %zu OK, %.1f s, %.0f per second, "
      "p50 %.1f ms, p99 %.1f ms\n",
      s.requests, s.clients, s.kill ? " (server killed halfway)" : "", tally.ok.size(), seconds,
      static_cast<double>(tally.ok.size()) / seconds, Percentile(tally.millis, 0.5),
      Percentile(tally.millis, 0.99));
  PrintStatuses("statuses", tally.statuses);
  std::printf("missing %d, doubled %d, 5xx %d\n", c.missing, c.doubled, c.server_errors);
  // Without a kill every request must have been answered OK.
  const bool all_ok = s.kill || static_cast<int>(tally.ok.size()) == s.requests;
  return c.missing == 0 && c.doubled == 0 && c.server_errors == 0 && all_ok ? 0 : 1;
}

int AttackRun(const LoadSettings& s, const std::string& db, const std::filesystem::path& dir) {
  const char* name = s.attack == Attack::Slowloris ? "slowloris" : "pages";
  if (s.attack == Attack::Pages) {
    const auto start = Clock::now();
    FillTable(db, s.rows);
    std::printf("table filled with %ld results over %d countries in %.1f s\n", s.rows,
                kFilledCountries, std::chrono::duration<double>(Clock::now() - start).count());
  }
  const double per_address = (s.one_honest_address ? s.clients : 1) * 60.0 / s.pace_seconds;
  if (per_address > std::min(kDefaultCheckRate, kDefaultSubmitRate))
    std::fprintf(stderr,
                 "warning: %.0f checks and submissions a minute from one address, over the "
                 "server's default rates (%.0f checks, %.0f submissions)\n",
                 per_address, kDefaultCheckRate, kDefaultSubmitRate);
  const std::string log = (dir / "server.log").string();
  HonestTally tally;
  std::map<long, long> page_answers;
  SlowAttackCounts slow;
  std::atomic<int> next_score{1};
  {
    ServerProcess server(s.server, ServerArgs(s, db, 0, false), log);
    const int port = server.Port();
    std::unique_ptr<SlowAttack> slow_attack;
    std::unique_ptr<PageAttack> page_attack;
    if (s.attack == Attack::Slowloris) {
      slow_attack = std::make_unique<SlowAttack>(port, 2, 17, 16, std::chrono::seconds(3));
      // One interval, so every slow connection is open before the players begin.
      std::this_thread::sleep_for(std::chrono::seconds(3));
    } else {
      page_attack = std::make_unique<PageAttack>(port, 2, 4);
      std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    const auto start = Clock::now();
    const auto end = start + std::chrono::seconds(s.seconds);
    const auto pace =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(s.pace_seconds));
    std::vector<std::thread> players;
    for (int i = 0; i < s.clients; ++i) {
      const std::string source = s.one_honest_address ? "127.0.0.1" : OwnAddress(i);
      // The players' turns spread evenly over one pace.
      const auto first = start + pace * i / s.clients;
      players.emplace_back(
          [&, source, first] { PacedPlayer(source, port, first, end, pace, next_score, tally); });
    }
    for (auto& t : players) t.join();
    if (slow_attack) slow = slow_attack->Stop();
    if (page_attack) page_answers = page_attack->Stop();
  }
  const StoreCheck c = CheckStored(db, tally, next_score.load());
  std::printf(
      "%s: %d honest players from %s, a check and a submission each every %.1f s for %d s\n", name,
      s.clients,
      s.one_honest_address
          ? "127.0.0.1"
          : ("127.0.1.1 on, one address each (" + OwnAddress(s.clients - 1) + " the last)").c_str(),
      s.pace_seconds, s.seconds);
  std::printf(
      "honest: %d pairs (%d turns missed waiting for the pair before), %zu OK, p50 %.1f ms, p99 "
      "%.1f ms\n",
      tally.pairs, tally.missed_turns, tally.ok.size(), Percentile(tally.millis, 0.5),
      Percentile(tally.millis, 0.99));
  int requests = 0;
  for (const auto& [status, n] : tally.statuses) requests += n;
  std::printf("honest requests: %d, no answer within 5 s %d, refused %d\n", requests,
              tally.unanswered, tally.refused);
  PrintStatuses("honest statuses", tally.statuses);
  if (s.attack == Attack::Slowloris) {
    std::printf(
        "slow connections (17 addresses x 16): opened %ld, closed by the server %ld (%ld of them "
        "after an answer), open at the end %ld, %ld bytes sent\n",
        slow.opened, slow.closed_by_server, slow.closed_with_answer, slow.open_at_end,
        slow.bytes_sent);
  } else {
    long ok = 0, limited = 0, other = 0;
    for (const auto& [status, n] : page_answers)
      (status == 200 ? ok : status == 429 ? limited : other) += n;
    std::printf("page clients (4 addresses): 200 x%ld, 429 x%ld, other x%ld;", ok, limited, other);
    for (const auto& [status, n] : page_answers) std::printf(" %ld x%ld", status, n);
    std::printf("\n");
  }
  std::ifstream log_in(log);
  long log_lines = 0;
  std::string first_line;
  for (std::string line; std::getline(log_in, line);)
    if (log_lines++ == 0) first_line = line;
  std::printf("server log: %ld lines%s%s\n", log_lines, log_lines > 0 ? ", the first: " : "",
              first_line.c_str());
  std::printf("missing %d, doubled %d, 5xx %d\n", c.missing, c.doubled, c.server_errors);
  const bool all_ok = static_cast<int>(tally.ok.size()) == tally.pairs && tally.pairs > 0;
  return c.missing == 0 && c.doubled == 0 && c.server_errors == 0 && all_ok ? 0 : 1;
}

int Run(const LoadSettings& s) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("trakvolt-load-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  // Every stored result is counted, so a given database must be empty.
  const std::string db = s.db.empty() ? (dir / "scores.db").string() : s.db;
  int rc = 1;
  try {
    if (server::OpenScoreStore(db)->Count() != 0)
      throw std::runtime_error("the database " + db + " holds results already; give an empty one");
    rc = s.attack == Attack::None ? PlainRun(s, db) : AttackRun(s, db, dir);
  } catch (...) {
    std::filesystem::remove_all(dir);
    throw;
  }
  std::filesystem::remove_all(dir);
  return rc;
}

}  // namespace
}  // namespace trakvolt::load

int main(int argc, char** argv) {
  using namespace trakvolt::load;
  const auto parsed = ParseLoadOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.settings) {
    std::fputs(parsed.message.c_str(), parsed.help ? stdout : stderr);
    if (!parsed.help) std::fputs("\nTry --help.\n", stderr);
    return parsed.help ? 0 : 2;
  }
  signal(SIGPIPE, SIG_IGN);
  curl_global_init(CURL_GLOBAL_ALL);
  try {
    const int rc = Run(*parsed.settings);
    curl_global_cleanup();
    return rc;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "trakvolt-scores-load: %s\n", e.what());
    return 1;
  }
}
