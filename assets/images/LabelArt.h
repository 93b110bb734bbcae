// The words of the menu art: titles, menu buttons, the wide bars, the game-over heading and the
// start screen's line, each in its face, size, colour and glow. The generator paints the art
// without them; the game paints them over it at run time, in the player's language, through
// platform/render's LabelPainter. Coordinates are the art's logical pixels (the caller scales
// the context to the art scale); the look is Palette's current one.
#pragma once

#include <cairo.h>

#include "TextArt.h"

namespace LabelArt {

enum class Kind {
  TITLE,                // 200 x 52, glowing
  MENU_OPTION,          // 200 x 52 button at rest
  MENU_OPTION_PRESSED,  // the same, highlighted
  BAR,                  // 320 x 44 wide bar at rest
  BAR_PRESSED,          // the same, pressed
  GAME_OVER_HEADING,    // on GameOver_320x480: the fiery heading
  GAME_OVER_LINE,       // on GameOver_320x480: the line under it
  TAGLINE,              // on the start screen, under the balls
  SCORE_CAPTION,        // on EmptyBoard.png: the small caption left of the score
  LEVEL_CAPTION,        // on EmptyBoard.png: the small caption left of the level
  COMPACT_BAR,          // 320 x 31 slim bar under the Quick mode's board, at rest
  COMPACT_BAR_PRESSED,  // the same, pressed
};

// Paints `words` as `kind` on `cr`; returns how they were fitted into the label's space.
TextArt::Fitted paint(cairo_t* cr, Kind kind, const char* words);

}  // namespace LabelArt
