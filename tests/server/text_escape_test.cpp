// Making any bytes valid text, and cutting it at a character.
#include "text_escape.h"

#include <gtest/gtest.h>

namespace trakvolt::server {
namespace {

TEST(ValidText, KeepsValidTextAndReplacesEverythingElse) {
  const std::string r = "\xEF\xBF\xBD";
  const struct {
    std::string in, out;
  } cases[] = {
      {"ИВАН PETROV", "ИВАН PETROV"},
      {"\xF0\x9F\x8F\x81 \xE2\x82\xAC", "\xF0\x9F\x8F\x81 \xE2\x82\xAC"},  // 4- and 3-byte
      {"\xFF", r},                                                         // never a lead
      {"\x80"
       "A",
       r + "A"},                            // stray continuation
      {"\xC0\xAF", r + r},                  // overlong '/'
      {"\xE0\x80\xAF", r + r + r},          // overlong, 3 bytes
      {"\xED\xA0\x80", r + r + r},          // a surrogate
      {"\xF4\x90\x80\x80", r + r + r + r},  // past U+10FFFF
      {"\xE2\x82", r + r},                  // cut short
      {"A\x01\n\x7F"
       "B",
       "A" + r + r + r + "B"},  // C0 and DEL
      {"\xC2\x85", r},          // C1 (NEL)
  };
  for (const auto& c : cases) EXPECT_EQ(ValidText(c.in), c.out) << c.in;
}

TEST(CutText, CutsAtACharacterWithAnEllipsis) {
  EXPECT_EQ(CutText("АБВГ", 4), "АБВГ");
  EXPECT_EQ(CutText("АБВГ", 2), "АБ…");
  EXPECT_EQ(CutText("", 0), "");
  EXPECT_EQ(CutText("A", 0), "…");
}

TEST(JsonString, EscapesQuotesAndMarkupOfValidText) {
  EXPECT_EQ(JsonString("a\"b\\<&>\x01"), "\"a\\\"b\\\\\\u003c\\u0026\\u003e\xEF\xBF\xBD\"");
}

}  // namespace
}  // namespace trakvolt::server
