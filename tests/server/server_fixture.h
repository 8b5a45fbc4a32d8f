// A score server on a free loopback port over a fresh SQLite file (or, when
// TRAKVOLT_TEST_PG_HOST names the socket folder of a PostgreSQL server, a fresh database there),
// with a clock the test moves, and a plain HTTP GET that reports the status as well as the body.
#pragma once

#include <curl/curl.h>
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "http_server.h"
#include "persist/score_payload.h"
#include "routes.h"
#include "score_store.h"
#include "table_fill.h"

namespace trakvolt::server::testing {

struct HttpAnswer {
  long status = 0;  // 0 when the request failed
  std::string body;
  std::string headers;
};

inline std::size_t AppendTo(char* data, std::size_t size, std::size_t n, void* out) {
  static_cast<std::string*>(out)->append(data, size * n);
  return size * n;
}

// A GET (or with `head`, a HEAD) from the loopback source address `from` when given (all of
// 127.0.0.0/8 is this machine, so tests can play many clients).
inline HttpAnswer HttpGet(const std::string& url, long timeout_ms = 5000,
                          const std::string& from = "", bool head = false) {
  HttpAnswer a;
  CURL* c = curl_easy_init();
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  if (!from.empty()) curl_easy_setopt(c, CURLOPT_INTERFACE, ("host!" + from).c_str());
  if (head) curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
  curl_easy_setopt(c, CURLOPT_NOPROXY, "*");
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, timeout_ms);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &AppendTo);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &a.body);
  curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &AppendTo);
  curl_easy_setopt(c, CURLOPT_HEADERDATA, &a.headers);
  if (curl_easy_perform(c) == CURLE_OK) curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &a.status);
  curl_easy_cleanup(c);
  return a;
}

class ScoreServerTest : public ::testing::Test {
 protected:
  // Generous limits unless a test sets its own before Start().
  ScoreServerTest() {
    options.listen_port = 0;
    options.check_rate = 0;
    options.submit_rate = 0;
    options.tokens_per_address = 1000;
    dir = std::filesystem::temp_directory_path() /
          ("trakvolt-scores-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    db = (dir / "scores.db").string();
    if (const char* pg = std::getenv("TRAKVOLT_TEST_PG_HOST")) db = FreshPgDatabase(pg);
  }
  ~ScoreServerTest() override {
    server.reset();
    service.reset();
    store.reset();
    std::filesystem::remove_all(dir);
  }
  void Start() {
    store = OpenScoreStore(db);
    service = std::make_unique<ScoreService>(options, *store, [this] { return now_ms.load(); });
    server = std::make_unique<HttpServer>(options, *service);
  }
  std::string Host() const { return "127.0.0.1:" + std::to_string(server->Port()); }
  std::string Url(const std::string& target) const { return "http://" + Host() + target; }
  HttpAnswer Get(const std::string& target) const { return HttpGet(Url(target)); }
  // A fresh token from the availability check.
  std::string Token() const {
    const HttpAnswer a = Get("/cgi/version.pl?version&prg=Trakvolt");
    EXPECT_EQ(a.status, 200);
    return ServerValueP(a.body);
  }
  HttpAnswer SubmitPayload(const std::string& payload) const {
    return Get("/cgi/version.pl?hs&prg=Trakvolt&inf=" + EncodeScorePayload(payload));
  }
  void AdvanceSeconds(int s) { now_ms += std::int64_t{s} * 1000; }

  // `n` results put straight into the database, as a long-running server would hold them
  // (the load tool's fill: countries FilledCountry(0..299), scores below 1,000,003).
  void FillScores(long n) const { load::FillTable(db, n); }

  // A new, empty database on the PostgreSQL server whose socket is in `host`.
  static std::string FreshPgDatabase(const std::string& host) {
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string name =
        "t" + std::to_string(::getpid()) + "_" + std::to_string(std::hash<std::string>{}(test));
    PGconn* admin = PQconnectdb(("postgresql://trakvolt@/postgres?host=" + host).c_str());
    PGresult* r = PQexec(admin, ("CREATE DATABASE " + name).c_str());
    EXPECT_EQ(PQresultStatus(r), PGRES_COMMAND_OK) << PQerrorMessage(admin);
    PQclear(r);
    PQfinish(admin);
    return "postgresql://trakvolt@/" + name + "?host=" + host;
  }

  ServerOptions options;
  std::filesystem::path dir;
  std::string db;
  std::atomic<std::int64_t> now_ms{1'800'000'000'000};
  std::unique_ptr<ScoreStore> store;
  std::unique_ptr<ScoreService> service;
  std::unique_ptr<HttpServer> server;
};

}  // namespace trakvolt::server::testing
