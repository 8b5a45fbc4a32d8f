// The table pages: cheap whatever the table holds, valid whatever a row holds, and HEAD that
// changes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "persist/score_payload.h"
#include "server_fixture.h"
#include "text_escape.h"

namespace trakvolt::server::testing {
namespace {

const std::string kCheck = "/cgi/version.pl?version&prg=Trakvolt";

TEST_F(ScoreServerTest, HeadChangesNothing) {
  options.tokens_per_address = 1;  // a token issued by a HEAD would push this one out
  Start();
  const std::string token = Token();
  const std::string submit =
      "/cgi/version.pl?hs&prg=Trakvolt&inf=" +
      EncodeScorePayload(BuildScorePayload({"ACE", 5, kScoreKey, token, ""}));
  for (const std::string& game : {kCheck, submit}) {
    const HttpAnswer head = HttpGet(Url(game), 5000, "", true);
    EXPECT_EQ(head.status, 405) << game;
    EXPECT_NE(head.headers.find("Allow: GET\r\n"), std::string::npos) << head.headers;
  }
  EXPECT_EQ(store->Count(), 0);
  EXPECT_EQ(Get(submit).status, 200);  // the token was neither used nor pushed out
  // The pages answer a HEAD as a GET, without the body.
  for (const char* page : {"/", "/api/scores", "/cgi/version.pl?prg=Trakvolt&show&type=0"}) {
    const HttpAnswer head = HttpGet(Url(page), 5000, "", true);
    EXPECT_EQ(head.status, 200) << page;
    EXPECT_TRUE(head.body.empty()) << page;
  }
}

TEST_F(ScoreServerTest, ThePagesOfAMillionRowTableDoNotHoldUpTheGame) {
  options.page_rate = 0;  // the attack at its worst: nothing refuses the pages
  Start();
  FillScores(1'000'000);
  std::atomic<bool> done{false};
  std::atomic<int> pages{0};
  std::vector<std::thread> attackers;
  for (int i = 0; i < 4; ++i)
    attackers.emplace_back([&, i] {
      const std::string from = "127.0.0." + std::to_string(2 + i);
      // A filter that matches nothing, real ones, and fresh ones that no cache holds.
      for (int n = 0; !done; ++n) {
        std::string fresh = "NEW ";
        for (int k = n * 4 + i; k > 0; k /= 26) fresh += static_cast<char>('A' + k % 26);
        const std::string country = n % 3 == 0   ? "NOWHERE"
                                    : n % 3 == 1 ? load::FilledCountry(n)
                                                 : fresh;
        const std::string page =
            n % 2 ? "/api/scores?country=" + country
                  : "/cgi/version.pl?prg=Trakvolt&show&type=0&country=" + country;
        if (HttpGet(Url(page), 30000, from).status == 200) ++pages;
      }
    });
  ASSERT_NE(Get("/api/scores").body.find("\"rank\":100,"), std::string::npos);  // cached now
  // The honest player, within the game's own 5 s time-out, every time.
  for (int i = 0; i < 20; ++i) {
    const HttpAnswer check = HttpGet(Url(kCheck), 5000, "127.0.0.1");
    ASSERT_EQ(check.status, 200) << i;
    const std::string inf = EncodeScorePayload(
        BuildScorePayload({"ACE", 2'000'000 + i, kScoreKey, ServerValueP(check.body), ""}));
    EXPECT_EQ(HttpGet(Url("/cgi/version.pl?hs&prg=Trakvolt&inf=" + inf), 5000, "127.0.0.1").status,
              200)
        << i;
  }
  done = true;
  for (auto& t : attackers) t.join();
  EXPECT_GT(pages.load(), 0);
  // The honest results top the table at once: a stored result is not hidden by the cache.
  const std::string json = Get("/api/scores").body;
  EXPECT_NE(json.find("\"score\":2000019"), std::string::npos);
  EXPECT_EQ(store->Count(), 1'000'020);
}

TEST_F(ScoreServerTest, RowsFromOutsideStayValidOnThePageAndInTheJson) {
  Start();
  // Rows put in past the checks, as another tool sharing the database might.
  // (PostgreSQL keeps its text valid UTF-8 itself; SQLite takes any bytes.)
  const std::string bad = db.starts_with("postgresql://")
                              ? "\xEF\xBF\xBD"
                                "A\x01\x1B[31m\x7F\xC2\x85Z"
                              : "\xFF"
                                "A\x01\x1B[31m\x7F\xC2\x85\xED\xA0\x80Z\xE2\x82";
  ASSERT_EQ(store->Submit(Token(), {0, bad, 7, bad, 0, ""}, "127.0.0.1", now_ms / 1000),
            SubmitOutcome::Stored);
  const std::string long_name(10000, 'W');
  ASSERT_EQ(store->Submit(Token(), {0, long_name, 6, "", 0, ""}, "127.0.0.1", now_ms / 1000),
            SubmitOutcome::Stored);
  for (const char* target : {"/api/scores", "/cgi/version.pl?prg=Trakvolt&show&type=0"}) {
    const std::string body = Get(target).body;
    std::string lines = body;  // every byte valid UTF-8, no control character but line ends
    std::replace(lines.begin(), lines.end(), '\n', ' ');
    EXPECT_EQ(ValidText(lines), lines) << target;
    EXPECT_NE(body.find("\xEF\xBF\xBD"
                        "A\xEF\xBF\xBD"),
              std::string::npos)
        << target;
  }
  const std::string page = Get("/cgi/version.pl?prg=Trakvolt&show&type=0").body;
  EXPECT_NE(page.find("<td>" + std::string(64, 'W') + "…</td>"), std::string::npos);
  EXPECT_EQ(page.find(std::string(65, 'W')), std::string::npos);
}

}  // namespace
}  // namespace trakvolt::server::testing
