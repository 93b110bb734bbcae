// AtomicFileWriter: a save either replaces the whole file or leaves the old one alone.
#include <csignal>
#include <filesystem>
#include <iterator>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "AtomicFileWriter.h"
#include "TempFolder.h"

using MyTl::AtomicFileWriter;

namespace {

// How game code saves: through a plain File&.
void saveText(MyTl::File& file, const std::string& text) { file.write(text.data(), text.size()); }

// Saves `bytes` bytes to `path` while files may grow to `limit` bytes only; the commit's result.
bool commitUnderFileSizeLimit(const std::string& path, rlim_t limit, std::size_t bytes) {
  std::signal(SIGXFSZ, SIG_IGN);  // a failed write, not a killed process
  rlimit fileSize;
  fileSize.rlim_cur = limit;
  fileSize.rlim_max = limit;
  setrlimit(RLIMIT_FSIZE, &fileSize);
  AtomicFileWriter writer(path.c_str(), nullptr);
  saveText(writer, std::string(bytes, 'x'));
  return writer.commit();
}

}  // namespace

TEST(AtomicFileWriter, CommitReplacesTheContent) {
  TempFolder folder;
  const std::string path = folder.path("settings.dat");
  TempFolder::writeFile(path, "old content that is longer");
  bool ok = false;
  AtomicFileWriter writer(path.c_str(), &ok);
  ASSERT_TRUE(ok);
  saveText(writer, "new");
  EXPECT_EQ(writer.tell(), 3);
  EXPECT_EQ(TempFolder::contentOf(path), "old content that is longer") << "nothing visible before commit";
  EXPECT_TRUE(writer.commit());
  EXPECT_EQ(TempFolder::contentOf(path), "new");
  EXPECT_EQ(folder.entryCount(), 1) << "no temporary file left";
  EXPECT_FALSE(writer.commit()) << "a second commit has nothing to publish";
  EXPECT_EQ(TempFolder::contentOf(path), "new");
}

