// Includes from the platform layer below the shell into the game.
#include "GameHeaderCheck.h"

#include <algorithm>

namespace {

bool startsWith(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

}  // namespace

std::vector<std::string> GameHeaderCheck::findings() const {
  std::vector<std::string> found;
  for (const std::string& file : tree_.files()) {
    if (!startsWith(file, "platform/") || startsWith(file, "platform/shell/")) continue;
    for (const SourceTree::Include& include : tree_.includesOf(file)) {
      // A name the platform layer has a file of is its own, even if the game has one too.
      bool own = false;
      std::string game;
      for (const std::string& candidate : include.resolved) {
        if (startsWith(candidate, "platform/")) own = true;
        if (startsWith(candidate, "src/") && game.empty()) game = candidate;
      }
      const bool implemented = std::find(interfaces_.begin(), interfaces_.end(), game) != interfaces_.end();
      if (!own && !game.empty() && !implemented) found.push_back(file + " -> " + game);
    }
  }
  return found;
}
