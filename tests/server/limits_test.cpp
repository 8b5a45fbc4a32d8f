// The abuse limits: request rates per address, unused tokens per address, the client's address
// behind a trusted proxy; and what honest players behind one address can do.
#include <gtest/gtest.h>

#include <vector>

#include "persist/online_service.h"
#include "platform/curl_http_client.h"
#include "raw_connection.h"
#include "server_fixture.h"

namespace trakvolt::server::testing {
namespace {

const std::string kCheck = "/cgi/version.pl?version&prg=Trakvolt";

TEST_F(ScoreServerTest, ChecksBeyondTheRateAreRefusedUntilTheBucketRefills) {
  options.check_rate = 60;  // one a second
  options.check_burst = 3;
  Start();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Get(kCheck).status, 200);
  EXPECT_EQ(Get(kCheck).status, 429);
  AdvanceSeconds(1);
  EXPECT_EQ(Get(kCheck).status, 200);
  EXPECT_EQ(Get(kCheck).status, 429);
}

TEST_F(ScoreServerTest, SubmissionsBeyondTheRateNeedAValidToken) {
  options.submit_rate = 60;
  options.submit_burst = 2;
  Start();
  const std::string made_up = "0123456789abcdef0123456789abcdef";
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(SubmitPayload(BuildScorePayload({"ACE", i, kScoreKey, made_up, ""})).status, 403);
  // The bucket is empty: made-up tokens are refused before the database is asked to write...
  EXPECT_EQ(SubmitPayload(BuildScorePayload({"ACE", 3, kScoreKey, made_up, ""})).status, 429);
  // ...but a real result is never lost to the rate: its check was counted.
  EXPECT_EQ(SubmitPayload(BuildScorePayload({"ACE", 9, kScoreKey, Token(), ""})).status, 200);
  EXPECT_EQ(store->Count(), 1);
  AdvanceSeconds(1);
  EXPECT_EQ(SubmitPayload(BuildScorePayload({"ACE", 3, kScoreKey, made_up, ""})).status, 403);
}

TEST_F(ScoreServerTest, ABusyAddressIsNeverLockedOutTheOldestUnusedTokenMakesWay) {
  options.tokens_per_address = 3;
  options.token_ttl_seconds = 60;
  Start();
  std::vector<std::string> tokens;
  for (int i = 0; i < 5; ++i) {
    tokens.push_back(Token());
    AdvanceSeconds(1);
  }
  // The two oldest made way for the newest three.
  EXPECT_EQ(SubmitPayload(BuildScorePayload({"ACE", 1, kScoreKey, tokens[0], ""})).status, 403);
  EXPECT_EQ(SubmitPayload(BuildScorePayload({"ACE", 1, kScoreKey, tokens[1], ""})).status, 403);
  for (int i = 2; i < 5; ++i)
    EXPECT_EQ(SubmitPayload(BuildScorePayload({"ACE", i, kScoreKey, tokens[i], ""})).status, 200);
  EXPECT_EQ(store->Count(), 3);
}

TEST_F(ScoreServerTest, ThirtyPlayersBehindOneAddressEachSendAResultWithinAMinute) {
  options = ServerOptions{};  // the limits a public server starts with
  options.listen_port = 0;
  Start();
  // One of them first leaves forty unused tokens behind, more than the old cap of twenty.
  for (int i = 0; i < 40; ++i) Token();
  platform::CurlHttpClient client;
  const auto fetch = [&](const std::string& url) { return client.Get(url); };
  for (int player = 0; player < 30; ++player) {
    const std::string name = "PLAYER " + std::string(1, static_cast<char>('A' + player % 26)) +
                             std::string(1, static_cast<char>('A' + player / 26));
    EXPECT_EQ(SendResults(fetch, Host(), name, 1000 + player, "LAN"), SendOutcome::Sent) << player;
    AdvanceSeconds(2);
  }
  EXPECT_EQ(store->Count(), 30);
}

TEST_F(ScoreServerTest, TwoServerProcessesOnOnePostgresEnforceOneLimit) {
  options.check_rate = 60;
  options.check_burst = 2;
  Start();
  // A second server with its own store and limits, as a second process behind a load
  // balancer would have: only the database is shared.
  const auto other_store = OpenScoreStore(db);
  ScoreService other_service(options, *other_store, [this] { return now_ms.load(); });
  HttpServer other(options, other_service);
  const std::string other_check =
      "http://127.0.0.1:" + std::to_string(other.Port()) + "/cgi/version.pl?version&prg=Trakvolt";
  EXPECT_EQ(Get(kCheck).status, 200);
  EXPECT_EQ(HttpGet(other_check).status, 200);
  if (!db.starts_with("postgresql://")) {
    // Over SQLite each process counts its own rates, as the help says.
    EXPECT_EQ(Get(kCheck).status, 200);
    EXPECT_EQ(HttpGet(other_check).status, 200);
    EXPECT_EQ(Get(kCheck).status, 429);
    return;
  }
  EXPECT_EQ(Get(kCheck).status, 429);
  EXPECT_EQ(HttpGet(other_check).status, 429);
  AdvanceSeconds(1);
  EXPECT_EQ(HttpGet(other_check).status, 200);
  EXPECT_EQ(Get(kCheck).status, 429);
}

TEST_F(ScoreServerTest, PagesBeyondTheRateAreRefusedWithoutSlowingTheGame) {
  options.page_rate = 60;
  options.page_burst = 3;
  Start();
  for (const char* page : {"/", "/api/scores", "/cgi/version.pl?prg=Trakvolt&show&type=0"})
    EXPECT_EQ(Get(page).status, 200) << page;
  EXPECT_EQ(Get("/api/scores?country=LATVIA").status, 429);
  EXPECT_EQ(Get("/health").status, 429);
  // The game's requests count on their own.
  EXPECT_EQ(SubmitPayload(BuildScorePayload({"ACE", 1, kScoreKey, Token(), ""})).status, 200);
  AdvanceSeconds(1);
  EXPECT_EQ(Get("/api/scores").status, 200);
}

}  // namespace
}  // namespace trakvolt::server::testing

