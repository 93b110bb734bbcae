// Paints the words of the menu art at run time, in the player's language, over pictures the
// generator made without them: titles, menu buttons, the wide bars, the game-over heading, the
// start screen's line and the board's captions. The faces, sizes, colours and glows are the art's own (LabelArt); the look
// is the one whose pictures are in use (Resources' look folder), the language the catalogue's.
// A label too long for its space is set smaller, then wrapped, then cut with an ellipsis.
// Called by the game's textures on the rendering thread; the caller owns the pixels.
#pragma once

#include <cstdint>
#include <string>

class LabelPainter {
 public:
  enum Kind {
    TITLE,
    MENU_OPTION,
    MENU_OPTION_PRESSED,
    BAR,
    BAR_PRESSED,
    GAME_OVER_HEADING,
    GAME_OVER_LINE,
    TAGLINE,
    SCORE_CAPTION,
    LEVEL_CAPTION,
    COMPACT_BAR,
    COMPACT_BAR_PRESSED,
  };

  // Paints `words` as `kind` onto `pixels`: width x height premultiplied pixels in the game's
  // byte order (0xAABBGGRR), `scale` pixels per logical pixel, the picture's top-left at (0, 0).
  static void paint(uint32_t* pixels, int width, int height, int scale, Kind kind, const std::string& words);
};
