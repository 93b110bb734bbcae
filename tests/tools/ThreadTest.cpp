// Threads, the recursive mutex and its lock, the elapsed-time timer and the wall clock.
#include <atomic>
#include <chrono>
#include <sys/time.h>

#include <gtest/gtest.h>

#include "IntTimer.h"
#include "LinuxTimerPolicy.h"
#include "Lock.h"
#include "Mutex.h"
#include "PolicyBasedTimer.h"
#include "TestEnvironment.h"
#include "Thread.h"

using MyTl::Lock;
using MyTl::Mutex;
using MyTl::Thread;

namespace {

using Clock = std::chrono::steady_clock;

long msSince(Clock::time_point start) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// Polls `condition` for up to 10 s (scaled for a slow or loaded run).
template <class F>
bool eventually(F condition) {
  return testenv::waitUntil(condition, 10000);
}

// A body that returns at once.
class QuickThread : public Thread {
 public:
  QuickThread() : Thread("QuickThread") {}
  std::atomic<int> runs{0};

 protected:
  void run() override { ++runs; }
};

// A body that works until a stop is requested.
class StoppableThread : public Thread {
 public:
  StoppableThread() : Thread("StoppableThread") {}
  ~StoppableThread() override { WaitForStop(); }  // run() belongs to this part of the object
  std::atomic<bool> running{false};
  std::atomic<int> passes{0};

 protected:
  void run() override {
    running = true;
    while (!stopPending) {
      ++passes;
      sleep(1);
    }
  }
};

// A body that takes a while and ignores stop requests; reports its end to `done`.
class SlowThread : public Thread {
 public:
  SlowThread(long workMs, std::atomic<bool>& done) : Thread("SlowThread"), workMs(workMs), done(done) {}
  ~SlowThread() override { WaitForStop(); }  // before `done` (owned by the test) may go

 protected:
  void run() override {
    sleep(workMs);
    done = true;
  }

 private:
  long workMs;
  std::atomic<bool>& done;
};

}  // namespace

TEST(Thread, SleepAsksForSecondsAndNanoseconds) {
  struct Case {
    long ms;
    long seconds;
    long nanoseconds;
  };
  const Case cases[] = {{1500, 1, 500000000}, {0, 0, 0}, {999, 0, 999000000}, {2000, 2, 0}, {-5, 0, 0}};
  for (const Case& c : cases) {
    timespec asked = Thread::sleepDuration(c.ms);
    EXPECT_EQ(asked.tv_sec, c.seconds) << c.ms;
    EXPECT_EQ(asked.tv_nsec, c.nanoseconds) << c.ms;
  }
  Clock::time_point start = Clock::now();
  Thread::sleep(20);
  EXPECT_GE(msSince(start), 20);
}

TEST(Thread, RunsTheBodyOnceAndClearsStartedWhenItEnds) {
  QuickThread thread;
  EXPECT_FALSE(thread.started);
  EXPECT_STREQ(thread.name, "QuickThread");
  thread.start(Thread::P_NORMAL, true);
  ASSERT_TRUE(eventually([&] { return !thread.started; }));
  EXPECT_EQ(thread.runs, 1);
  thread.start(Thread::P_NORMAL, true);  // a finished thread can run again
  ASSERT_TRUE(eventually([&] { return !thread.started; }));
  EXPECT_EQ(thread.runs, 2);
}

TEST(Thread, StartingARunningThreadAgainIsRefused) {
  StoppableThread thread;
  EXPECT_TRUE(thread.start(Thread::P_NORMAL, true));
  ASSERT_TRUE(eventually([&] { return thread.running.load(); }));
  EXPECT_FALSE(thread.start(Thread::P_NORMAL, true));
  thread.WaitForStop();
  EXPECT_FALSE(thread.started);
  EXPECT_TRUE(thread.start(Thread::P_NORMAL, true)) << "once ended it can run again";
}

