// The game binary's command line: --version and --help answer and exit; anything else is refused
// with the argument named on the first line, the usage after it, and status 2, before any
// window or file is touched.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

struct GameRun {
  int status = -1;
  std::string output;
};

// Runs the game with `arguments` (shell words) and no display; its status and standard error
// (or standard output, with `standardOutput`).
GameRun runGame(const std::string& arguments, bool standardOutput = false) {
  const std::string redirect = standardOutput ? " 2>/dev/null" : " 2>&1 >/dev/null";
  const std::string command =
      "env -u DISPLAY -u WAYLAND_DISPLAY timeout 30 '" PELLIX_GAME_BINARY "' " + arguments + redirect;
  GameRun run;
  FILE* game = ::popen(command.c_str(), "r");
  if (game == nullptr) return run;
  char buffer[256];
  while (std::fgets(buffer, sizeof(buffer), game) != nullptr) run.output += buffer;
  const int status = ::pclose(game);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(CommandLineTest, AWrongArgumentIsNamedBeforeTheUsage) {
  const struct {
    const char* arguments;
    const char* firstLine;
  } cases[] = {
      {"--foo", "pellix: unknown option '--foo'"},
      {"-f", "pellix: unknown option '-f'"},
      {"--fullscreen=yes", "pellix: unknown option '--fullscreen=yes'"},
      {"saved.dat", "pellix: unexpected argument 'saved.dat'"},
      {"--version --foo", "pellix: '--version' takes no further arguments, but '--foo' follows it"},
  };
  for (const auto& c : cases) {
    const GameRun run = runGame(c.arguments);
    EXPECT_EQ(2, run.status) << c.arguments;
    EXPECT_EQ(0u, run.output.find(std::string(c.firstLine) + "\nUsage: pellix [--help | --version]\n")) << run.output;
  }
}

TEST(CommandLineTest, HelpAndVersionAnswerOnStandardOutput) {
  const GameRun version = runGame("--version", true);
  EXPECT_EQ(0, version.status);
  EXPECT_EQ(0u, version.output.find("pellix ")) << version.output;
  const GameRun help = runGame("--help", true);
  EXPECT_EQ(0, help.status);
  EXPECT_EQ(0u, help.output.find("Usage: pellix [--help | --version]\n")) << help.output;
}

}  // namespace
