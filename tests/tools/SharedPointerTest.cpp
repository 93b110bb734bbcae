// Shared handles: counting, letting go, reset and assignment order.
#include <utility>

#include <gtest/gtest.h>

#include "SharedPointerST.h"
#include "SmartArray.h"

namespace {

// Counts how many of its objects have been destroyed.
struct Tracked {
  static int destroyed;
  explicit Tracked(int id) : id(id) {}
  ~Tracked() { ++destroyed; }
  int id;
  MyTl::SharedPointerST<Tracked> child;  // a handle that the object itself owns
};
int Tracked::destroyed = 0;

using Handle = MyTl::SharedPointerST<Tracked, MyTl::ReferenceCounter<Tracked>>;

class SharedPointer : public ::testing::Test {
 protected:
  void SetUp() override { Tracked::destroyed = 0; }
};

}  // namespace

TEST_F(SharedPointer, CopiesShareOneObjectUntilTheLastLetsGo) {
  {
    Handle first(new Tracked(1));
    EXPECT_EQ(first.useCount(), 1);
    {
      Handle second = first;
      Handle third;
      third = second;
      EXPECT_EQ(first.useCount(), 3);
      EXPECT_EQ(third.get(), first.get());
      EXPECT_EQ(third->id, 1);
      EXPECT_EQ((*third).id, 1);
    }
    EXPECT_EQ(first.useCount(), 1);
    EXPECT_EQ(Tracked::destroyed, 0);
  }
  EXPECT_EQ(Tracked::destroyed, 1);
}

TEST_F(SharedPointer, AssigningLetsGoOfTheOldTarget) {
  Handle a(new Tracked(1));
  Handle b(new Tracked(2));
  a = b;
  EXPECT_EQ(Tracked::destroyed, 1) << "the old target had no other handle";
  EXPECT_EQ(a->id, 2);
  EXPECT_EQ(b.useCount(), 2);

  Handle& same = a;
  a = same;  // assigning a handle to itself keeps the object
  EXPECT_EQ(a.useCount(), 2);
  EXPECT_EQ(Tracked::destroyed, 1);

  // The new target is owned by the old one: it must survive the old one's destruction.
  Handle parent(new Tracked(3));
  parent->child.reset(new Tracked(4));
  parent = parent->child;
  EXPECT_EQ(Tracked::destroyed, 2);
  EXPECT_EQ(parent->id, 4);
  EXPECT_EQ(parent.useCount(), 1);
}

TEST_F(SharedPointer, ResetAlwaysStartsAFreshCounter) {
  Handle a(new Tracked(1));
  Handle b = a;
  a.reset(new Tracked(2));
  EXPECT_EQ(a.useCount(), 1);
  EXPECT_EQ(b.useCount(), 1);
  EXPECT_EQ(Tracked::destroyed, 0) << "b still holds the first object";

  a.reset(nullptr);
  EXPECT_EQ(Tracked::destroyed, 1);
  EXPECT_EQ(a.useCount(), 1) << "a fresh counter also for a null object";
  EXPECT_EQ(a.get(), nullptr);
  EXPECT_FALSE(a);
  Handle c = a;
  EXPECT_EQ(c.useCount(), 2);

  Handle empty;
  EXPECT_EQ(empty.useCount(), 0);
  EXPECT_FALSE(empty);
  EXPECT_TRUE(empty == c);  // both point at nothing
}

TEST_F(SharedPointer, MovesTransferTheReference) {
  Handle a(new Tracked(1));
  Handle b = std::move(a);
  EXPECT_EQ(b.useCount(), 1);
  EXPECT_EQ(a.useCount(), 0);  // a moved-from handle is empty
  Handle c(new Tracked(2));
  c = std::move(b);
  EXPECT_EQ(Tracked::destroyed, 1);
  EXPECT_EQ(c->id, 1);
}

TEST_F(SharedPointer, AnArrayOfHandlesReleasesWhatItDropsAndAddsEmptyHandles) {
  MyTl::FixedArray<Handle> handles;
  handles.push_back(Handle(new Tracked(1)));
  handles.push_back(Handle(new Tracked(2)));
  handles.resize(1);
  EXPECT_EQ(Tracked::destroyed, 1);
  handles.resize(3);
  EXPECT_EQ(handles[0]->id, 1);
  EXPECT_EQ(handles[2].get(), nullptr);
}

TEST(SharedPointerDeathTest, ReachingThroughAnEmptyHandleStopsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  Handle empty;
  EXPECT_DEATH(empty->id = 1, "SharedPointerST");
}
