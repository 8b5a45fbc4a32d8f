// The game's client against the real score server: a result sent appears on the page and in
// the JSON, a token works once, expired and unknown tokens are refused, the order of the table.
#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "base/cp1251.h"
#include "persist/online_service.h"
#include "platform/curl_http_client.h"
#include "server_fixture.h"

namespace trakvolt::server::testing {
namespace {

std::string Payload(const std::string& token, const std::string& name = "ACE",
                    std::int32_t score = 100, const std::string& country = "") {
  return BuildScorePayload({name, score, kScoreKey, token, country});
}

TEST_F(ScoreServerTest, ResultSentByTheGameAppearsOnThePageAndInTheJson) {
  Start();
  platform::CurlHttpClient client;
  const auto fetch = [&](const std::string& url) { return client.Get(url); };
  EXPECT_EQ(SendResults(fetch, Host(), Utf8ToCp1251("ИВАН ПЕТРОВ"), 12345, Utf8ToCp1251("РОССИЯ")),
            SendOutcome::Sent);
  EXPECT_EQ(store->Count(), 1);

  const HttpAnswer page = Get("/cgi/version.pl?prg=Trakvolt&show&type=0");
  EXPECT_EQ(page.status, 200);
  EXPECT_NE(page.body.find("<td>ИВАН ПЕТРОВ</td><td class=\"n\">12345</td><td>РОССИЯ</td>"),
            std::string::npos)
      << page.body;
  EXPECT_NE(page.headers.find("Content-Security-Policy: default-src 'none'"), std::string::npos);

  const HttpAnswer json = Get("/api/scores");
  EXPECT_EQ(json.status, 200);
  EXPECT_NE(json.body.find(R"({"rank":1,"name":"ИВАН ПЕТРОВ","score":12345,"country":"РОССИЯ")"),
            std::string::npos)
      << json.body;
}

TEST_F(ScoreServerTest, AHandEditedLongCountryReachesTheTableCutToWhatTheServerTakes) {
  Start();
  platform::CurlHttpClient client;
  const auto fetch = [&](const std::string& url) { return client.Get(url); };
  const std::string country =
      Utf8ToCp1251("СОЕДИНЕННОЕ КОРОЛЕВСТВО ВЕЛИКОБРИТАНИИ И СЕВЕРНОЙ ИРЛАНДИИ ЗАМОРСКОЕЕЕ");
  ASSERT_EQ(country.size(), 70u);
  EXPECT_EQ(SendResults(fetch, Host(), "ACE", 5, country), SendOutcome::Sent);
  const std::string json = Get("/api/scores").body;
  EXPECT_NE(json.find("\"country\":\"" + Cp1251ToUtf8(country.substr(0, 64)) + "\""),
            std::string::npos)
      << json;
}

TEST_F(ScoreServerTest, HealthFailsAndNothingIsAcknowledgedOnceTheDatabaseFileIsGone) {
  if (db.starts_with("postgresql://")) GTEST_SKIP() << "a file of SQLite's";
  Start();
  EXPECT_EQ(Get("/health").status, 200);
  const std::string token = Token();
  std::filesystem::remove(db);
  AdvanceSeconds(1);
  const HttpAnswer health = Get("/health");
  EXPECT_EQ(health.status, 503);
  EXPECT_NE(health.body.find("\"status\":\"database cannot write\""), std::string::npos);
  EXPECT_EQ(SubmitPayload(Payload(token)).status, 503);
}

TEST_F(ScoreServerTest, RefusalsAreLoggedWithAddressAndReasonButNoPayload) {
  std::vector<std::string> lines;
  std::mutex lines_mutex;
  RefusalLog log(
      [&](const std::string& line) {
        std::lock_guard lock(lines_mutex);
        lines.push_back(line);
      },
      [this] { return now_ms.load(); });
  options.check_rate = 60;
  options.check_burst = 1;
  store = OpenScoreStore(db);
  service = std::make_unique<ScoreService>(
      options, *store, [this] { return now_ms.load(); }, &log);
  server = std::make_unique<HttpServer>(options, *service);
  Token();
  EXPECT_EQ(Get("/cgi/version.pl?version&prg=Trakvolt").status, 429);
  const std::string forged =
      BuildScorePayload({"ACE", 1, 'X', "0123456789abcdef0123456789abcdef", ""});
  EXPECT_EQ(SubmitPayload(forged).status, 400);
  std::lock_guard lock(lines_mutex);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0].find("refused 127.0.0.1: 429 check rate"), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find("refused 127.0.0.1: 400 bad key"), std::string::npos) << lines[1];
  EXPECT_EQ(lines[1].find(EncodeScorePayload(forged).substr(0, 16)), std::string::npos);
  EXPECT_EQ(lines[1].find("0123456789abcdef"), std::string::npos);
}

TEST_F(ScoreServerTest, AvailabilityHandsOutAFreshTokenAsTheFifthField) {
  Start();
  const HttpAnswer a = Get("/cgi/version.pl?version&prg=Trakvolt");
  ASSERT_TRUE(a.body.starts_with("OK"));
  const std::string p = ServerValueP(a.body);
  EXPECT_EQ(p.size(), 32u);
  EXPECT_EQ(p.find_first_not_of("0123456789abcdef"), std::string::npos);
  EXPECT_NE(Token(), p);
}

