#pragma once
// Test support for the string grid: a shown form with a grid on it, arrays of rows, and the
// colours of painted cells read back from a grab of the grid's window.
#include "../uitest.h"

#include <QImage>
#include <QScrollBar>

#include <string>

#include "ui/forms/application.h"
#include "ui/forms/form.h"
#include "ui/grid/gridcolors.h"
#include "ui/grid/gridheader.h"
#include "ui/grid/stringgrid.h"

namespace kv::ui::test {

// An array of `n` rows of `columns` cells, "r<row>c<column>".
inline Value gridRows(int n, int columns = 3) {
  Value rows = Value::newArray();
  for (int r = 1; r <= n; ++r) {
    Value row = Value::newArray();
    for (int c = 1; c <= columns; ++c) {
      row.arr()->items.emplace_back("r" + std::to_string(r) + "c" + std::to_string(c));
    }
    rows.arr()->items.push_back(row);
  }
  return rows;
}

inline Value strings(std::initializer_list<const char*> list) {
  Value a = Value::newArray();
  for (const char* s : list) a.arr()->items.emplace_back(s);
  return a;
}

inline Value numbers(std::initializer_list<int> list) {
  Value a = Value::newArray();
  for (int n : list) a.arr()->items.emplace_back(n);
  return a;
}

class GridTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = created(&TForm, applicationObject());
    send(form, "SetBounds", {Value(0), Value(0), Value(420), Value(300)});
    grid = created(&TStringGrid, form);
    send(grid, "SetBounds", {Value(10), Value(10), Value(360), Value(200)});
    send(grid, "_Header", {strings({"Broj", "Ime", "Status"})});
    send(grid, "_Sizes", {numbers({60, 150, 80})});
    send(form, "Show");
    window()->activateWindow();
    (void)QTest::qWaitForWindowActive(window());
  }
  StringGrid* lib() { return libraryAs<StringGrid>(grid); }
  QWidget* widget() { return lib()->windowIfMade(); }
  QWidget* window() { return libraryAs<Form>(form)->windowIfMade(); }
  GridHeader* header() { return widget()->findChild<GridHeader*>(); }
  QScrollBar* vertical() {
    for (QScrollBar* b : widget()->findChildren<QScrollBar*>()) {
      if (b->orientation() == Qt::Vertical) return b;
    }
    return nullptr;
  }
  int row() { return send(grid, "Row").asInt(); }
  int topRow() { return send(grid, "TopRow").asInt(); }
  int rowHeight() { return send(grid, "RowHeight").asInt(); }
  // The middle of the cell of visible row `i` (1 the first) and column `c`, near its right
  // edge where short texts leave the background bare.
  QPoint cellPoint(int i, int c) {
    int right = 0;
    for (int k = 1; k <= c; ++k) right += lib()->columnWidth(k);
    return QPoint(right - 4, header()->height() + (i - 1) * rowHeight() + rowHeight() / 2);
  }
  QImage shot() { return widget()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
  static QColor colour(int number) { return gridColor(number); }
  // The current row is inside the window.
  void expectCurrentRowVisible() {
    const int visible = lib()->visibleRows();
    EXPECT_LE(topRow(), row());
    EXPECT_LE(row(), topRow() + visible - 1);
    EXPECT_GE(topRow(), 1);
  }

  Value form;
  Value grid;
};

}  // namespace kv::ui::test
