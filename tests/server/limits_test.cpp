// The abuse limits: request rates per address, unused tokens per address with expired ones
// purged, the client's address behind a trusted proxy.
#include <gtest/gtest.h>

#include <vector>

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

TEST_F(ScoreServerTest, SubmissionsBeyondTheRateAreRefusedAndStoreNothing) {
  options.submit_rate = 60;
  options.submit_burst = 2;
  Start();
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(SubmitPayload(BuildScorePayload({"ACE", i, kScoreKey, Token(), ""})).status, 200);
  const std::string token = Token();
  const std::string payload = BuildScorePayload({"ACE", 9, kScoreKey, token, ""});
  EXPECT_EQ(SubmitPayload(payload).status, 429);
  EXPECT_EQ(store->Count(), 2);
  AdvanceSeconds(1);
  EXPECT_EQ(SubmitPayload(payload).status, 200);  // the refused request did not use the token
}

TEST_F(ScoreServerTest, UnusedTokensPerAddressAreCappedAndExpiredOnesPurged) {
  options.tokens_per_address = 3;
  options.token_ttl_seconds = 60;
  Start();
  std::vector<std::string> tokens;
  for (int i = 0; i < 3; ++i) tokens.push_back(Token());
  const HttpAnswer over = Get(kCheck);
  EXPECT_EQ(over.status, 429);
  EXPECT_FALSE(over.body.starts_with("OK"));
  // Using one frees its place.
  EXPECT_EQ(SubmitPayload(BuildScorePayload({"ACE", 1, kScoreKey, tokens[0], ""})).status, 200);
  EXPECT_EQ(Get(kCheck).status, 200);
  // Once expired, they are purged and count no more.
  AdvanceSeconds(60);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Get(kCheck).status, 200);
  EXPECT_EQ(Get(kCheck).status, 429);
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
  return StatusOf(c.ReadUntilClosed(5000, closed));
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
