// MoveInfo: one move record of the saved game's move log. Nothing in the game creates records;
// the saved-game format reserves room for them and the loader accepts and logs them.
#pragma once

namespace MyTl {
class StreamIn;
}

struct MoveInfo {
  int type = -1;
  int data[4] = {-1, -1, -1, -1};
  int colour = -1;
  double time = -1.0;

  // Reads one record in the file's compact form and prints its log line; false on a short read
  // or an unknown type. Called through StreamIn::readArr by the board's loader.
  bool deserialize(MyTl::StreamIn& stream);
};
