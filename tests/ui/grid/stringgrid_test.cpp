// The string grid's data: the array held by reference, the current row and its position, the
// data operations sent through the language object, the settings' argument checks, and the
// colours OnDrawCell gives to painted cells.
#include "gridtest.h"

#include "runtime/lib/arrays.h"
#include "runtime/lang/codeblock.h"
#include "ui/core/classlang.h"

using namespace kv;
using namespace kv::ui;
using namespace kv::ui::test;

namespace {

class Grid : public GridTest {
 protected:
  // The first column's text of every row painted by one repaint, read by GetData from
  // inside OnDrawCell (the data cursor is the row being painted).
  std::vector<std::string> paintedFirstColumn() {
    std::vector<std::string> seen;
    send(grid, "_OnDrawCell", {makeBlock([this, &seen](Args a) {
           if (arg(a, 2).asInt() == 1) seen.emplace_back(send(grid, "GetData", {Value(1)}).str());
           return Value();
         })});
    send(grid, "Refresh");
    send(grid, "_OnDrawCell", {Value()});
    return seen;
  }
};

}  // namespace

TEST_F(Grid, AnEmptyArrayHasNoRowsAndPaintsNothingBelowTheHeader) {
  send(grid, "_Items", {Value::newArray()});
  EXPECT_EQ(send(grid, "DataRecordCount").asInt(), 0);
  EXPECT_EQ(row(), 0);
  EXPECT_EQ(send(grid, "GetData", {Value(1)}).str(), "");
  int drawn = 0;
  send(grid, "_OnDrawCell", {makeBlock([&drawn](Args) {
         ++drawn;
         return Value();
       })});
  const QImage image = shot();
  EXPECT_EQ(drawn, 0);
  const QColor back = colour(-6);
  for (int y = header()->height() + 1; y < widget()->height() - 20; y += 7) {
    for (int x = 0; x < 300; x += 13) ASSERT_EQ(QColor(image.pixel(x, y)), back) << x << "," << y;
  }
  // Keys on an empty grid move nothing.
  QTest::keyClick(widget(), Qt::Key_Down);
  EXPECT_EQ(row(), 0);
}

TEST_F(Grid, RowBelowOneIsTheFirstRow) {
  send(grid, "_Items", {gridRows(20)});
  for (int n : {0, -5, 1}) {
    send(grid, "_Row", {Value(7)});
    send(grid, "_Row", {Value(n)});
    EXPECT_EQ(row(), 1) << n;
    EXPECT_EQ(send(grid, "RowPos").asInt(), 1) << n;
    EXPECT_EQ(topRow(), 1) << n;
  }
}

TEST_F(Grid, RowMovesItsPositionByAsMuchAsTheRowWithinTheWindow) {
  send(grid, "_Items", {gridRows(200)});
  const int visible = lib()->visibleRows();
  ASSERT_GT(visible, 4);
  send(grid, "_Row", {Value(3)});  // from row 1 at position 1: position 3
  EXPECT_EQ(send(grid, "RowPos").asInt(), 3);
  send(grid, "_Row", {Value(200)});  // far below: the last visible position
  EXPECT_EQ(row(), 200);
  EXPECT_EQ(send(grid, "RowPos").asInt(), visible);
  EXPECT_EQ(topRow(), 200 - visible + 1);
  send(grid, "_Row", {Value(197)});  // inside the window: moves with the row
  EXPECT_EQ(send(grid, "RowPos").asInt(), visible - 3);
  send(grid, "_Row", {Value(10)});  // above the window: the current row at the top
  EXPECT_EQ(send(grid, "RowPos").asInt(), 1);
  EXPECT_EQ(topRow(), 10);
  expectCurrentRowVisible();
}

TEST_F(Grid, AShorterArrayLimitsTheCurrentRow) {
  send(grid, "_Items", {gridRows(50)});
  send(grid, "_Row", {Value(40)});
  send(grid, "_Items", {gridRows(10)});
  EXPECT_EQ(row(), 10);
  EXPECT_LE(send(grid, "RowPos").asInt(), 10);
  expectCurrentRowVisible();
  EXPECT_EQ(send(grid, "GetData", {Value(2)}).str(), "r10c2");
}

TEST_F(Grid, TheArrayIsHeldByReferenceSoASortShowsAfterRefresh) {
  Value rows = Value::newArray();
  for (const char* name : {"Petar", "Ana", "Zoran", "Milan"}) {
    Value r = Value::newArray();
    r.arr()->items.emplace_back(name);
    rows.arr()->items.push_back(r);
  }
  send(grid, "_Items", {rows});
  EXPECT_EQ(paintedFirstColumn(), (std::vector<std::string>{"Petar", "Ana", "Zoran", "Milan"}));
  ASORT(rows, Value(), Value(), makeBlock([](Args a) {
          return Value(arg(a, 0).arr()->items[0].str() < arg(a, 1).arr()->items[0].str());
        }));
  EXPECT_EQ(send(grid, "Items").arr(), rows.arr());
  EXPECT_EQ(paintedFirstColumn(), (std::vector<std::string>{"Ana", "Milan", "Petar", "Zoran"}));
}

TEST_F(Grid, GetDataAnswersEmptyBeyondTheDataAndForCellsThatAreNotStrings) {
  Value rows = gridRows(2);
  rows.arr()->items[1].arr()->items[1] = Value(42);
  send(grid, "_Items", {rows});
  struct Case {
    int row, column;
    const char* text;
  } cases[] = {{1, 1, "r1c1"}, {1, 3, "r1c3"}, {1, 4, ""}, {1, 0, ""},
               {2, 2, ""},     {3, 1, ""},     {0, 1, ""}};
  for (const Case& c : cases) {
    send(grid, "DataMoveTo", {Value(c.row)});
    EXPECT_EQ(send(grid, "GetData", {Value(c.column)}).str(), c.text) << c.row << "," << c.column;
  }
  send(grid, "DataFirst");
  send(grid, "DataNext");
  EXPECT_EQ(send(grid, "GetBookmark").asInt(), 2);
  EXPECT_FALSE(send(grid, "DataEof").asBool());
  send(grid, "DataNext");
  EXPECT_TRUE(send(grid, "DataEof").asBool());
}

