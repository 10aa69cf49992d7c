#include "ui/grid/gridcolors.h"

#include <array>

namespace kv::ui {

namespace {

// The classic desktop's system colours, by index.
constexpr std::array<int, 31> kSystemColors = {
    rgbColor(212, 208, 200),  // 0 scroll bar
    rgbColor(58, 110, 165),   // 1 desktop
    rgbColor(10, 36, 106),    // 2 active caption
    rgbColor(128, 128, 128),  // 3 inactive caption
    rgbColor(212, 208, 200),  // 4 menu
    rgbColor(255, 255, 255),  // 5 window
    rgbColor(0, 0, 0),        // 6 window frame
    rgbColor(0, 0, 0),        // 7 menu text
    rgbColor(0, 0, 0),        // 8 window text
    rgbColor(255, 255, 255),  // 9 caption text
    rgbColor(212, 208, 200),  // 10 active border
    rgbColor(212, 208, 200),  // 11 inactive border
    rgbColor(128, 128, 128),  // 12 application workspace
    rgbColor(10, 36, 106),    // 13 highlight
    rgbColor(255, 255, 255),  // 14 highlight text
    rgbColor(212, 208, 200),  // 15 button face
    rgbColor(128, 128, 128),  // 16 button shadow
    rgbColor(128, 128, 128),  // 17 grey text
    rgbColor(0, 0, 0),        // 18 button text
    rgbColor(212, 208, 200),  // 19 inactive caption text
    rgbColor(255, 255, 255),  // 20 button highlight
    rgbColor(64, 64, 64),     // 21 3D dark shadow
    rgbColor(212, 208, 200),  // 22 3D light
    rgbColor(0, 0, 0),        // 23 info text
    rgbColor(255, 255, 225),  // 24 info background
    rgbColor(181, 181, 181),  // 25 (unused)
    rgbColor(0, 0, 128),      // 26 hot light
    rgbColor(166, 202, 240),  // 27 gradient active caption
    rgbColor(192, 192, 192),  // 28 gradient inactive caption
    rgbColor(49, 106, 197),   // 29 menu highlight
    rgbColor(236, 233, 216),  // 30 menu bar
};

}  // namespace

QColor gridColor(int number) {
  if (number < 0) {
    const int n = -number - 1;
    number = n < static_cast<int>(kSystemColors.size()) ? kSystemColors[static_cast<std::size_t>(n)]
                                                        : kSystemColors[5];
  }
  return QColor(number & 0xFF, (number >> 8) & 0xFF, (number >> 16) & 0xFF);
}

}  // namespace kv::ui
