#include "format/text.h"

#include <gtest/gtest.h>

#include <string>

#include "format/short_string.h"

namespace {

TEST(Trim, RemovesOnlySpacesAtTheEnds) {
  EXPECT_EQ(Trim("  12 "), "12");
  EXPECT_EQ(Trim("a b"), "a b");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim("\t1 "), "\t1");
  EXPECT_EQ(TrimLeft("  x  "), "x  ");
  EXPECT_EQ(TrimRight("  x  "), "  x");
}

TEST(LastPos, FindsTheLastOccurrenceOneBased) {
  EXPECT_EQ(LastPos('\\', "C:\\dir\\prog.exe"), 7);
  EXPECT_EQ(LastPos('.', "prog"), 0);
  EXPECT_EQ(LastPos('x', ""), 0);
  EXPECT_EQ(LastPos('a', "A"), 0);
  EXPECT_EQ(LastPos('-', "-"), 1);
}

// Windows-1252 capitals and their small letters; the sign of multiplication and
// the sharp s have no other case.
TEST(FoldCase, Windows1252Letters) {
  const char pairs[][2] = {{'A', 'a'},       {'z', 'z'},       {'\xC0', '\xE0'}, {'\xDE', '\xFE'}, {'\xD7', '\xD7'},
                           {'\xDF', '\xDF'}, {'\x8A', '\x9A'}, {'\x9F', '\xFF'}, {'1', '1'}};
  for (const auto& p : pairs) EXPECT_EQ(FoldCase(p[0]), p[1]) << static_cast<int>(static_cast<unsigned char>(p[0]));
}

TEST(ShortString, NeverHoldsMoreThan255Characters) {
  std::string long_text(300, 'x');
  ShortString s(long_text);
  EXPECT_EQ(s.size(), 255u);
  s += "more";
  EXPECT_EQ(s.size(), 255u);
  EXPECT_EQ(s.c_str()[255], '\0');

  ShortString a(std::string(200, 'a'));
  ShortString joined = a + std::string(100, 'b');
  EXPECT_EQ(joined.size(), 255u);
  EXPECT_EQ(joined[254], 'b');
  EXPECT_EQ(joined.Sub(250).view(), "bbbbb");
  EXPECT_EQ(joined.Sub(300).size(), 0u);
}

}  // namespace
