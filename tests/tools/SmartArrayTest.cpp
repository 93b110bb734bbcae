// The growable array: capacity growth, content kept or discarded, default slots, bad lengths.
#include <string>

#include <gtest/gtest.h>

#include "SmartArray.h"

using MyTl::FixedArray;

TEST(FixedArray, CapacityStartsAtOneAndDoublesUntilTheLengthFits) {
  struct Step {
    int length;
    int capacity;
  };
  const Step steps[] = {{1, 1}, {2, 2}, {3, 4}, {4, 4}, {5, 8}, {9, 16}, {16, 16}, {17, 32}, {2, 32}};
  FixedArray<int> array;
  for (const Step& step : steps) {
    array.resize(step.length);
    EXPECT_EQ(array.size(), step.length);
    EXPECT_EQ(array.capacity(), step.capacity) << "after resize(" << step.length << ")";
  }
  FixedArray<int> jump;
  jump.resize(100);
  EXPECT_EQ(jump.capacity(), 128);
}

TEST(FixedArray, ResizeKeepsContentAndResizeQuickDiscardsIt) {
  FixedArray<int> array;
  array.resize(3);
  for (int i = 0; i < 3; ++i) array[i] = i + 10;
  array.resize(6);
  EXPECT_EQ(array[0], 10);
  EXPECT_EQ(array[2], 12);
  for (int i = 3; i < 6; ++i) EXPECT_EQ(array[i], 0) << "new slot " << i;

  array.resizeQuick(4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(array[i], 0) << "slot " << i;
}

TEST(FixedArray, ShrinkingThenGrowingGivesDefaultsNotOldValues) {
  FixedArray<std::string> array;
  array.resize(4);
  for (int i = 0; i < 4; ++i) array[i] = "old";
  array.resize(1);
  array.resize(4);
  EXPECT_EQ(array[0], "old");
  for (int i = 1; i < 4; ++i) EXPECT_EQ(array[i], "") << "slot " << i;
}

TEST(FixedArray, AppendingOwnElementWhileGrowingCopiesIt) {
  FixedArray<std::string> array;
  array.append(std::string(200, 'a'));
  array.append(std::string(200, 'b'));
  ASSERT_EQ(array.size(), array.capacity());
  array.append(array[0]);  // the array grows while the argument lives in it
  ASSERT_EQ(array.size(), 3);
  EXPECT_EQ(array[2], std::string(200, 'a'));
  array.push_back(array[1]);
  EXPECT_EQ(array[3], std::string(200, 'b'));
}

TEST(FixedArray, CopiesAreDeep) {
  FixedArray<int> a;
  a.append(1);
  FixedArray<int> b = a;
  b[0] = 2;
  EXPECT_EQ(a[0], 1);
}

TEST(FixedArrayDeathTest, LengthMinusOneStopsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  FixedArray<int> array;
  EXPECT_DEATH(array.resize(-1), "length != -1 \\(SmartArray");
  EXPECT_DEATH(array.resizeQuick(-1), "length != -1 \\(SmartArray");
}
