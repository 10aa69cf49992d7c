#include "ui/graphics/colors.h"

#include <QApplication>
#include <QPalette>

namespace kv::ui {

namespace {

// The palette role standing for each system colour index (0 scroll bar ... 24 info
// background); indexes past the table give the window colour.
QColor systemColor(int index) {
  const QPalette p = QApplication::palette();
  switch (index) {
    case 1:   // desktop
    case 12:  // application workspace
      return p.color(QPalette::Dark);
    case 2:  // active caption
    case 13:
      return p.color(QPalette::Highlight);
    case 3:   // inactive caption
    case 11:  // inactive border
      return p.color(QPalette::Inactive, QPalette::Highlight);
    case 5:  // window
      return p.color(QPalette::Base);
    case 6:   // window frame
    case 21:  // dark 3D shadow
      return p.color(QPalette::Shadow);
    case 7:  // menu text
    case 8:  // window text
      return p.color(QPalette::WindowText);
    case 9:   // caption text
    case 14:  // highlighted text
      return p.color(QPalette::HighlightedText);
    case 16:  // button shadow
      return p.color(QPalette::Mid);
    case 17:  // gray text
    case 19:
      return p.color(QPalette::Disabled, QPalette::WindowText);
    case 18:  // button text
      return p.color(QPalette::ButtonText);
    case 20:  // button highlight
      return p.color(QPalette::Light);
    case 22:  // 3D light
      return p.color(QPalette::Midlight);
    case 23:  // info text
      return p.color(QPalette::ToolTipText);
    case 24:  // info background
      return p.color(QPalette::ToolTipBase);
    case 0:   // scroll bar
    case 4:   // menu
    case 10:  // active border
    case 15:  // button face
    default:
      return p.color(QPalette::Button);
  }
}

}  // namespace

QColor colorOf(int colour) {
  if (colour < 0) return systemColor(colour & 0xFF);
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

int colorNumber(const QColor& color) {
  return color.red() | (color.green() << 8) | (color.blue() << 16);
}

}  // namespace kv::ui
