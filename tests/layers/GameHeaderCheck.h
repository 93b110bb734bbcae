// GameHeaderCheck: where the files of the platform layer (platform/, but the shell that starts
// the game) include a header of the game (src/): the platform layer stands below the game and
// reaches it only through the shell. The tools library (tools/) is not the game, and the
// interfaces that the game declares for the platform layer to implement (such as the sound
// engine's) are the one sanctioned way up. Used by the layering tests; holds a reference to the
// tree.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "SourceTree.h"

class GameHeaderCheck {
 public:
  // "platform/render/R.cpp -> src/graphics/Texture.h", one line per include, in file order.
  // `interfaces`: the game's headers that the platform layer implements, e.g.
  // "src/sound/SoundEngine.h".
  explicit GameHeaderCheck(const SourceTree& tree, std::vector<std::string> interfaces = {})
      : tree_(tree), interfaces_(std::move(interfaces)) {}
  std::vector<std::string> findings() const;

 private:
  const SourceTree& tree_;
  const std::vector<std::string> interfaces_;
};
