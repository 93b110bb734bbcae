// Memory streams, the text builder and the console streams.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "Cerr.h"
#include "Cin.h"
#include "Cout.h"
#include "MemoryStreamOut.h"
#include "StandardStreams.h"
#include "StringStream.h"
#include "TempFolder.h"

using MyTl::MemoryStreamOut;
using MyTl::StringStream;

namespace {

// With standard input read from `input` (holding "hi"): Cin reports the full count, zero-fills
// what did not come, and is not seekable.
bool readsInputThroughCin(const std::string& input) {
  if (std::freopen(input.c_str(), "rb", stdin) == nullptr) return false;
  MyTl::Cin in;
  char buffer[4] = {'x', 'x', 'x', 'x'};
  bool countIsFull = in.read(buffer, 4) == 4;
  bool bytes = std::memcmp(buffer, "hi\0\0", 4) == 0;
  in.seekBegin(3);
  return countIsFull && bytes && !in.isSeekable() && in.tell() == 0;
}

}  // namespace

TEST(MemoryStreamOut, StartsWithItsInitialLengthAndGrowsToTheEndOfAWrite) {
  MemoryStreamOut stream(4);
  EXPECT_EQ(stream.bufferSize(), 4);
  EXPECT_EQ(stream.tell(), 0);
  EXPECT_TRUE(stream.isSeekable());

  EXPECT_EQ(stream.write("ab", 2), 1u);
  EXPECT_EQ(stream.bufferSize(), 4);
  EXPECT_EQ(stream.write("cdef", 4), 1u);
  EXPECT_EQ(stream.bufferSize(), 6);
  EXPECT_EQ(stream.tell(), 6);
  EXPECT_EQ(std::string(stream.getBuffer(), 6), "abcdef");

  stream.seekBegin(1);
  stream.write("X", 1);
  stream.seek(2);
  stream.write("Y", 1);
  EXPECT_EQ(std::string(stream.getBuffer(), 6), "aXcdYf");

  stream.seekBegin(8);  // past the end: the gap is filled with zeros
  stream.write("Z", 1);
  EXPECT_EQ(stream.bufferSize(), 9);
  EXPECT_EQ(std::string(stream.getBuffer(), 9), std::string("aXcdYf\0\0Z", 9));

  stream.seekBegin(0);
  stream.write(stream.getBuffer() + 1, 8);  // copying from itself
  EXPECT_EQ(std::string(stream.getBuffer(), 9), std::string("XcdYf\0\0ZZ", 9));
}

TEST(MemoryStreamOutDeathTest, RelativeSeekMustStayStrictlyInsideTheBuffer) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const char* message = "position \\+ offset > 0 && position \\+ offset < memory\\.size\\(\\) \\(Stream";
  MemoryStreamOut stream(10);
  stream.seekBegin(5);
  EXPECT_DEATH(stream.seek(5), message);
  EXPECT_DEATH(stream.seek(-5), message);
  EXPECT_DEATH(stream.seek(-100), message);
  stream.seek(4);
  EXPECT_EQ(stream.tell(), 9);
  stream.seek(-8);
  EXPECT_EQ(stream.tell(), 1);
}

TEST(StringStream, BuildsAnImageNameForTheCallerToTerminate) {
  StringStream stream;
  EXPECT_EQ(stream.bufferSize(), 4096);
  stream << "Title-" << MyTl::String("Anna") << "_200x52.png";
  EXPECT_EQ(stream.tell(), 21);
  char* buffer = const_cast<char*>(stream.getBuffer());
  buffer[stream.tell()] = '\0';  // what callers do
  EXPECT_STREQ(stream.getBuffer(), "Title-Anna_200x52.png");
}

TEST(StringStream, WritesNumbersAndIgnoresEmptyPieces) {
  StringStream stream(0);
  stream << "score " << 120 << " " << -7 << " " << 0 << static_cast<const char*>(nullptr) << MyTl::String() << "";
  EXPECT_EQ(stream.tell(), 14);
  EXPECT_STREQ(stream.c_str(), "score 120 -7 0");
  EXPECT_EQ(stream.tell(), 14);  // c_str does not move the position
  stream << "!";
  EXPECT_STREQ(stream.c_str(), "score 120 -7 0!");
}

TEST(ConsoleStreams, CoutPrintsWhenALineFeedComesAsAPieceOfItsOwn) {
  MyTl::Cout out;
  ::testing::internal::CaptureStdout();
  out << "abc";
  std::string afterFirstPiece = ::testing::internal::GetCapturedStdout();
  ::testing::internal::CaptureStdout();
  out << "\n";
  std::string afterLineFeed = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(afterFirstPiece, "");
  EXPECT_EQ(afterLineFeed, "abc\n");
  EXPECT_EQ(out.tell(), 0);

  ::testing::internal::CaptureStdout();
  out << "abc\n";
  std::string oneUnit = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(oneUnit, "") << "a line feed inside a piece does not flush";
  ::testing::internal::CaptureStdout();
  out.flush();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "abc\n");
}

TEST(ConsoleStreams, ProcessWideStreamsPrintToTheirOwnChannel) {
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  MyTl::cout << "to out " << 1 << "\n";
  MyTl::cerr << "to err " << 2 << "\n";
  std::string err = ::testing::internal::GetCapturedStderr();
  std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, "to out 1\n");
  EXPECT_EQ(err, "to err 2\n");
}

TEST(ConsoleStreams, CinReadsStandardInputAndAlwaysReportsTheFullCount) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  TempFolder folder;
  const std::string input = folder.path("input.txt");
  TempFolder::writeFile(input, "hi");
  // In a child process, whose standard input can be replaced without harm.
  EXPECT_EXIT(std::exit(readsInputThroughCin(input) ? 0 : 1), ::testing::ExitedWithCode(0), "");
}
