// Reading decimal integers: the isType rules, scan and seekFirstDigit.
#include <climits>

#include <gtest/gtest.h>

#include "StringScanner.h"

using MyTl::StringScanner;

TEST(StringScanner, IsTypeAcceptsDecimalIntegersThatFitAnInt) {
  struct Case {
    const char* text;
    bool accepted;
    int value;
  };
  const Case cases[] = {
      {"123456789", true, 123456789},
      {"-12345678", true, -12345678},
      {"0", true, 0},
      {"-0", true, 0},
      {"-42", true, -42},
      {"007", true, 7},
      {"-2147483648", true, INT_MIN},
      {"-0000000042", true, -42},
      {"-2147483647", true, -2147483647},
      {"1234567890", false, 0},    // ten characters need a sign
      {"-2147483649", false, 0},   // below the int range
      {"-99999999999", false, 0},
      {"-12345678901234567890123", false, 0},
      {"12a", false, 0},
      {"", false, 0},
      {"-", false, 0},
      {"+5", false, 0},
      {" 5", false, 0},
      {"5 ", false, 0},
      {"--5", false, 0},
      {"4-2", false, 0},
  };
  for (const Case& c : cases) {
    int out = 555;
    EXPECT_EQ(StringScanner::isType(c.text, out), c.accepted) << "text \"" << c.text << "\"";
    EXPECT_EQ(out, c.accepted ? c.value : 555) << "text \"" << c.text << "\"";
  }
  int out = 555;
  EXPECT_FALSE(StringScanner::isType(nullptr, out));
  EXPECT_EQ(out, 555);
}

TEST(StringScanner, IsTypeReadsOnlyTheGivenLength) {
  int out = 0;
  EXPECT_TRUE(StringScanner::isType("12345", out, 2));
  EXPECT_EQ(out, 12);
  EXPECT_TRUE(StringScanner::isType("-7,8", out, 2));
  EXPECT_EQ(out, -7);
  out = 9;
  EXPECT_FALSE(StringScanner::isType("12345", out, 0));
  EXPECT_EQ(out, 9);
}

TEST(StringScanner, ScanReadsSignedNumbersEmbeddedInText) {
  StringScanner scanner("abc-12def 7x--3 1-2");
  int out = 0;
  EXPECT_EQ(scanner.scan(out), -12);
  EXPECT_EQ(out, -12);
  EXPECT_EQ(scanner.position(), 6);  // on the 'd'
  EXPECT_EQ(scanner.scan(out), 7);
  EXPECT_EQ(scanner.scan(out), -3);
  EXPECT_EQ(scanner.scan(out), 1);
  EXPECT_EQ(scanner.scan(out), -2);
}

TEST(StringScanner, SeekFirstDigitLooksBackOnlyWhenItMoved) {
  StringScanner atDigit("5");
  EXPECT_EQ(atDigit.seekFirstDigit(), 1);
  EXPECT_EQ(atDigit.position(), 0);

  StringScanner afterMinus("x-5");
  EXPECT_EQ(afterMinus.seekFirstDigit(), -1);
  EXPECT_EQ(afterMinus.position(), 2);

  StringScanner afterSpace("- 5");
  EXPECT_EQ(afterSpace.seekFirstDigit(), 1);
}

TEST(StringScanner, TextWithoutDigitsStopsAtTheEnd) {
  StringScanner scanner("no digits-");
  int out = 99;
  EXPECT_EQ(scanner.scan(out), 0);
  EXPECT_EQ(out, 0);
  EXPECT_EQ(scanner.position(), 10);
  EXPECT_EQ(scanner.scan(out), 0);  // stays on the terminating NUL
  EXPECT_EQ(scanner.position(), 10);
}
