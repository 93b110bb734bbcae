// GameHeaderCheck: where the files of the platform layer (platform/, but the shell that starts
// the game) include a header of the game (src/): the platform layer stands below the game and
// reaches it only through the shell. The tools library (tools/) is not the game. Used by the
// layering tests; holds a reference to the tree.
#pragma once

#include <string>
#include <vector>

#include "SourceTree.h"

class GameHeaderCheck {
 public:
  // "platform/render/R.cpp -> src/graphics/Texture.h", one line per include, in file order.
  explicit GameHeaderCheck(const SourceTree& tree) : tree_(tree) {}
  std::vector<std::string> findings() const;

 private:
  const SourceTree& tree_;
};
