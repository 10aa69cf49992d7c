#pragma once
// Drawing on a printer page and playing a recorded page onto a device. Pages are drawn in
// logical units (2048 to the inch); a page is played by mapping its logical size onto a
// target rectangle of the device (the whole sheet of a printer or PDF page, the page area of
// a preview), x and y scaled independently.
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPicture>
#include <QRect>
#include <QString>

#include "ui/printer/papergeometry.h"

namespace kv::ui {

class Font;

// The rectangle `mm` in the logical units of `g`: corners converted, the right and bottom
// edges exclusive as a painter's rectangles are.
QRect logicalRect(const PageGeometry& g, const MmRect& mm);

// The font of `font` sized for the logical space: its points as pixels of 2048 to the inch.
QFont pageFont(const Font& font);

// Text in `r`, clipped to it, its top at r's top, in `color` over the painter's current font
// and background mode. Alignment 0 puts its left edge at r's left, 2 its right edge at r's
// right, any other value centres it. Line breaks (CR LF, LF) start new lines; the text is
// never wrapped. An empty text draws nothing.
void drawPageText(QPainter& p, const QString& text, const QRect& r, int align, const QColor& color);

// A shadow 1 mm wide under the bottom edge of `mm` (shifted 1 mm right) and beside its right
// edge (shifted 1 mm down), filled black and outlined with the painter's pen.
void drawPageShadow(QPainter& p, const PageGeometry& g, const MmRect& mm);

// The size of a bitmap `imageWidth` x `imageHeight` drawn into {left, top, width, height}: a
// width of 0 becomes the one that keeps the image's proportions for the height, else a
// height of 0 the one for the width.
MmRect bitmapBox(const MmRect& box, int imageWidth, int imageHeight);

// Plays `page`, recorded in a logical space of `logical` units, onto the painter's device so
// that it fills `target` (device coordinates). The picture's own rescaling from the screen's
// to the device's resolution is undone, so logical units land where the mapping says.
void playPage(QPainter& p, const QPicture& page, const QSizeF& logical, const QRectF& target);

}  // namespace kv::ui
