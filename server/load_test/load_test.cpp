// trakvolt-scores-load: starts the score server on a free loopback port over a fresh SQLite
// file, makes N availability checks and submissions from many concurrent clients, and checks
// that every result answered "OK" is stored exactly once and that no request got a 5xx. With
// --kill the server is killed (SIGKILL) halfway and started again on the same database.
// Prints the throughput and the p50/p99 time of one check-and-submit.
#include <curl/curl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "persist/score_payload.h"
#include "score_store.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
// Tries of one result while the server cannot be reached: 20 ms apart, 5 s in all.
constexpr int kAttempts = 250;

struct Settings {
  std::string server;
  int requests = 1000;
  int clients = 50;
  bool kill = false;
  std::string db;  // empty: a fresh SQLite file in a temporary folder
};

// The server as a child process; its first line of output names the port.
class ServerProcess {
 public:
  ServerProcess(const std::string& program, const std::string& db, int port) {
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string listen = "127.0.0.1:" + std::to_string(port);
    std::vector<std::string> args = {program,   "--listen",
                                     listen,    "--db",
                                     db,        "--check-rate",
                                     "0",       "--submit-rate",
                                     "0",       "--tokens-per-address",
                                     "1000000", "--max-connections",
                                     "1000",    "--max-connections-per-ip",
                                     "0",       "--threads",
                                     "8"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const int rc = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0) {
      close(out[0]);
      throw std::runtime_error("cannot start " + program);
    }
    std::string line;
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
    close(out[0]);
    const auto colon = line.rfind(':');
    if (colon == std::string::npos) throw std::runtime_error("server did not start: " + line);
    port_ = std::stoi(line.substr(colon + 1));
  }
  ~ServerProcess() { Stop(SIGTERM); }
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;
  int Port() const { return port_; }
  void Stop(int sig) {
    if (pid_ <= 0) return;
    kill(pid_, sig);
    waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }

 private:
  pid_t pid_ = 0;
  int port_ = 0;
};

std::size_t Append(char* data, std::size_t size, std::size_t n, void* out) {
  static_cast<std::string*>(out)->append(data, size * n);
  return size * n;
}

// One GET on a kept-alive handle: the status (0 when it failed) and the body.
long Get(CURL* c, const std::string& url, std::string& body) {
  body.clear();
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
  long status = 0;
  if (curl_easy_perform(c) == CURLE_OK) curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
  return status;
}

// A distinct typeable name for each result.
std::string NameOf(int i) {
  std::string name = "LOAD ";
  do {
    name += static_cast<char>('A' + i % 26);
    i /= 26;
  } while (i > 0);
  return name;
}

struct Tally {
  std::mutex mutex;
  std::vector<int> ok;           // scores answered "OK"
  std::vector<double> millis;    // check and submit, for each OK
  std::map<long, int> statuses;  // every status seen (0: no answer)
};

void Client(const Settings& s, std::atomic<int>& next, std::atomic<int>& port, Tally& tally) {
  CURL* c = curl_easy_init();
  curl_easy_setopt(c, CURLOPT_NOPROXY, "*");
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, 10000L);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &Append);
  std::vector<int> ok;
  std::vector<double> millis;
  std::map<long, int> statuses;
  std::string body;
  for (int i = next++; i < s.requests; i = next++) {
    // A request that found no server (killed, not yet back) is tried again, a bounded number
    // of times, so that the restarted server takes the rest.
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
      if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
      const std::string host = "http://127.0.0.1:" + std::to_string(port.load());
      const auto start = Clock::now();
      const long check = Get(c, host + "/cgi/version.pl?version&prg=Trakvolt", body);
      ++statuses[check];
      if (check == 0) continue;
      if (check != 200 || !body.starts_with("OK")) break;
      // Each try is its own result (a try cut off after the server stored it stays stored).
      const int score = i * kAttempts + attempt;
      const trakvolt::ScoreSubmission sub{NameOf(i), score, trakvolt::kScoreKey,
                                          trakvolt::ServerValueP(body), "LATVIA"};
      const long submit = Get(c,
                              host + "/cgi/version.pl?hs&prg=Trakvolt&inf=" +
                                  trakvolt::EncodeScorePayload(trakvolt::BuildScorePayload(sub)),
                              body);
      ++statuses[submit];
      if (submit == 0) continue;
      if (submit == 200 && body == "OK") {
        ok.push_back(score);
        millis.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
      }
      break;
    }
  }
  curl_easy_cleanup(c);
  std::lock_guard lock(tally.mutex);
  tally.ok.insert(tally.ok.end(), ok.begin(), ok.end());
  tally.millis.insert(tally.millis.end(), millis.begin(), millis.end());
  for (const auto& [k, v] : statuses) tally.statuses[k] += v;
}

