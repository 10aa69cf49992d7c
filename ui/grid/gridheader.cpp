#include "ui/grid/gridheader.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionHeader>

#include "ui/core/eventrouter.h"
#include "ui/grid/stringgrid.h"

namespace kv::ui {

namespace {

constexpr int kDividerReach = 3;

}  // namespace

GridHeader::GridHeader(StringGrid* grid, QWidget* parent) : QWidget(parent), grid_(grid) {
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
}

int GridHeader::columnAt(int x, bool* divider) const {
  if (divider) *divider = false;
  int left = 0;
  for (int c = grid_->leftCol(); c <= grid_->columnCount(); ++c) {
    const int right = left + grid_->columnWidth(c);
    if (x >= right - kDividerReach && x <= right + kDividerReach) {
      if (divider) *divider = true;
      return c;
    }
    if (x >= left && x < right) return c;
    left = right;
    if (left > width()) break;
  }
  return 0;
}

void GridHeader::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(grid_->headerQFont());
  QStyleOptionHeader opt;
  opt.initFrom(this);
  opt.state |= QStyle::State_Raised;
  opt.rect = rect();
  style()->drawControl(QStyle::CE_HeaderEmptyArea, &opt, &painter, this);
  int left = 0;
  for (int c = grid_->leftCol(); c <= grid_->columnCount() && left < width(); ++c) {
    const int w = grid_->columnWidth(c);
    if (w > 0) {
      QStyleOptionHeader cell;
      cell.initFrom(this);
      cell.state |= QStyle::State_Raised | QStyle::State_Enabled;
      cell.rect = QRect(left, 0, w, height());
      cell.section = c - 1;
      cell.position = QStyleOptionHeader::Middle;
      style()->drawControl(QStyle::CE_HeaderSection, &cell, &painter, this);
      painter.setPen(grid_->headerTextColor());
      painter.drawText(cell.rect.adjusted(3, 0, -3, 0),
                       grid_->alignmentFlags(grid_->headerAlignment(c)) | Qt::AlignVCenter,
                       grid_->headerCaption(c));
    }
    left += w;
  }
}

void GridHeader::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  bool divider = false;
  const int x = event->position().toPoint().x();
  const int c = columnAt(x, &divider);
  pressColumn_ = divider ? 0 : c;
  if (divider && c > 0) {
    dragColumn_ = c;
    int left = 0;
    for (int i = grid_->leftCol(); i < c; ++i) left += grid_->columnWidth(i);
    dragStart_ = left;
  }
}

void GridHeader::mouseMoveEvent(QMouseEvent* event) {
  const int x = event->position().toPoint().x();
  if (dragColumn_ > 0) {
    grid_->setColumnWidth(dragColumn_, std::max(0, x - dragStart_));
    return;
  }
  bool divider = false;
  columnAt(x, &divider);
  setCursor(divider ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void GridHeader::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int x = event->position().toPoint().x();
  if (dragColumn_ > 0) {
    grid_->setColumnWidth(dragColumn_, std::max(0, x - dragStart_));
    dragColumn_ = 0;
    guarded([this] { grid_->columnResized(); });
    return;
  }
  const int c = pressColumn_;
  pressColumn_ = 0;
  if (c > 0 && c == columnAt(x) && rect().contains(event->position().toPoint())) {
    guarded([this, c] { grid_->headerClicked(c); });
  }
}

}  // namespace kv::ui