TEST(Thread, WaitForStopOnAFinishedThreadReturnsAtOnce) {
  QuickThread thread;
  thread.start(Thread::P_NORMAL, true);
  ASSERT_TRUE(eventually([&] { return !thread.started; }));
  Clock::time_point start = Clock::now();
  thread.WaitForStop();
  EXPECT_LT(msSince(start), 1000) << "no polling pause for a body that has ended";
  EXPECT_FALSE(thread.stopPending);

  QuickThread neverStarted;
  neverStarted.WaitForStop();
  EXPECT_FALSE(neverStarted.stopPending);
}

TEST(Thread, WaitForStopAsksTheBodyToEndAndWaitsForIt) {
  StoppableThread thread;
  thread.start(Thread::P_NORMAL, true);
  ASSERT_TRUE(eventually([&] { return thread.running.load(); }));
  thread.WaitForStop();
  EXPECT_FALSE(thread.started);
  EXPECT_FALSE(thread.stopPending);
  int passes = thread.passes;
  Thread::sleep(20);
  EXPECT_EQ(thread.passes, passes) << "the body has really ended";
}

TEST(Thread, DestructionWaitsForTheBody) {
  std::atomic<bool> done{false};
  {
    SlowThread thread(100, done);
    thread.start(Thread::P_NORMAL, true);
  }
  EXPECT_TRUE(done);
}

// About 30 s: run by hand with --gtest_also_run_disabled_tests.
TEST(Thread, DISABLED_WaitForStopGivesUpOnABodyThatNeverEnds) {
  std::atomic<bool> release{false};
  class Stubborn : public Thread {
   public:
    explicit Stubborn(std::atomic<bool>& release) : Thread("Stubborn"), release(release) {}
    ~Stubborn() override {
      release = true;
      WaitForStop();
    }

   protected:
    void run() override {
      while (!release) sleep(5);
    }

   private:
    std::atomic<bool>& release;
  } thread(release);
  thread.start(Thread::P_NORMAL, true);
  Clock::time_point start = Clock::now();
  thread.WaitForStop();
  long waited = msSince(start);
  EXPECT_GT(waited, 30000);
  EXPECT_LT(waited, 40000);
  EXPECT_TRUE(thread.stopPending);
  EXPECT_TRUE(thread.started);
}

// A thread that takes `m` and then reports that it got it.
class MutexTaker : public Thread {
 public:
  MutexTaker(Mutex& m, std::atomic<bool>& got) : Thread("MutexTaker"), m(m), got(got) {}
  ~MutexTaker() override { WaitForStop(); }

 protected:
  void run() override {
    Lock lock(m);
    got = true;
  }

 private:
  Mutex& m;
  std::atomic<bool>& got;
};

TEST(Mutex, IsRecursiveAndFreeAfterAsManyUnlocksAsLocks) {
  Mutex mutex;
  EXPECT_FALSE(mutex.isInited());
  mutex.lock();
  EXPECT_TRUE(mutex.isInited());
  mutex.lock();
  {
    Lock nested(mutex);
    EXPECT_TRUE(nested.holdsLock());
  }
  mutex.unlock();
  mutex.unlock();

  std::atomic<bool> gotIt{false};
  MutexTaker other(mutex, gotIt);
  other.start(Thread::P_NORMAL, true);
  EXPECT_TRUE(eventually([&] { return gotIt.load(); })) << "another thread can take the freed mutex";
}

TEST(Mutex, ALockThatDidNotLockNeitherLocksNorUnlocks) {
  Mutex mutex;
  {
    Lock idle(mutex, false);
    EXPECT_FALSE(idle.holdsLock());
    EXPECT_FALSE(mutex.isInited());
  }
  // Had the idle lock unlocked, this thread's own hold would now be gone.
  mutex.lock();
  {
    Lock idle(mutex, false);
  }
  std::atomic<bool> gotIt{false};
  MutexTaker other(mutex, gotIt);
  other.start(Thread::P_NORMAL, true);
  Thread::sleep(50);
  EXPECT_FALSE(gotIt) << "the mutex is still held by this thread";
  mutex.unlock();
  EXPECT_TRUE(eventually([&] { return gotIt.load(); }));
}

