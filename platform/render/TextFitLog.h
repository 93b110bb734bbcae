// A record of how every text the game laid out fitted its box, for the screen tests that check
// every language: a label set smaller, wrapped or cut, or text with characters no font could
// show. Off (and free) unless a test switches it on. Written on the rendering thread by the text
// textures and the label painter; read by the test on the same thread.
#pragma once

#include <string>
#include <vector>

class TextFitLog {
 public:
  struct Entry {
    std::string text;
    double boxWidth = 0.0;   // the width the text had to fit in
    double boxHeight = 0.0;  // the height, or 0 when only the width counts
    double nominalSize = 0.0;
    double usedSize = 0.0;
    bool shrunk = false;
    bool wrapped = false;
    bool ellipsized = false;
    bool overflows = false;  // ink beyond the box even after fitting
    int unknownGlyphs = 0;
  };

  static void setRecording(bool on);
  static bool recording();
  static void record(const Entry& entry);
  // The entries recorded since the last call.
  static std::vector<Entry> take();
};
