// Decimal text of integers, trimming and splitting.
#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "StringProcessor.h"

using MyTl::String;
using Processor = MyTl::StringProcessor<char>;

TEST(StringProcessor, ToStringGivesDecimalTextWithoutLeadingZeros) {
  struct Case {
    long value;
    const char* text;
  };
  const Case cases[] = {{0, "0"},           {7, "7"},
                        {-7, "-7"},         {10, "10"},
                        {-100, "-100"},     {INT_MAX, "2147483647"},
                        {INT_MIN, "-2147483648"}};
  for (const Case& c : cases) {
    EXPECT_EQ(Processor::toString(static_cast<int>(c.value)), c.text) << c.value;
  }
  EXPECT_EQ(Processor::toString(4294967295UL), "4294967295");
  EXPECT_EQ(Processor::toString(999999999999999UL), "999999999999999");  // 15 digits fit
  EXPECT_EQ(Processor::toString(42u), "42");
}

TEST(StringProcessorDeathTest, SixteenDigitsBreakTheContract) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(Processor::toString(1000000000000000UL), "i > 0 \\(String");
}

TEST(StringProcessor, TrimRemovesSpacesAndControlCharactersAtBothEnds) {
  struct Case {
    const char* input;
    const char* trimmed;
  };
  const Case cases[] = {
      {"\t\n", ""},
      {"", ""},
      {"   ", ""},
      {"  a b \r\n", "a b"},
      {"\x01x\x1f", "x"},
      {"Bob", "Bob"},
      {" \xc3\xa9t\xc3\xa9 ", "\xc3\xa9t\xc3\xa9"},  // bytes above 127 are text, not control
      {"\x7f", "\x7f"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Processor::trim(String(c.input)), c.trimmed) << "input \"" << c.input << "\"";
  }
}

namespace {

std::vector<std::string> tokensOf(const char* text, char separator) {
  String s(text);
  std::vector<std::string> pieces;
  for (const Processor::Token& token : Processor::tokenize(s, separator)) {
    pieces.push_back(std::string(s.c_str() + token.start, static_cast<size_t>(token.length)));
  }
  return pieces;
}

}  // namespace

TEST(StringProcessor, TokenizeGivesOneTokenMoreThanSeparators) {
  struct Case {
    const char* text;
    std::vector<std::string> tokens;
  };
  const Case cases[] = {
      {"a,,b,", {"a", "", "b", ""}},
      {"", {}},
      {",", {"", ""}},
      {"abc", {"abc"}},
      {",x", {"", "x"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(tokensOf(c.text, ','), c.tokens) << "text \"" << c.text << "\"";
  }
}

TEST(StringProcessor, GetTokenStringsTrimsEveryPiece) {
  MyTl::FixedArray<String> lines = Processor::getTokenStrings(String(" 12 \r\nBob\n"), '\n');
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], "12");
  EXPECT_EQ(lines[1], "Bob");
  EXPECT_EQ(lines[2], "");

  MyTl::FixedArray<String> fields = Processor::getTokenStrings(String(" Anna , 120 "), ',');
  ASSERT_EQ(fields.size(), 2);
  EXPECT_EQ(fields[0], "Anna");
  EXPECT_EQ(fields[1], "120");
  EXPECT_EQ(Processor::getTokenStrings(String(), ',').size(), 0);
}