TEST(AtomicFileWriter, CreatesAMissingFileAndKeepsAnExistingFilesPermissions) {
  TempFolder folder;
  const std::string path = folder.path("new.dat");
  {
    AtomicFileWriter writer(path.c_str(), nullptr);
    saveText(writer, "abc");
    EXPECT_TRUE(writer.commit());
  }
  EXPECT_EQ(TempFolder::contentOf(path), "abc");

  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  {
    AtomicFileWriter writer(path.c_str(), nullptr);
    saveText(writer, "def");
    EXPECT_TRUE(writer.commit());
  }
  struct stat info;
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(AtomicFileWriter, WithoutCommitTheOldFileStaysAndTheTemporaryFileGoes) {
  TempFolder folder;
  const std::string path = folder.path("gameState.dat");
  TempFolder::writeFile(path, "saved game");
  {
    bool ok = false;
    AtomicFileWriter writer(path.c_str(), &ok);
    ASSERT_TRUE(ok);
    saveText(writer, "half a sav");
    writer.flush();
    EXPECT_EQ(folder.entryCount(), 2);
    EXPECT_EQ(TempFolder::contentOf(writer.temporaryPath().c_str()), "half a sav");
  }
  EXPECT_EQ(TempFolder::contentOf(path), "saved game");
  EXPECT_EQ(folder.entryCount(), 1);
}

TEST(AtomicFileWriter, CloseFinishesTheFileAndCommitStillPublishesIt) {
  TempFolder folder;
  const std::string path = folder.path("hiScores.dat");
  AtomicFileWriter writer(path.c_str(), nullptr);
  saveText(writer, "scores");
  MyTl::File& asFile = writer;
  asFile.close();
  EXPECT_FALSE(asFile.open(path.c_str(), true)) << "the writer only writes its own file";
  EXPECT_TRUE(writer.commit());
  EXPECT_EQ(TempFolder::contentOf(path), "scores");
}

TEST(AtomicFileWriter, AWriteThatGoesNowhereFailsTheCommit) {
  TempFolder folder;
  const std::string path = folder.path("hiScores.dat");
  TempFolder::writeFile(path, "old");
  AtomicFileWriter writer(path.c_str(), nullptr);
  saveText(writer, "scores");
  writer.close();
  EXPECT_EQ(writer.write("x", 1), 0u);  // after close: lost, so the file is incomplete
  EXPECT_FALSE(writer.commit());
  EXPECT_EQ(TempFolder::contentOf(path), "old");
  EXPECT_EQ(folder.entryCount(), 1);
}

TEST(AtomicFileWriter, AFolderThatCannotHoldTheFileWritesNothing) {
  TempFolder folder;
  TempFolder::writeFile(folder.path("plain"), "x");
  const std::string cases[] = {folder.path("missing/settings.dat"), folder.path("plain/settings.dat"), ""};
  for (const std::string& path : cases) {
    bool ok = true;
    AtomicFileWriter writer(path.c_str(), &ok);
    EXPECT_FALSE(ok) << path;
    EXPECT_EQ(writer.write("abc", 3), 0u);
    EXPECT_FALSE(writer.commit()) << path;
  }
  EXPECT_EQ(folder.entryCount(), 1);
  bool ok = true;
  AtomicFileWriter nullPath(nullptr, &ok);
  EXPECT_FALSE(ok);
}

TEST(AtomicFileWriter, AShortWriteFailsTheCommitAndKeepsTheOldFile) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  TempFolder folder;
  const std::string path = folder.path("settings.dat");
  TempFolder::writeFile(path, "old");
  // In a child process: files may grow to 100 bytes only, so a 100000-byte save comes up short.
  EXPECT_EXIT(std::exit(commitUnderFileSizeLimit(path, 100, 100000) ? 1 : 0), ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(TempFolder::contentOf(path), "old");
  EXPECT_EQ(folder.entryCount(), 1) << "the temporary file is removed";
}

// Something other than a regular file where a data file belongs (a FIFO, a folder) is never
// replaced, and opening it for reading neither blocks nor reads anything.
TEST(AtomicFileWriter, NonRegularFilesAreLeftAloneAndNeverWaitedOn) {
  TempFolder folder;
  const std::string fifo = folder.path("fifo.dat");
  const std::string directory = folder.path("directory.dat");
  ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
  std::filesystem::create_directory(directory);
  for (const std::string& path : {fifo, directory, std::string("/dev/zero")}) {
    SCOPED_TRACE(path);
    bool ok = true;
    MyTl::File reader(path.c_str(), &ok);  // would block forever on the FIFO
    EXPECT_FALSE(ok);
    MyTl::File writer(path.c_str(), false, false, true, &ok);
    EXPECT_FALSE(ok);
    AtomicFileWriter saver(path.c_str(), &ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(saver.commit());
    EXPECT_EQ("it is not a regular file", saver.failureReason());
  }
  struct stat info;
  ASSERT_EQ(0, ::lstat(fifo.c_str(), &info));
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  EXPECT_TRUE(std::filesystem::is_directory(directory));
  EXPECT_EQ(folder.entryCount(), 2);
}

// A data file that is a symbolic link is saved through to the file it names (a relative link
// against its own folder, a dangling one creating its target); the link stays a link.
TEST(AtomicFileWriter, SymbolicLinksAreSavedThroughToTheirTarget) {
  TempFolder folder;
  std::filesystem::create_directory(folder.path("elsewhere"));
  std::filesystem::create_directory(folder.path("data"));
  TempFolder::writeFile(folder.path("elsewhere/old.dat"), "old");
  std::filesystem::create_symlink("../elsewhere/old.dat", folder.path("data/relative.dat"));
  std::filesystem::create_symlink(folder.path("elsewhere/new.dat"), folder.path("data/dangling.dat"));
  for (const char* name : {"relative.dat", "dangling.dat"}) {
    const std::string link = folder.path(std::string("data/") + name);
    AtomicFileWriter writer(link.c_str(), nullptr);
    saveText(writer, name);
    EXPECT_TRUE(writer.commit()) << name;
    EXPECT_TRUE(std::filesystem::is_symlink(link)) << name;
    EXPECT_EQ(TempFolder::contentOf(link), name);
  }
  EXPECT_EQ(TempFolder::contentOf(folder.path("elsewhere/old.dat")), "relative.dat");
  EXPECT_EQ(TempFolder::contentOf(folder.path("elsewhere/new.dat")), "dangling.dat");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path("elsewhere")), {}), 2);

  // A loop of links is a failure with its reason, not a hang.
  std::filesystem::create_symlink("b.dat", folder.path("data/a.dat"));
  std::filesystem::create_symlink("a.dat", folder.path("data/b.dat"));
  bool ok = true;
  AtomicFileWriter looped(folder.path("data/a.dat").c_str(), &ok);
  EXPECT_FALSE(ok);
  EXPECT_FALSE(looped.failureReason().empty());
}
