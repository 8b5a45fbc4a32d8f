// UTF-8 <-> cp1251 conversion.
#include "base/cp1251.h"

#include <gtest/gtest.h>

using namespace trakvolt;

TEST(Cp1251, RoundTripsRussianText) {
  const std::string cp = Utf8ToCp1251("Гонкострель ЁЖ ё №");
  EXPECT_EQ(static_cast<unsigned char>(cp[0]), 0xC3);   // Г
  EXPECT_EQ(static_cast<unsigned char>(cp[12]), 0xA8);  // Ё
  EXPECT_EQ(Cp1251ToUtf8(cp), "Гонкострель ЁЖ ё №");
}

TEST(Cp1251, UnknownAndBrokenInputIsReplaced) {
  EXPECT_EQ(Utf8ToCp1251("a€b"), std::string("a\x88"
                                             "b"));
  EXPECT_EQ(Utf8ToCp1251("a漢b"), "a?b");
  EXPECT_EQ(Utf8ToCp1251("a\xD0"), "a?");  // cut short
  EXPECT_EQ(Utf8ToCp1251("\xFF"
                         "x"),
            "?x");                                  // not UTF-8 at all
  EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xEF\xBF\xBD");  // the byte without a character
}
