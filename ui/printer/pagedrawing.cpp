#include "ui/printer/pagedrawing.h"

#include <QPaintDevice>

#include <algorithm>

#include "ui/core/fonts.h"
#include "ui/core/text.h"
#include "ui/graphics/font.h"

namespace kv::ui {

QRect logicalRect(const PageGeometry& g, const MmRect& mm) {
  const int l = g.toLogicalX(mm.left), t = g.toLogicalY(mm.top);
  const int r = g.toLogicalX(mm.right), b = g.toLogicalY(mm.bottom);
  return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

QFont pageFont(const Font& font) {
  QFont f = font.qfont();
  f.setPixelSize(std::max(1, font.size() * kLogicalUnitsPerInch / 72));
  return f;
}

void drawPageText(QPainter& p, const QString& text, const QRect& r, int align,
                  const QColor& color) {
  if (text.isEmpty() || r.width() <= 0 || r.height() <= 0) return;
  const int horizontal = align == 0   ? Qt::AlignLeft
                         : align == 2 ? Qt::AlignRight
                                      : Qt::AlignHCenter;
  p.save();
  p.setClipRect(r, Qt::IntersectClip);
  p.setPen(color);
  // The text's box may be wider than the rectangle: it is laid out in a rectangle as high as
  // the page, anchored at the side the alignment names, and the clip cuts it at r.
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
  p.drawText(QRect(r.left(), r.top(), r.width(), 1 << 20), Qt::AlignTop | horizontal, shown);
  p.restore();
}

void drawPageShadow(QPainter& p, const PageGeometry& g, const MmRect& mm) {
  p.save();
  p.setBrush(Qt::black);
  p.drawRect(logicalRect(g, {mm.left + 1, mm.bottom, mm.right + 1, mm.bottom + 1}));
  p.drawRect(logicalRect(g, {mm.right, mm.top + 1, mm.right + 1, mm.bottom + 1}));
  p.restore();
}

MmRect bitmapBox(const MmRect& box, int imageWidth, int imageHeight) {
  MmRect r = box;  // {left, top, width, height}
  if (imageWidth > 0 && imageHeight > 0) {
    if (r.right == 0) {
      r.right = r.bottom * imageWidth / imageHeight;
    } else if (r.bottom == 0) {
      r.bottom = r.right * imageHeight / imageWidth;
    }
  }
  return {r.left, r.top, r.left + r.right, r.top + r.bottom};
}

void playPage(QPainter& p, const QPicture& page, const QSizeF& logical, const QRectF& target) {
  if (logical.width() <= 0 || logical.height() <= 0) return;
  p.save();
  p.translate(target.topLeft());
  p.scale(target.width() / logical.width(), target.height() / logical.height());
  // QPicture scales what it plays by the device's resolution over the one it was recorded
  // at; the mapping above already takes the page onto the device.
  const QPicture probe;
  const QPaintDevice* device = p.device();
  p.scale(static_cast<double>(probe.logicalDpiX()) / device->logicalDpiX(),
          static_cast<double>(probe.logicalDpiY()) / device->logicalDpiY());
  p.drawPicture(0, 0, page);
  p.restore();
}

}  // namespace kv::ui
