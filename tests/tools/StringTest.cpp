// BasicString: construction, C-string view, copies, concatenation and comparison.
#include <cstring>
#include <utility>

#include <gtest/gtest.h>

#include "String.h"

using MyTl::String;

TEST(BasicString, EmptyStringsReadAsEmptyCStrings) {
  const String fromNothing;
  const String fromNull(static_cast<const char*>(nullptr));
  const String fromEmpty("");
  const String fromZeroLength(0);
  for (const String* s : {&fromNothing, &fromNull, &fromEmpty, &fromZeroLength}) {
    ASSERT_NE(s->c_str(), nullptr);
    EXPECT_STREQ(s->c_str(), "");
    EXPECT_EQ(s->length(), 0);
    EXPECT_TRUE(s->empty());
    EXPECT_EQ(*s, "");
  }
}

TEST(BasicString, CopiesUpToTheNulOrExactlyNCharacters) {
  String whole("Bob");
  EXPECT_EQ(whole.length(), 3);
  EXPECT_STREQ(whole.c_str(), "Bob");

  String part("Bobby", 3);
  EXPECT_EQ(part.length(), 3);
  EXPECT_STREQ(part.c_str(), "Bob");

  const String withNul("a\0b", 3);
  EXPECT_EQ(withNul.length(), 3);
  EXPECT_EQ(withNul[2], 'b');
  EXPECT_EQ(withNul[3], '\0');  // the terminating NUL is readable
  EXPECT_NE(withNul, String("a"));
}

TEST(BasicString, LengthConstructorGivesABufferToFill) {
  String buffer(5);
  EXPECT_EQ(buffer.length(), 5);
  EXPECT_EQ(buffer.c_str()[0], '\0');
  std::memcpy(buffer.data(), "hello", 5);
  EXPECT_EQ(buffer, "hello");
  EXPECT_EQ(buffer.c_str()[5], '\0');
}

TEST(BasicString, CopiesAreDeepAndMovesLeaveAnEmptyString) {
  String original("name");
  String copy = original;
  copy[0] = 'g';
  EXPECT_EQ(original, "name");
  EXPECT_EQ(copy, "game");

  String assigned;
  assigned = original;
  assigned[1] = 'o';
  EXPECT_EQ(original, "name");

  String moved = std::move(copy);
  EXPECT_EQ(moved, "game");
  EXPECT_STREQ(copy.c_str(), "");  // a moved-from string is empty
  EXPECT_EQ(copy.length(), 0);
}

TEST(BasicString, ConcatenatesWithStringsAndCStrings) {
  String title = String("Title-") + "Anna" + "_200x52.png";
  EXPECT_EQ(title, "Title-Anna_200x52.png");
  EXPECT_EQ(title.length(), 21);
  EXPECT_EQ(String() + String(), "");

  String grown("ab");
  grown += grown;  // appending itself while the buffer grows
  grown += grown;
  EXPECT_EQ(grown, "abababab");
  grown += 'c';
  grown += static_cast<const char*>(nullptr);
  EXPECT_EQ(grown, "ababababc");
}

TEST(BasicString, ComparesWithBothStringKinds) {
  String bob("Bob");
  EXPECT_TRUE(bob == "Bob");
  EXPECT_TRUE("Bob" == bob);
  EXPECT_TRUE(bob != "Bo");
  EXPECT_TRUE(bob != "Bobs");
  EXPECT_TRUE(bob == String("Bob"));
  EXPECT_FALSE(bob == static_cast<const char*>(nullptr));
  EXPECT_TRUE(String() == static_cast<const char*>(nullptr));
  EXPECT_TRUE(String("Bo") < bob);
  EXPECT_TRUE(String("B") < String("\xc3\xa9"));  // bytes compare unsigned
}

TEST(BasicStringDeathTest, IndexOutsideTheStringStopsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  String s("ab");
  EXPECT_DEATH(s[2] = 'x', "String");
  EXPECT_DEATH(s[-1] = 'x', "String");
}