namespace trakvolt::server::testing {
namespace {

// The status of an availability check sent with the given X-Forwarded-For header.
int CheckForwardedFor(std::uint16_t port, const std::string& forwarded) {
  RawConnection c(port);
  c.Send("GET " + kCheck +
         " HTTP/1.1\r\nHost: x\r\nConnection: close\r\nX-Forwarded-For: " + forwarded + "\r\n\r\n");
  bool closed = false;
  const std::string answer = c.ReadUntilClosed(5000, closed);
  return answer.size() > 12 ? std::stoi(answer.substr(9, 3)) : 0;
}

TEST_F(ScoreServerTest, BehindATrustedProxyEachForwardedAddressHasItsOwnLimit) {
  options.check_rate = 60;
  options.check_burst = 1;
  options.trust_proxy = true;
  Start();
  EXPECT_EQ(CheckForwardedFor(server->Port(), "203.0.113.5"), 200);
  EXPECT_EQ(CheckForwardedFor(server->Port(), "203.0.113.5"), 429);
  // Only the last entry, the one the proxy added, counts: a client cannot pick its own.
  EXPECT_EQ(CheckForwardedFor(server->Port(), "198.51.100.1, 203.0.113.5"), 429);
  EXPECT_EQ(CheckForwardedFor(server->Port(), "203.0.113.6"), 200);
}

TEST_F(ScoreServerTest, WithoutTrustTheForwardedHeaderIsIgnored) {
  options.check_rate = 60;
  options.check_burst = 1;
  Start();
  EXPECT_EQ(CheckForwardedFor(server->Port(), "203.0.113.5"), 200);
  EXPECT_EQ(CheckForwardedFor(server->Port(), "203.0.113.6"), 429);
}

}  // namespace
}  // namespace trakvolt::server::testing
