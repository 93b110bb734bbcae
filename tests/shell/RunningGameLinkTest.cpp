// The raise request between two launches on real sockets in a temporary folder: where the socket
// lies, a request answered, a socket left by a game that died, a file that is not a socket, and
// no game at all.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "RunningGameLink.h"
#include "TempFolder.h"
#include "WholeFile.h"

namespace {

TEST(RunningGameLinkTest, TheSocketLiesInTheRuntimeFolderElseInTheDataFolder) {
  const std::string data = "/home/player/.local/share/pellix";
  const std::string inRuntime = RunningGameLink::socketPath(data, "/run/user/1000");
  EXPECT_EQ(0u, inRuntime.find("/run/user/1000/pellix-")) << inRuntime;
  EXPECT_EQ(inRuntime.size() - 7, inRuntime.find(".socket")) << inRuntime;
  // One name per data folder, the same at every launch.
  EXPECT_EQ(inRuntime, RunningGameLink::socketPath(data, "/run/user/1000"));
  EXPECT_NE(inRuntime, RunningGameLink::socketPath(data + "2", "/run/user/1000"));
  // No runtime folder, a relative one, or one too long for a socket's address.
  EXPECT_EQ(data + "/pellix.socket", RunningGameLink::socketPath(data, ""));
  EXPECT_EQ(data + "/pellix.socket", RunningGameLink::socketPath(data, "run/user"));
  EXPECT_EQ(data + "/pellix.socket", RunningGameLink::socketPath(data, "/" + std::string(120, 'r')));
  // Nowhere to put it.
  EXPECT_EQ("", RunningGameLink::socketPath("/" + std::string(120, 'd'), ""));
  EXPECT_EQ("", RunningGameLink::socketPath("", "/run/user/1000"));
}

class RunningGameLinkRequests : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    savedRuntime = runtime != nullptr ? runtime : "";
    hadRuntime = runtime != nullptr;
    ::unsetenv("XDG_RUNTIME_DIR");
    data = folder.str();
  }
  void TearDown() override {
    if (hadRuntime) ::setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
  }
  TempFolder folder{"pellix-link"};
  std::string data;
  std::string savedRuntime;
  bool hadRuntime = false;
};

TEST_F(RunningGameLinkRequests, ARequestIsAnsweredAndPassedOnAndTheSocketGoesWithTheGame) {
  EXPECT_FALSE(RunningGameLink::askToRaise(data, 500)) << "no game runs yet";
  std::atomic<int> raised{0};
  {
    RunningGameLink game;
    ASSERT_TRUE(game.listen(data, [&] { ++raised; }));
    EXPECT_TRUE(RunningGameLink::askToRaise(data, 5000));
    EXPECT_TRUE(RunningGameLink::askToRaise(data, 5000));
    EXPECT_EQ(2, raised.load());
  }
  EXPECT_FALSE(std::filesystem::exists(data + "/pellix.socket"));
  EXPECT_FALSE(RunningGameLink::askToRaise(data, 500));
}

TEST_F(RunningGameLinkRequests, ASocketLeftByAGameThatDiedIsReplaced) {
  // A bound socket nobody listens on any more, as a killed game leaves it.
  const std::string path = data + "/pellix.socket";
  const int left = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, path.size());
  ASSERT_EQ(0, ::bind(left, reinterpret_cast<const sockaddr*>(&address), sizeof(address)));
  ::close(left);
  EXPECT_FALSE(RunningGameLink::askToRaise(data, 500));

  std::atomic<int> raised{0};
  RunningGameLink game;
  ASSERT_TRUE(game.listen(data, [&] { ++raised; }));
  EXPECT_TRUE(RunningGameLink::askToRaise(data, 5000));
  EXPECT_EQ(1, raised.load());
}

TEST_F(RunningGameLinkRequests, AFileThatIsNoSocketIsLeftAlone) {
  const std::string path = data + "/pellix.socket";
  ASSERT_TRUE(testfiles::writeFile(path, std::string("the player's own")));
  RunningGameLink game;
  EXPECT_FALSE(game.listen(data, [] {}));
  EXPECT_EQ("the player's own", testfiles::readText(path));
  EXPECT_FALSE(RunningGameLink::askToRaise(data, 500));
}

TEST_F(RunningGameLinkRequests, AnythingButTheRequestIsNotPassedOn) {
  std::atomic<int> raised{0};
  RunningGameLink game;
  ASSERT_TRUE(game.listen(data, [&] { ++raised; }));
  const int other = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = data + "/pellix.socket";
  path.copy(address.sun_path, path.size());
  ASSERT_EQ(0, ::connect(other, reinterpret_cast<const sockaddr*>(&address), sizeof(address)));
  ASSERT_EQ(5, ::write(other, "quit\n", 5));
  char answer[8];
  // The game closes the connection without an answer.
  EXPECT_EQ(0, ::read(other, answer, sizeof(answer)));
  ::close(other);
  EXPECT_EQ(0, raised.load());
  // A request after it is still answered.
  EXPECT_TRUE(RunningGameLink::askToRaise(data, 5000));
  EXPECT_EQ(1, raised.load());
}

}  // namespace
