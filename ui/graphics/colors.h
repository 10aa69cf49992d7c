#pragma once
// Colours in the number form of the forms: red in the low byte, then green, then blue
// (16777215 white, 32896 olive). A negative number names a system colour by its low byte
// (button face, window text ...), taken from the application's Qt palette.
#include <QColor>

namespace kv::ui {

QColor colorOf(int colour);
int colorNumber(const QColor& color);

}  // namespace kv::ui
