#pragma once
// The program's own artwork, compiled into the executable (resources/, drawn by
// scripts/make-artwork): the icon "DAVAVODE", the banner bitmap "KVBANNER" (378 x 56), the
// pointing-hand cursor "crHandPoint", and the system bitmap 32738 (the combo-box arrow, on
// the olive mask colour 32896). Names are matched without regard to case.
#include <QCursor>
#include <QIcon>
#include <QImage>
#include <string>

namespace kv::ui {

// The bitmap resource of that name; a null image when there is none.
QImage resourceBitmap(const std::string& name);
// The system bitmap of that number; a null image for a number the library does not draw.
QImage systemBitmap(int id);
// The icon resource of that name; a null icon when there is none.
QIcon resourceIcon(const std::string& name);
// The cursor resource of that name; the arrow when there is none (`found` tells).
QCursor resourceCursor(const std::string& name, bool* found = nullptr);

}  // namespace kv::ui