TEST_F(Grid, SettingsThatWantAnArrayRaise6001AndKeepWhatTheyHad) {
  send(grid, "_Items", {gridRows(5)});
  for (const char* setter : {"_Items", "_Header", "_Sizes"}) {
    raised.clear();
    send(grid, setter, {Value("not an array")});
    ASSERT_EQ(raised.size(), 1u) << setter;
    EXPECT_EQ(raised[0].subCode, 6001) << setter;
    EXPECT_EQ(raised[0].subsystem, "GUI");
  }
  EXPECT_EQ(send(grid, "DataRecordCount").asInt(), 5);
  EXPECT_EQ(send(grid, "Header").arrayLen(), 3u);
  EXPECT_EQ(send(grid, "Sizes").arr()->items[1].asInt(), 150);
  raised.clear();
  send(grid, "_RowPos", {Value(3)});
  ASSERT_EQ(raised.size(), 1u);  // read-only
}

TEST_F(Grid, AHandlerColoursEveryRowButTheSelectedOneWhoseFontColourItStillSets) {
  send(grid, "_Items", {gridRows(6)});
  send(grid, "_RowSelect", {Value(true)});
  send(grid, "_Row", {Value(2)});
  const int green = rgbColor(0, 160, 0), red = rgbColor(220, 0, 0);
  send(grid, "_OnDrawCell", {makeBlock([=](Args a) {
         assignArg(a, 3, Value(red));
         assignArg(a, 4, Value(green));
         return Value();
       })});
  QImage image = shot();
  const int selection = lib()->hasFocus() ? -3 : -4;
  for (int c = 1; c <= 3; ++c) {
    EXPECT_EQ(QColor(image.pixel(cellPoint(1, c))), colour(green)) << c;
    EXPECT_EQ(QColor(image.pixel(cellPoint(2, c))), colour(selection)) << c;
    EXPECT_EQ(QColor(image.pixel(cellPoint(3, c))), colour(green)) << c;
  }
  // The selected row's text is drawn in the handler's red.
  bool reddish = false;
  const int y0 = header()->height() + rowHeight();
  for (int y = y0; y < y0 + rowHeight() && !reddish; ++y) {
    for (int x = 0; x < 60 && !reddish; ++x) {
      const QColor p(image.pixel(x, y));
      reddish = p.red() > 120 && p.green() < 80 && p.blue() < 120;
    }
  }
  EXPECT_TRUE(reddish);
  // Without AllowSelect the handler's background wins on the selected row too.
  send(grid, "_AllowSelect", {Value(false)});
  image = shot();
  EXPECT_EQ(QColor(image.pixel(cellPoint(2, 2))), colour(green));
}

TEST_F(Grid, WithoutRowSelectOnlyTheCurrentColumnsCellIsSelected) {
  send(grid, "_Items", {gridRows(4)});
  send(grid, "_Col", {Value(2)});
  const QImage image = shot();
  const int selection = lib()->hasFocus() ? -3 : -4;
  EXPECT_EQ(QColor(image.pixel(cellPoint(1, 1))), colour(-6));
  EXPECT_EQ(QColor(image.pixel(cellPoint(1, 2))), colour(selection));
  EXPECT_EQ(QColor(image.pixel(cellPoint(1, 3))), colour(-6));
}

TEST_F(Grid, ALanguageSubclassFeedsTheGridThroughTheDataOperations) {
  Value h = __CLASSDEF(Value("TBrojGrid"), makeBlock([](Args) { return Value(); }), TStringGrid());
  auto cursor = std::make_shared<int>(0);
  auto define = [&h](const char* name, MethodFn fn) {
    __CLASSMET(h, Value(1), Value(0), Value(name), Value(registerMethodTarget(std::move(fn))));
  };
  define("DataRecordCount", [](const Value&, Args) { return Value(1000); });
  define("DataMoveTo", [cursor](const Value&, Args a) {
    *cursor = arg(a, 0).asInt();
    return Value();
  });
  define("GetData", [cursor](const Value&, Args a) {
    return Value(std::to_string(*cursor * 10 + arg(a, 0).asInt()));
  });
  Value fed = __CLASSOBJ(h);
  send(fed, "Create", {form});
  send(fed, "SetBounds", {Value(10), Value(10), Value(300), Value(150)});
  send(fed, "_Header", {strings({"A", "B", "C"})});
  send(fed, "_Items", {Value::newArray()});  // the count comes from the subclass
  EXPECT_EQ(send(fed, "Row").asInt(), 1);
  send(fed, "_Row", {Value(900)});
  EXPECT_EQ(send(fed, "Row").asInt(), 900);
  std::vector<std::string> seen;
  send(fed, "_OnDrawCell", {makeBlock([&seen, fed](Args a) {
         if (arg(a, 1).asInt() == 900) seen.emplace_back(send(fed, "GetData", {arg(a, 2)}).str());
         return Value();
       })});
  QWidget* w = libraryAs<StringGrid>(fed)->windowIfMade();
  ASSERT_TRUE(w->isVisible());
  w->grab();
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen[0], "9001");
  EXPECT_EQ(seen[2], "9003");
  EXPECT_EQ(*cursor, 900);  // back on the current row after painting
}