int Run(const Settings& s) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("trakvolt-load-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  // A postgresql:// database must be fresh too: every stored row is counted.
  const std::string db = s.db.empty() ? (dir / "scores.db").string() : s.db;
  Tally tally;
  double seconds = 0;
  {
    auto server = std::make_unique<ServerProcess>(s.server, db, 0);
    std::atomic<int> port{server->Port()};
    std::atomic<int> next{0};
    const auto start = Clock::now();
    std::vector<std::thread> clients;
    for (int i = 0; i < s.clients; ++i) clients.emplace_back([&] { Client(s, next, port, tally); });
    if (s.kill) {
      while (next < s.requests / 2) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      server->Stop(SIGKILL);
      server = std::make_unique<ServerProcess>(s.server, db, port);
    }
    for (auto& t : clients) t.join();
    seconds = std::chrono::duration<double>(Clock::now() - start).count();
  }
  // Every "OK" stored exactly once: results are told apart by their score.
  const auto store = trakvolt::server::OpenScoreStore(db);
  std::map<int, int> stored;
  for (const auto& row : store->Top(s.requests * kAttempts, "")) ++stored[row.score];
  int missing = 0, doubled = 0;
  for (const int score : tally.ok) {
    if (stored[score] == 0) ++missing;
    if (stored[score] > 1) ++doubled;
  }
  int server_errors = 0;
  for (const auto& [status, n] : tally.statuses)
    if (status >= 500) server_errors += n;
  std::sort(tally.millis.begin(), tally.millis.end());
  const auto pct = [&](double p) {
    return tally.millis.empty() ? 0.0
                                : tally.millis[static_cast<std::size_t>(
                                      p * static_cast<double>(tally.millis.size() - 1))];
  };
  std::printf(
      "%d submissions from %d clients%s: %zu OK, %zu stored, %.1f s, %.0f per second, "
      "p50 %.1f ms, p99 %.1f ms\n",
      s.requests, s.clients, s.kill ? " (server killed halfway)" : "", tally.ok.size(),
      stored.size(), seconds, static_cast<double>(tally.ok.size()) / seconds, pct(0.5), pct(0.99));
  std::printf("statuses:");
  for (const auto& [status, n] : tally.statuses) std::printf(" %ld x%d", status, n);
  std::printf("\nmissing %d, doubled %d, 5xx %d\n", missing, doubled, server_errors);
  std::filesystem::remove_all(dir);
  // Without a kill every request must have been answered OK.
  const bool all_ok = s.kill || static_cast<int>(tally.ok.size()) == s.requests;
  return missing == 0 && doubled == 0 && server_errors == 0 && all_ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  Settings s;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--kill") {
      s.kill = true;
    } else if (i + 1 < argc && a == "--server") {
      s.server = argv[++i];
    } else if (i + 1 < argc && a == "--requests") {
      s.requests = std::clamp(std::atoi(argv[++i]), 1, 1000000);
    } else if (i + 1 < argc && a == "--clients") {
      s.clients = std::clamp(std::atoi(argv[++i]), 1, 500);
    } else if (i + 1 < argc && a == "--db") {
      s.db = argv[++i];
    } else {
      std::fprintf(stderr,
                   "Usage: trakvolt-scores-load --server PATH [--requests N] [--clients N] "
                   "[--kill] [--db SQLITE-FILE|postgresql://...]\n");
      return 2;
    }
  }
  if (s.server.empty()) {
    std::fprintf(stderr, "--server PATH of trakvolt-scores is needed\n");
    return 2;
  }
  signal(SIGPIPE, SIG_IGN);
  curl_global_init(CURL_GLOBAL_ALL);
  try {
    const int rc = Run(s);
    curl_global_cleanup();
    return rc;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "trakvolt-scores-load: %s\n", e.what());
    return 1;
  }
}
