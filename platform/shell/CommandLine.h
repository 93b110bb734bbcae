// CommandLine: what the game's arguments ask for. The game takes --help and --version alone;
// anything else is refused with the argument named, before the usage. Read by main() before
// anything starts.
#pragma once

#include <string>

class CommandLine {
 public:
  enum Action { PLAY, HELP, VERSION, REFUSE };

  CommandLine(int argc, const char* const* argv);

  Action action() const { return chosen; }
  // For REFUSE: what is wrong, naming the argument ("unknown option '--foo'").
  const std::string& problem() const { return wrong; }
  // The usage and a few lines on where the game keeps its files.
  static const char* usage();

 private:
  Action chosen = PLAY;
  std::string wrong;
};
