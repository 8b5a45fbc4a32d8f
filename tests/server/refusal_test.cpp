// Every kind of bad submission is refused with a 4xx status and stores nothing.
#include <gtest/gtest.h>

#include "base/cp1251.h"
#include "server_fixture.h"

namespace trakvolt::server::testing {
namespace {

// The fields as given ("$" stands for the token), then "|z=" and the padding the game adds.
std::string Raw(std::string fields, const std::string& token) {
  if (const auto at = fields.find('$'); at != std::string::npos) fields.replace(at, 1, token);
  fields += "|z=";
  fields.append((5 - fields.size() % 5) % 5, '0');
  return fields;
}

struct PayloadCase {
  const char* what;
  std::string fields;
};

TEST_F(ScoreServerTest, PayloadsTheGameWouldNotSendAreRefused) {
  Start();
  const std::string long_name(65, 'A');
  const PayloadCase cases[] = {
      {"name missing", "type=0|score=1|key=T|p=$|add="},
      {"country missing", "type=0|name=ACE|score=1|key=T|p=$"},
      {"reordered", "type=0|score=1|name=ACE|key=T|p=$|add="},
      {"name twice", "type=0|name=ACE|name=BOB|score=1|key=T|p=$|add="},
      {"extra field at the end", "type=0|name=ACE|score=1|key=T|p=$|add=|x=1"},
      {"extra field after p", "type=0|name=ACE|score=1|key=T|p=$|q=1|add="},
      {"extra field first", "v=1|type=0|name=ACE|score=1|key=T|p=$|add="},
      {"other type", "type=1|name=ACE|score=1|key=T|p=$|add="},
      {"wrong key", "type=0|name=ACE|score=1|key=K|p=$|add="},
      {"long key", "type=0|name=ACE|score=1|key=TT|p=$|add="},
      {"lower case name", "type=0|name=ace|score=1|key=T|p=$|add="},
      {"digit in name", "type=0|name=ACE1|score=1|key=T|p=$|add="},
      {"lower case Cyrillic", "type=0|name=" + Utf8ToCp1251("иван") + "|score=1|key=T|p=$|add="},
      {"letter Yo", "type=0|name=" + Utf8ToCp1251("Ё") + "|score=1|key=T|p=$|add="},
      {"HTML in name", "type=0|name=<B>X</B>|score=1|key=T|p=$|add="},
      {"SQL in name", "type=0|name=A' OR '1'='1|score=1|key=T|p=$|add="},
      {"HTML in country", "type=0|name=ACE|score=1|key=T|p=$|add=<SCRIPT>"},
      {"SQL in country", "type=0|name=ACE|score=1|key=T|p=$|add=X'); DROP TABLE SCORES;--"},
      {"SQL in score", "type=0|name=ACE|score=1 OR 1=1|key=T|p=$|add="},
      {"SQL in token", "type=0|name=ACE|score=1|key=T|p=' OR ''='|add="},
      {"name of 65 bytes", "type=0|name=" + long_name + "|score=1|key=T|p=$|add="},
      {"country of 65 bytes", "type=0|name=ACE|score=1|key=T|p=$|add=" + long_name},
      {"negative score", "type=0|name=ACE|score=-1|key=T|p=$|add="},
      {"score above range", "type=0|name=ACE|score=2147483648|key=T|p=$|add="},
      {"score with plus", "type=0|name=ACE|score=+5|key=T|p=$|add="},
      {"score with leading zero", "type=0|name=ACE|score=05|key=T|p=$|add="},
      {"empty score", "type=0|name=ACE|score=|key=T|p=$|add="},
      {"control byte in name", std::string("type=0|name=A\nB|score=1|key=T|p=$|add=")},
  };
  for (const PayloadCase& c : cases) {
    const HttpAnswer a = SubmitPayload(Raw(c.fields, Token()));
    EXPECT_GE(a.status, 400) << c.what;
    EXPECT_LT(a.status, 500) << c.what;
  }
  // Padding the game never writes.
  const std::string good = BuildScorePayload({"ACE", 1, kScoreKey, Token(), ""});
  for (const std::string& bad : {good + "00000", good.substr(0, good.size() - 1), good + "0"}) {
    const HttpAnswer a = SubmitPayload(bad);
    EXPECT_GE(a.status, 400) << bad;
    EXPECT_LT(a.status, 500) << bad;
  }
  EXPECT_EQ(store->Count(), 0);
  // The checks refused the texts, not the tokens: the same good payload is still taken.
  EXPECT_EQ(SubmitPayload(good).status, 200);
  EXPECT_EQ(store->Count(), 1);
}

TEST_F(ScoreServerTest, BadEncodingsAndRequestsAreRefused) {
  Start();
  const std::string good =
      EncodeScorePayload(BuildScorePayload({"ACE", 1, kScoreKey, Token(), ""}));
  std::string lower = good;
  for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  const std::string base = "/cgi/version.pl?hs&prg=Trakvolt";
  const std::pair<const char*, std::string> cases[] = {
      {"lower-case symbols", base + "&inf=" + lower},
      {"symbol I", base + "&inf=" + good.substr(0, good.size() - 1) + "I"},
      {"symbol 0", base + "&inf=0" + good.substr(1)},
      {"escaped byte", base + "&inf=%00" + good},
      {"one symbol short", base + "&inf=" + good.substr(0, good.size() - 1)},
      {"one symbol more", base + "&inf=" + good + "Q"},
      {"eight symbols more", base + "&inf=" + good + "QQQQQQQQ"},
      {"no payload", base},
      {"empty payload", base + "&inf="},
      {"payload twice", base + "&inf=" + good + "&inf=" + good},
      {"extra argument", base + "&inf=" + good + "&x=1"},
      {"oversized payload", base + "&inf=" + std::string(600, 'Q')},
      {"oversized request", base + "&inf=" + std::string(20000, 'Q')},
  };
  for (const auto& [what, target] : cases) {
    const HttpAnswer a = Get(target);
    EXPECT_GE(a.status, 400) << what;
    EXPECT_LT(a.status, 500) << what;
  }
  EXPECT_EQ(Get(base + "&inf=" + std::string(600, 'Q')).status, 414);
  EXPECT_EQ(store->Count(), 0);
  EXPECT_EQ(Get(base + "&inf=" + good).status, 200);
  // A hundred arguments are refused before they are compared pair by pair; a page that
  // ignores extra ones still takes a few.
  std::string many = "/api/scores?country=LATVIA";
  for (int i = 0; i < 100; ++i) many += "&a" + std::to_string(i);
  EXPECT_EQ(Get(many).body, "too many arguments\n");
  EXPECT_EQ(Get("/api/scores?country=LATVIA&utm=1").status, 200);
}

}  // namespace
}  // namespace trakvolt::server::testing