TEST(Mutex, LocksKeepTwoThreadsApart) {
  Mutex mutex;
  long counter = 0;
  class Adder : public Thread {
   public:
    Adder(Mutex& m, long& counter) : Thread("Adder"), m(m), counter(counter) {}
    ~Adder() override { WaitForStop(); }

   protected:
    void run() override {
      for (int i = 0; i < 200000; ++i) {
        Lock lock(m);
        Lock again(m);
        ++counter;
      }
    }

   private:
    Mutex& m;
    long& counter;
  };
  {
    Adder first(mutex, counter);
    Adder second(mutex, counter);
    first.start(Thread::P_NORMAL, true);
    second.start(Thread::P_NORMAL, true);
  }
  EXPECT_EQ(counter, 400000);
}

namespace {

// A clock the test sets by hand, in microseconds.
struct ManualClock {
  static double now;
  static double GetCurrentTimeInOwnUnits() { return now; }
  static constexpr double UNITS_PER_MS = 1000.0;
};
double ManualClock::now = 0.0;

}  // namespace

TEST(PolicyBasedTimer, MeasuresMillisecondsAndRestartsWhenTheClockJumps) {
  ManualClock::now = 5e6;
  MyTl::PolicyBasedTimer<ManualClock> timer;
  ManualClock::now += 1500.0;
  EXPECT_DOUBLE_EQ(timer.TimePassedInMs(), 1.5);
  ManualClock::now -= 10000.0;  // the clock was set back
  EXPECT_DOUBLE_EQ(timer.TimePassedInMs(), 0.0);
  ManualClock::now += 2000.0;
  EXPECT_DOUBLE_EQ(timer.TimePassedInMs(), 2.0) << "measured from the reset";
  ManualClock::now += 3e13 + 1e7;  // more than 3e10 ms ahead
  EXPECT_DOUBLE_EQ(timer.TimePassedInMs(), 0.0);
  ManualClock::now += 3e13;  // exactly 3e10 ms is still a duration
  EXPECT_DOUBLE_EQ(timer.TimePassedInMs(), 3e10);

  MyTl::PolicyBasedTimer<MyTl::LinuxTimerPolicy> real;
  Thread::sleep(10);
  double passed = real.TimePassedInMs();
  EXPECT_GE(passed, 9.0);
  EXPECT_LT(passed, 5000.0);
}

TEST(IntTimer, CountsMillisecondsInWrappingThirtyTwoBitArithmetic) {
  EXPECT_EQ(IntTimer::millisecondsOf(0, 0), 0);
  EXPECT_EQ(IntTimer::millisecondsOf(2, 345999), 2345);
  EXPECT_EQ(IntTimer::millisecondsOf(2147483, 647000), 2147483647);
  EXPECT_EQ(IntTimer::millisecondsOf(2147483, 648000), -2147483647 - 1);  // wraps
  EXPECT_EQ(IntTimer::millisecondsOf(4294967, 296000), 0);
  // Differences across the wrap stay right.
  int before = IntTimer::millisecondsOf(2147483, 600000);
  int after = IntTimer::millisecondsOf(2147483, 700000);
  EXPECT_EQ(static_cast<int>(static_cast<unsigned>(after) - static_cast<unsigned>(before)), 100);

  timeval now;
  gettimeofday(&now, nullptr);
  int expected = IntTimer::millisecondsOf(now.tv_sec, now.tv_usec);
  int got = IntTimer::getGlobalTimeInMs();
  EXPECT_LT(static_cast<int>(static_cast<unsigned>(got) - static_cast<unsigned>(expected)), 1000);
}