TEST_F(ScoreServerTest, TokenWorksOnceOnly) {
  Start();
  const std::string token = Token();
  EXPECT_EQ(SubmitPayload(Payload(token)).status, 200);
  const HttpAnswer again = SubmitPayload(Payload(token, "OTHER", 200));
  EXPECT_EQ(again.status, 403);
  EXPECT_EQ(store->Count(), 1);
}

TEST_F(ScoreServerTest, ExpiredAndUnknownTokensAreRefused) {
  options.token_ttl_seconds = 60;
  Start();
  const std::string token = Token();
  AdvanceSeconds(61);
  EXPECT_EQ(SubmitPayload(Payload(token)).status, 403);
  EXPECT_EQ(SubmitPayload(Payload("0123456789abcdef0123456789abcdef")).status, 403);
  EXPECT_EQ(store->Count(), 0);
  // Within its time a token is taken.
  const std::string fresh = Token();
  AdvanceSeconds(59);
  EXPECT_EQ(SubmitPayload(Payload(fresh)).status, 200);
}

TEST_F(ScoreServerTest, TokenIssuedByOneProcessIsTakenByAnotherSharingTheDatabase) {
  Start();
  const std::string token = Token();
  const auto other = OpenScoreStore(db);
  ScoreRow row{0, "ACE", 5, "", 0, ""};
  EXPECT_EQ(other->Submit(token, row, "127.0.0.1", now_ms / 1000), SubmitOutcome::Stored);
  EXPECT_EQ(other->Submit(token, row, "127.0.0.1", now_ms / 1000), SubmitOutcome::UnknownToken);
  EXPECT_EQ(store->Count(), 1);
}

TEST_F(ScoreServerTest, TableRanksHigherFirstAndTheOlderOfEqualScoresAbove) {
  Start();
  ASSERT_EQ(SubmitPayload(Payload(Token(), "FIRST", 500)).status, 200);
  AdvanceSeconds(1);
  ASSERT_EQ(SubmitPayload(Payload(Token(), "SECOND", 500)).status, 200);
  ASSERT_EQ(SubmitPayload(Payload(Token(), "TOP", 900, "LATVIA")).status, 200);
  ASSERT_EQ(SubmitPayload(Payload(Token(), "LOW", 0)).status, 200);
  const std::string page = Get("/cgi/version.pl?prg=Trakvolt&show&type=0").body;
  const auto top = page.find(">TOP<"), first = page.find(">FIRST<"), second = page.find(">SECOND<"),
             low = page.find(">LOW<");
  ASSERT_NE(low, std::string::npos);
  EXPECT_LT(top, first);
  EXPECT_LT(first, second);
  EXPECT_LT(second, low);

  const std::string latvia = Get("/cgi/version.pl?prg=Trakvolt&show&type=0&country=LATVIA").body;
  EXPECT_NE(latvia.find(">TOP<"), std::string::npos);
  EXPECT_EQ(latvia.find(">FIRST<"), std::string::npos);
  // Typed in small letters in the browser, the filter still finds the capitals the game sent.
  const std::string json = Get("/api/scores?country=latvia").body;
  EXPECT_NE(json.find("\"TOP\""), std::string::npos);
  EXPECT_EQ(json.find("\"FIRST\""), std::string::npos);
}

TEST_F(ScoreServerTest, PagesEscapeWhatTheyShow) {
  Start();
  // Rows put in past the checks, as another tool sharing the database might.
  const std::string token = Token();
  ScoreRow row{0, "<script>alert('x')</script>&", 7, "\"><img src=x>", 0, ""};
  ASSERT_EQ(store->Submit(token, row, "127.0.0.1", now_ms / 1000), SubmitOutcome::Stored);
  const std::string page = Get("/cgi/version.pl?prg=Trakvolt&show&type=0").body;
  EXPECT_EQ(page.find("<script>"), std::string::npos);
  EXPECT_EQ(page.find("<img"), std::string::npos);
  EXPECT_NE(page.find("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;&amp;"), std::string::npos);
  EXPECT_NE(page.find("&quot;&gt;&lt;img src=x&gt;"), std::string::npos);
  const std::string json = Get("/api/scores").body;
  EXPECT_EQ(json.find('<'), std::string::npos);
  EXPECT_NE(json.find("\\u003cscript\\u003e"), std::string::npos);
  // A filter a player could not have typed is refused, not echoed.
  const HttpAnswer bad = Get("/cgi/version.pl?prg=Trakvolt&show&type=0&country=%3Cb%3E");
  EXPECT_EQ(bad.status, 400);
  EXPECT_EQ(bad.body.find("<b>"), std::string::npos);
}

TEST_F(ScoreServerTest, GamePageHealthAndUnknownPaths) {
  Start();
  const HttpAnswer home = Get("/");
  EXPECT_EQ(home.status, 200);
  EXPECT_NE(home.body.find("/cgi/version.pl?prg=Trakvolt&amp;show&amp;type=0"), std::string::npos);
  EXPECT_EQ(home.body.find("http"), std::string::npos);  // nothing from outside
  EXPECT_EQ(Get("/health").body, "{\"status\":\"ok\"}\n");
  EXPECT_EQ(Get("/nothing").status, 404);
  EXPECT_EQ(Get("/cgi/version.pl?version&prg=Other").status, 404);
  EXPECT_EQ(Get("/cgi/version.pl?version&hs&prg=Trakvolt").status, 400);
}

}  // namespace
}  // namespace trakvolt::server::testing
