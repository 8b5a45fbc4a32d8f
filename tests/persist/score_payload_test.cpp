// The result payload: fields, padding, the symbol encoding and the way back.
#include "persist/score_payload.h"

#include <gtest/gtest.h>

using namespace trakvolt;

namespace {

ScoreSubmission Sample() {
  ScoreSubmission s;
  s.name = "NONAME";
  s.score = 1234;
  s.p = "4";
  s.country = "RUSSIA";
  return s;
}

TEST(ScorePayload, FieldsInOrderPaddedToAMultipleOfFive) {
  // 53 bytes before the padding: two zeros make 55.
  EXPECT_EQ(BuildScorePayload(Sample()), "type=0|name=NONAME|score=1234|key=T|p=4|add=RUSSIA|z=00");
  ScoreSubmission s = Sample();
  s.country = "";  // an empty country: "|add=" directly followed by "|z="
  s.p = "";
  s.score = -5;
  EXPECT_EQ(BuildScorePayload(s), "type=0|name=NONAME|score=-5|key=T|p=|add=|z=0");
  s.name = "ABC";  // 40 bytes with "|z=": no zero is added
  s.score = 0;
  EXPECT_EQ(BuildScorePayload(s), "type=0|name=ABC|score=0|key=T|p=|add=|z=");
  for (int len = 0; len < 10; ++len) {
    s.name = std::string(static_cast<std::size_t>(len), 'A');
    const std::string payload = BuildScorePayload(s);
    EXPECT_EQ(payload.size() % 5, 0u);
    EXPECT_LT(payload.size() - payload.find("|z=") - 3, 5u);
  }
}

TEST(ScorePayload, NameAndCountryCannotForgeFields) {
  ScoreSubmission s = Sample();
  s.name = "bob|score=99999";
  s.country = "ru|key=X \xE0\xFF\xB8\xA8";  // lower-case а, я, ё, Ё
  const std::string payload = BuildScorePayload(s);
  EXPECT_EQ(payload.find("99999"), std::string::npos);
  const auto back = ParseScorePayload(payload);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->name, "BOBSCORE");
  EXPECT_EQ(back->country, "RUKEYX \xC0\xDF");
  EXPECT_EQ(back->score, 1234);
  EXPECT_EQ(back->key, 'T');
}

TEST(ScorePayload, LongTextsAreCutToWhatTheServerTakes) {
  ScoreSubmission s = Sample();
  // 70 sendable letters, with dropped bytes among them that must not count.
  s.country = "1" + std::string(35, 'A') + "--" + std::string(35, '\xC1');
  s.name = std::string(80, 'b');
  const auto back = ParseScorePayload(BuildScorePayload(s));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->country, std::string(35, 'A') + std::string(29, '\xC1'));
  EXPECT_EQ(back->name, std::string(kMaxSentTextBytes, 'B'));
}

TEST(ScorePayload, FiveBytesBecomeEightSymbols) {
  // "AAAAA": 01000 00101 00000 10100 00010 10000 01010 00001.
  EXPECT_EQ(EncodeScorePayload("AAAAA"), "AYQBEZDW");
  const std::string ten = EncodeScorePayload("AAAAAzzzzz");
  EXPECT_EQ(ten.size(), 16u);
  EXPECT_EQ(ten.substr(0, 8), "AYQBEZDW");  // the first symbols depend only on the first bytes
  EXPECT_EQ(EncodeScorePayload("\xFF\xFF\xFF\xFF\xFF"), "JJJJJJJJ");
  EXPECT_EQ(EncodeScorePayload(std::string(5, '\0')), "QQQQQQQQ");
  // A length that is no multiple of 5 is padded with zero bits on the left: 8 bits, 2 symbols.
  EXPECT_EQ(EncodeScorePayload("\xFF"), "PJ");
}

TEST(ScorePayload, DecodingGivesBackEveryByte) {
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  for (const std::string& bytes : {all, std::string("\xFF"), std::string(), std::string("AAAAA")})
    EXPECT_EQ(DecodeScorePayload(EncodeScorePayload(bytes)), bytes);
  EXPECT_FALSE(DecodeScorePayload("AYQBEZD0"));  // 0 is not a symbol
  EXPECT_FALSE(DecodeScorePayload("JJ"));        // padding bits set
  EXPECT_FALSE(DecodeScorePayload("QQQ"));       // 15 bits: 7 bits of padding, never made
}

TEST(ScorePayload, CyrillicNameTravelsOnlyInsideTheEncoding) {
  ScoreSubmission s = Sample();
  s.name = "\xC8\xC2\xC0\xCD \xef\xe5\xf2\xf0\xee\xe2";  // "ИВАН петров"
  const std::string encoded = EncodeScorePayload(BuildScorePayload(s));
  for (const char c : encoded)
    EXPECT_NE(std::string("QWERTYUPASDFGHKLZXCVBNM23456789J").find(c), std::string::npos);
  const auto back = ParseScorePayload(*DecodeScorePayload(encoded));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->name, "\xC8\xC2\xC0\xCD \xcf\xc5\xd2\xd0\xce\xc2");
}

TEST(ScorePayload, ParseRoundTripsAndRefusesOtherTexts) {
  ScoreSubmission s = Sample();
  s.p = "a|add=b|z=c";  // P comes from the server and may hold anything
  EXPECT_EQ(ParseScorePayload(BuildScorePayload(s)), s);
  for (const char* bad :
       {"", "type=1|name=|score=0|key=T|p=|add=|z=00", "type=0|name=|score=x|key=T|p=|add=|z=00",
        "type=0|name=|score=0|key=TT|p=|add=|z=0", "type=0|name=|score=0|key=T|p=|add=|z=0000"})
    EXPECT_FALSE(ParseScorePayload(bad)) << bad;
}

TEST(ScorePayload, ServerValueIsTheFifthField) {
  const struct {
    const char* answer;
    const char* p;
  } cases[] = {
      {"OK|1|2|3|4|5", "4"}, {"OK", ""},         {"OK|1|2|3", ""},       {"OK|1|2|3|", ""},
      {"OK|||||", ""},       {"OK|a|b|c|d", ""}, {"OK|a|b|c|dd|", "dd"},
  };
  for (const auto& c : cases) EXPECT_EQ(ServerValueP(c.answer), c.p) << c.answer;
}

}  // namespace
