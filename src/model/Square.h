// Square: a board coordinate, column x (0 = left) and row y (0 = top); (-1, -1) is no square.
#pragma once

struct Square {
  int x = -1;
  int y = -1;

  Square() = default;
  Square(int column, int row) : x(column), y(row) {}

  bool operator==(const Square& other) const { return x == other.x && y == other.y; }
  bool operator!=(const Square& other) const { return !(*this == other); }
};

// Order of the square set: by column, then by row (x * 16 + y).
struct SquareKeyOrder {
  bool operator()(const Square& a, const Square& b) const { return a.x * 16 + a.y < b.x * 16 + b.y; }
};
