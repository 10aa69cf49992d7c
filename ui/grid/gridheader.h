#pragma once
// The grid's column header: a child window of the grid that draws the Header captions in the
// Sizes widths with the HeaderAlignments (0 left, 1 right, 2 centre) and the header font,
// starting at the grid's first visible column. A click on a caption reports its column; a
// press within a few pixels of a caption's right edge drags that divider, changing the
// column's width as the mouse moves, and the release reports the resize.
#include <QWidget>

namespace kv::ui {

class StringGrid;

class GridHeader : public QWidget {
 public:
  GridHeader(StringGrid* grid, QWidget* parent);

  // The column (1-based) whose caption lies under x, 0 for none; `divider` is set when x is on
  // that column's right edge.
  int columnAt(int x, bool* divider = nullptr) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  StringGrid* grid_;
  int dragColumn_ = 0;  // the column whose divider is being dragged
  int dragStart_ = 0;   // the column's left edge during the drag
  int pressColumn_ = 0;
};

}  // namespace kv::ui
