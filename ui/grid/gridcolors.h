#pragma once
// Colour numbers of the grid: a number of 0 or more is an RGB colour with red in the low byte,
// then green, then blue; a negative number -(n + 1) stands for the system colour with index n
// (5 the window background, 8 the window text, 2 and 3 the active and inactive caption ...).
#include <QColor>

namespace kv::ui {

// The colour a colour number stands for; system colours come from a table of the classic
// desktop's colours (an unknown index gives the window background).
QColor gridColor(int number);
// The number of system colour n (-(n + 1)).
constexpr int systemColor(int n) {
  return -(n + 1);
}
// An RGB colour number.
constexpr int rgbColor(int r, int g, int b) {
  return r | (g << 8) | (b << 16);
}

}  // namespace kv::ui
