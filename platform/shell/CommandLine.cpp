// The game's arguments: --help or --version alone, or none.
#include "CommandLine.h"

#include "Translation.h"

CommandLine::CommandLine(int argc, const char* const* argv) {
  if (argc < 2) return;
  const std::string first = argv[1];
  if (first == "--help" || first == "--version") {
    if (argc == 2) {
      chosen = first == "--help" ? HELP : VERSION;
      return;
    }
    chosen = REFUSE;
    // TRANSLATORS: %1$s is --help or --version, %2$s what the player typed after it.
    wrong = Translation::format(tr("'%1$s' takes no further arguments, but '%2$s' follows it"), first.c_str(), argv[2]);
    return;
  }
  chosen = REFUSE;
  // "-" alone and "--" are not options; anything else that starts with a dash is.
  if (first.size() > 1 && first[0] == '-' && first != "--") {
    wrong = Translation::format(tr("unknown option '%1$s'"), first.c_str());
  } else {
    wrong = Translation::format(tr("unexpected argument '%1$s'"), first.c_str());
  }
}

const char* CommandLine::usage() {
  return tr(
      "Usage: pellix [--help | --version]\n"
      "Pellix, the five-in-a-row ball puzzle. The game keeps its settings, the game in\n"
      "progress and the high scores in $XDG_DATA_HOME/pellix/. The high-score server is\n"
      "named by PELLIX_SCORES_URL, else by scores_url in $XDG_CONFIG_HOME/pellix/preferences.\n"
      "Keys and files: man 6 pellix.\n");
}
