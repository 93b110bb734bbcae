// Stone colours and the Stone record (a square together with a colour).
#pragma once

// The content of a square. 1 to 9 are the ordinary colours; every value above 9 is special.
enum StoneColour {
  SQUARE_EMPTY = 0,
  STONE_BLUE = 1,
  STONE_GREEN = 2,
  STONE_ORANGE = 3,
  STONE_RED = 4,
  STONE_MAGENTA = 5,
  STONE_LIGHT_BLUE = 6,
  STONE_PINK = 7,
  STONE_WHITE = 8,
  STONE_BROWN = 9,
  STONE_RAINBOW = 10,
  STONE_BOMB = 11,
};

inline bool isSpecialStone(int colour) { return colour > STONE_BROWN; }

// A square with a colour. The path search stores its step count in `colour`.
struct Stone {
  int x = -1;
  int y = -1;
  int colour = -1;

  Stone() = default;
  Stone(int column, int row, int stoneColour) : x(column), y(row), colour(stoneColour) {}
};
