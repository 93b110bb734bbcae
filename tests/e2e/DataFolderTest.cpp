// End-to-end tests of the data folder as a careless disk or a second launch leaves it: odd files
// in place of the data files, a second game on the same folder, temporary files of a killed save.
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <X11/keysym.h>

#include "GameTestFixture.h"

namespace {

const char* const DATA_FILES[] = {"settings.dat", "gameState.dat", "hiScores.dat"};

class DataFolderTest : public GameTestFixture {
 protected:
  // Launches the game on whatever the data folder holds now and waits for its first frame.
  void launchAsItIs() {
    ASSERT_TRUE(session.launch());
    ASSERT_TRUE(session.waitForFirstFrame(20000)) << session.errorOutput();
    waitUntilReadyForInput();
  }
  std::string xdgDataHome() const { return std::filesystem::path(session.dataFolder()).parent_path().string(); }
};

// A FIFO, a folder, a link to /dev/zero or a dangling link where each data file belongs: the game
// starts as on a first launch, plays, exits normally, and leaves the odd files as they were.
TEST_F(DataFolderTest, OddFilesInPlaceOfTheDataFilesNeitherHangNorBreakTheGame) {
  const char* const kinds[] = {"fifo", "folder", "/dev/zero", "dangling link"};
  for (const std::string kind : kinds) {
    SCOPED_TRACE(kind);
    for (const char* name : DATA_FILES) {
      const std::string path = dataFile(name);
      std::filesystem::remove_all(path);
      if (kind == "fifo") {
        ASSERT_EQ(0, ::mkfifo(path.c_str(), 0600));
      } else if (kind == "folder") {
        std::filesystem::create_directory(path);
      } else if (kind == "/dev/zero") {
        std::filesystem::create_symlink("/dev/zero", path);
      } else {
        std::filesystem::create_symlink(std::string("target-") + name, path);
      }
    }
    ASSERT_NO_FATAL_FAILURE(launchAsItIs());
    // The game cannot save over such files: it says so once, then plays on.
    if (kind != "dangling link") {
      ASSERT_TRUE(waitForAlert(5000).shown()) << "no word that saving fails";
      ASSERT_TRUE(session.pressKey(XK_Return));
      EXPECT_TRUE(alertGoneFor(300));
    }
    leaveStartScreen();
    // X delivers the tap ahead of the close message sent after it, so the game handles the tap
    // (and any save it causes) before it closes.
    session.tap(60, 100);
    closeAndExpectNormalExit();

    for (const char* name : DATA_FILES) {
      const std::string path = dataFile(name);
      struct stat info;
      ASSERT_EQ(0, ::lstat(path.c_str(), &info)) << name;
      if (kind == "fifo") {
        EXPECT_TRUE(S_ISFIFO(info.st_mode)) << name;
      } else if (kind == "folder") {
        EXPECT_TRUE(S_ISDIR(info.st_mode)) << name;
      } else if (kind == "/dev/zero") {
        EXPECT_EQ("/dev/zero", std::filesystem::read_symlink(path).string()) << name;
      } else {
        // A dangling link is saved through: its target now holds the file.
        EXPECT_TRUE(std::filesystem::is_regular_file(path)) << name;
      }
    }
  }
}

// One game per data folder: a second launch says so and exits at once, the first plays on.
TEST_F(DataFolderTest, ASecondLaunchOnTheSameFolderSaysSoAndExits) {
  ASSERT_NO_FATAL_FAILURE(launchAsItIs());
  // Without a display: the answer must come before any window is tried.
  const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY XDG_DATA_HOME='" + xdgDataHome() +
                              "' ALSOFT_DRIVERS=null timeout 30 '" PELLIX_GAME_BINARY "' 2>&1";
  FILE* second = ::popen(command.c_str(), "r");
  ASSERT_NE(nullptr, second);
  std::string said;
  char buffer[256];
  while (std::fgets(buffer, sizeof(buffer), second) != nullptr) said += buffer;
  const int status = ::pclose(second);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(1, WEXITSTATUS(status)) << said;
  EXPECT_NE(std::string::npos, said.find("already running")) << said;
  EXPECT_NE(std::string::npos, said.find(session.dataFolder())) << said;

  leaveStartScreen();
  closeAndExpectNormalExit();
}

// Temporary files that a save killed half-way left behind are gone after the next start; other
// files in the folder stay.
TEST_F(DataFolderTest, StaleTemporaryFilesOfInterruptedSavesAreRemovedAtStart) {
  for (const char* name : DATA_FILES) ASSERT_TRUE(writeBytes(dataFile(std::string(name) + ".tmp-Ab3xYz"), {1, 2, 3}));
  ASSERT_TRUE(writeBytes(dataFile("notes.txt.tmp-Ab3xYz"), {4}));
  ASSERT_NO_FATAL_FAILURE(launchAsItIs());
  closeAndExpectNormalExit();
  for (const char* name : DATA_FILES) EXPECT_FALSE(std::filesystem::exists(dataFile(std::string(name) + ".tmp-Ab3xYz"))) << name;
  EXPECT_TRUE(std::filesystem::exists(dataFile("notes.txt.tmp-Ab3xYz")));
}

}  // namespace
