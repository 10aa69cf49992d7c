#pragma once
// The string grid: a self-painted window control that shows a two-dimensional array as a
// scrolling table with a column header, a current row and a current column.
//
// Data. The grid keeps the array given to Items by reference and never copies it: sorting or
// changing the array and sending Refresh shows the change. The record count is taken when
// Items is given. The grid reads its data only through the data operations (DataFirst,
// DataNext, DataPrev, DataLast, DataMoveBy, DataMoveTo, DataEof, DataRecordCount,
// GetBookmark, SetBookmark, GetData), sent to its language object, so an application class
// can feed the grid from another source by overriding them. The library's own operations work
// on the array: the bookmark is the row number, and GetData reads the data cursor row, which
// is the row being painted while a row is painted and the current row otherwise.
//
// Rows. The current row (1-based; 0 while there is no data) sits at a position in the window
// (RowPos, 1 the first visible data row); the first visible row is current row - position + 1.
// Every move of the current row by the user fires OnChange afterwards, and keeps the current
// row visible.
//
// Painting. Each visible data cell starts with the colours of its kind: a cell of the selected
// row (the whole row with RowSelect, else only the current column's cell) the SelectedFont
// colour on SelectedFocusColor while the grid has the focus, else on SelectedUnfocusColor;
// other cells the colour of the grid's Font on NormalColor. OnDrawCell(Self, row, column, @font,
// @back, NIL) may change both; the font colour that comes back is used, the background too except
// on a selected cell while AllowSelect is true. The rectangle is filled with the background and the
// text drawn with the column's alignment one pixel below the top edge.
//
// Keys (after OnKeyDown): Down/Up a row, Page Down/Up a window of rows, Home/End the first or
// last row, Right/Left the columns (with RowSelect they scroll, else the current column moves
// and OnChange fires); Enter opens the cell editor when AllowEdit is set; other keys get the
// window control's handling. The wheel moves three rows a notch; the vertical scroll bar's
// actions act as the keys, its thumb moves to the thumb's row.
#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QPointer>
#include <QString>

#include <string>
#include <vector>

#include "ui/controls/wincontrol.h"

class QScrollBar;

namespace kv::ui {

class GridFont;
class GridHeader;

class StringGrid : public WinControl {
 public:
  StringGrid();

  // Items: the array held by reference; anything but an array raises library error 1.
  void setItems(const Value& items, Args args = {});
  const Value& items() const { return items_; }
  int recordCount() const { return count_; }

  int row() const { return row_; }
  int rowPos() const { return rowPos_; }
  int topRow() const { return row_ - rowPos_ + 1; }
  // _Row(n): n below 1 is 1; the position moves by as much as the row, limited to the whole
  // rows the window shows (0 becomes 1); the current row stays visible.
  void setRow(int n);
  int col() const { return col_; }
  void setCol(int n);
  int leftCol() const { return leftCol_; }
  void setLeftCol(int n);
  // Number of whole data rows the window shows (at least 1).
  int visibleRows() const;
  // Repaints the grid from its data.
  void refresh();
  void repaintGrid();

  // Moves of the user (keys, wheel, scroll bar, mouse): the current row becomes `n` (limited
  // to the data), the view is kept filled, and OnChange fires when the row changed.
  void moveRowBy(int delta);
  void moveRowTo(int n, int position);

  // Columns.
  int columnCount() const;
  int columnWidth(int c) const;
  void setColumnWidth(int c, int width);
  QString headerCaption(int c) const;
  int headerAlignment(int c) const;
  int cellAlignment(int c) const;
  static int alignmentFlags(int alignment);
  QFont headerQFont() const;
  QColor headerTextColor() const;
  void headerClicked(int c);
  void columnResized();
  // The column (1-based) and row whose cell lies under a point of the window; 0 for none.
  int columnAtX(int x) const;
  int rowAtY(int y) const;

  // The library's data operations on the array (the messages of the same names).
  int dataCursor() const { return cursor_; }
  void setDataCursor(int row) { cursor_ = row; }
  Value dataText(int column) const;

  // Settings the messages read and write.
  std::vector<std::string> header;
  std::vector<int> sizes;
  std::vector<int> alignments;
  std::vector<int> headerAlignments;
  std::vector<int> footerAlignments;
  std::vector<std::string> footer;
  bool rowSelect = false;
  bool allowSelect = true;
  bool allowEdit = false;
  bool autoExpand = false;
  bool multiLine = false;
  bool wordWrap = false;
  bool showFooter = false;
  bool showSearch = false;
  bool gridHorizontal = true;
  bool gridVertical = true;
  int gridLineColor = -16;  // system colour 15, the button face
  int focusStyle = 0;
  int borderStyle = 1;
  int fixedCols = 0;
  int normalColor = -6;           // system colour 5, the window background
  int selectedFocusColor = -3;    // system colour 2, the active caption
  int selectedUnfocusColor = -4;  // system colour 3, the inactive caption
  bool showHeader() const { return showHeader_; }
  void setShowHeader(bool on);
  int scrollBars() const { return scrollBars_; }
  void setScrollBars(int bars);
  int rowHeight() const;
  void setRowHeight(int pixels);
  void setHeaderCaptions(std::vector<std::string> captions);
  void setSizes(std::vector<int> widths);

  const Value& selectedFontObject() const { return selectedFontObject_; }
  const Value& headerFontObject() const { return headerFontObject_; }
  const Value& footerFontObject() const { return footerFontObject_; }

  bool handleEvent(QObject* watched, QEvent* event) override;
  void click() override;

 protected:
  QWidget* makeWidget(QWidget* parent) override;
  void applyState() override;
  bool paintsItself() const override { return true; }
  void paintContent(QPainter& painter) override;
  bool ownKey(int vk) override;
  void release() override;

 private:
  // The data operations, through the language object.
  void sendMoveTo(int row);
  Value sendGetData(int column);
  int sendRecordCount();
  void layoutChildren();
  void updateScrollBars();
  void verticalAction(int action);
  void horizontalAction(int action);
  void changed();
  int headerHeight() const;
  QRect bodyRect() const;
  int clampPosition(int row, int position) const;
  void drawCellText(QPainter& painter, const QRect& cell, const QString& text, int alignment,
                    bool selectedFont);

  Value items_;
  int count_ = 0;
  int row_ = 0;
  int rowPos_ = 1;
  int col_ = 1;
  int leftCol_ = 1;
  int cursor_ = 0;
  int rowHeight_ = 0;  // 0: from the font
  bool showHeader_ = true;
  int scrollBars_ = 3;
  bool pressOnCell_ = false;
  GridFont* selectedFont_ = nullptr;
  GridFont* headerFont_ = nullptr;
  GridFont* footerFont_ = nullptr;
  Value selectedFontObject_;
  Value headerFontObject_;
  Value footerFontObject_;
  QPointer<GridHeader> headerWidget_;
  QPointer<QScrollBar> vertical_;
  QPointer<QScrollBar> horizontal_;
  QHash<QString, QStaticText> textCache_;
  QFont cachedFonts_[2];
};

extern const LibClass kStringGridClass;
// TStringGrid(): a new grid and its language object.
Value TStringGrid();

}  // namespace kv::ui
