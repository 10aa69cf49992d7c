// The work-order overview with a shop's whole history: a string grid over 100,000 rows of
// seven columns, on Qt's offscreen platform. Giving the array (independent of its length),
// painting one screen with an OnDrawCell handler that colours by status, Down key presses
// each with its repaint, and Refresh after the array was sorted in place.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <cstdlib>
#include <string>

#include "runtime/lib/arrays.h"
#include "runtime/lang/codeblock.h"
#include "runtime/value/compare.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"
#include "ui/grid/gridcolors.h"
#include "ui/grid/stringgrid.h"
#include "ui/windowlibrary.h"

using namespace kv;
using namespace kv::ui;

namespace {

constexpr int kRows = 100000;
const char* const kStatuses[] = {"Preuzet", "U radu",
                                 "Zavr\x9A"
                                 "en"};

Value overviewRows() {
  Value rows = Value::newArray(kRows);
  for (int i = 0; i < kRows; ++i) {
    Value row = Value::newArray();
    auto& cells = row.arr()->items;
    char number[8];
    std::snprintf(number, sizeof number, "%05d", i + 1);
    cells.emplace_back(number);
    cells.emplace_back("01.02.2024");
    cells.emplace_back("Kupac " + std::to_string(i % 977));
    cells.emplace_back("Telefon " + std::to_string(i % 131));
    cells.emplace_back("Opis kvara broj " + std::to_string(i));
    cells.emplace_back("1200.00");
    cells.emplace_back(kStatuses[i % 3]);
    rows.arr()->items[static_cast<std::size_t>(i)] = row;
  }
  return rows;
}

Value numbers(std::initializer_list<int> list) {
  Value a = Value::newArray();
  for (int n : list) a.arr()->items.emplace_back(n);
  return a;
}

// One window library, one form with the overview grid, for the whole run.
struct Overview {
  Overview() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    registerWindowLibrary();
    startWindowLibrary();
    form = TForm();
    send(form, "Create", {applicationObject()});
    send(form, "SetBounds", {Value(0), Value(0), Value(800), Value(560)});
    grid = TStringGrid();
    send(grid, "Create", {form});
    send(grid, "_Align", {Value(5)});
    send(grid, "_RowSelect", {Value(true)});
    send(grid, "_ScrollBars", {Value(2)});
    send(grid, "_Sizes", {numbers({60, 80, 140, 100, 220, 70, 80})});
    rows = overviewRows();
    send(grid, "_Items", {rows});
    send(grid, "_OnDrawCell", {makeBlock([this](Args a) {
           send(grid, "DataMoveTo", {arg(a, 1)});
           const std::string_view status = send(grid, "GetData", {Value(7)}).str();
           if (status == "U radu") assignArg(a, 4, Value(rgbColor(255, 255, 170)));
           if (status == "Preuzet") assignArg(a, 4, Value(rgbColor(200, 230, 255)));
           return Value();
         })});
    send(form, "Show");
    send(grid, "SetFocus");
    QApplication::processEvents();
  }
  QWidget* widget() { return libraryAs<StringGrid>(grid)->windowIfMade(); }

  Value form, grid, rows;
};

Overview& overview() {
  static Overview* o = new Overview;  // lives to the end of the process
  return *o;
}

void BM_GridItems(benchmark::State& state) {
  Overview& o = overview();
  for (auto _ : state) send(o.grid, "_Items", {o.rows});
  state.counters["rows"] = kRows;
}
BENCHMARK(BM_GridItems)->Unit(benchmark::kMicrosecond);

void BM_GridPaintScreen(benchmark::State& state) {
  Overview& o = overview();
  send(o.grid, "_Row", {Value(5000)});
  for (auto _ : state) o.widget()->repaint();
  state.counters["visible_rows"] = libraryAs<StringGrid>(o.grid)->visibleRows();
}
BENCHMARK(BM_GridPaintScreen)->Unit(benchmark::kMicrosecond);

void BM_GridDownKeys(benchmark::State& state) {
  Overview& o = overview();
  QWidget* w = o.widget();
  for (auto _ : state) {
    send(o.grid, "_Row", {Value(1)});
    for (int i = 0; i < 1000; ++i) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
      QApplication::sendEvent(w, &press);
      QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
      QApplication::sendEvent(w, &release);
      w->repaint();
    }
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_GridDownKeys)->Unit(benchmark::kMillisecond);

void BM_GridRefreshAfterSort(benchmark::State& state) {
  Overview& o = overview();
  bool descending = false;
  Value byNumber = makeBlock(
      [&descending](Args a) {
        const Value& x = a[0].arr()->items[0];
        const Value& y = a[1].arr()->items[0];
        return Value(descending ? valueLess(y, x) : valueLess(x, y));
      },
      2);
  for (auto _ : state) {
    descending = !descending;
    ASORT(o.rows, Value(), Value(), byNumber);
    send(o.grid, "Refresh");
  }
}
BENCHMARK(BM_GridRefreshAfterSort)->Unit(benchmark::kMillisecond);

void BM_GridRefresh(benchmark::State& state) {
  Overview& o = overview();
  for (auto _ : state) send(o.grid, "Refresh");
}
BENCHMARK(BM_GridRefresh)->Unit(benchmark::kMicrosecond);

}  // namespace
