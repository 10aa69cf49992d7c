// The string grid under real input: keyboard walks, the wheel, the scroll bar, clicks on cells
// and on the header, and dragging a header divider.
#include "gridtest.h"

#include <QWheelEvent>

#include "runtime/lang/codeblock.h"

using namespace kv;
using namespace kv::ui;
using namespace kv::ui::test;

namespace {

class GridInput : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    send(grid, "_Items", {gridRows(200)});
    send(grid, "_OnChange", {makeBlock([this](Args) {
           ++changes;
           return Value();
         })});
    send(grid, "SetFocus");
  }
  void wheel(int notches) {
    const QPointF at(50, 60);
    QWheelEvent e(at, widget()->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget(), &e);
  }

  int changes = 0;
};

}  // namespace

TEST_F(GridInput, KeyboardWalksKeepTheCurrentRowVisible) {
  ASSERT_EQ(QApplication::focusWidget(), widget());
  const int visible = lib()->visibleRows();
  struct Step {
    Qt::Key key;
    int times;
    int row;  // expected afterwards
  } steps[] = {
      {Qt::Key_Down, 1, 2},
      {Qt::Key_Down, visible + 5, visible + 7},  // past the window: one row at a time
      {Qt::Key_Up, 3, visible + 4},
      {Qt::Key_PageDown, 1, 2 * visible + 4},
      {Qt::Key_PageUp, 2, 4},
      {Qt::Key_End, 1, 200},
      {Qt::Key_Down, 1, 200},
      {Qt::Key_PageUp, 1, 200 - visible},
      {Qt::Key_Home, 1, 1},
      {Qt::Key_Up, 1, 1},
  };
  for (const Step& s : steps) {
    for (int i = 0; i < s.times; ++i) {
      QTest::keyClick(widget(), s.key);
      expectCurrentRowVisible();
    }
    EXPECT_EQ(row(), s.row) << "after key " << s.key;
  }
  // Down past the window scrolled by one row: the current row sits on the last position.
  send(grid, "_Row", {Value(1)});
  for (int i = 0; i < visible + 1; ++i) QTest::keyClick(widget(), Qt::Key_Down);
  EXPECT_EQ(send(grid, "RowPos").asInt(), visible);
  EXPECT_EQ(topRow(), 3);
  // End shows a full window; Home at the first row fires nothing.
  QTest::keyClick(widget(), Qt::Key_End);
  EXPECT_EQ(topRow(), 200 - visible + 1);
  QTest::keyClick(widget(), Qt::Key_Home);
  const int before = changes;
  QTest::keyClick(widget(), Qt::Key_Home);
  EXPECT_EQ(changes, before);
}

TEST_F(GridInput, EveryRowMoveFiresOnChangeAndOnKeyDownComesFirst) {
  std::vector<int> keys;
  send(grid, "_OnKeyDown", {makeBlock([&keys](Args a) {
         keys.push_back(arg(a, 1).asInt());
         if (arg(a, 1).asInt() == 34) assignArg(a, 1, Value(0));  // swallows Page Down
         return Value();
       })});
  QTest::keyClick(widget(), Qt::Key_Down);
  QTest::keyClick(widget(), Qt::Key_Down);
  QTest::keyClick(widget(), Qt::Key_PageDown);
  EXPECT_EQ(row(), 3);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(keys, (std::vector<int>{40, 40, 34}));
}

TEST_F(GridInput, RightAndLeftMoveTheColumnOrScrollWithRowSelect) {
  QTest::keyClick(widget(), Qt::Key_Right);
  EXPECT_EQ(send(grid, "Col").asInt(), 2);
  EXPECT_EQ(changes, 1);
  QTest::keyClick(widget(), Qt::Key_Left);
  QTest::keyClick(widget(), Qt::Key_Left);
  EXPECT_EQ(send(grid, "Col").asInt(), 1);
  EXPECT_EQ(changes, 2);
  send(grid, "_RowSelect", {Value(true)});
  QTest::keyClick(widget(), Qt::Key_Right);
  EXPECT_EQ(send(grid, "LeftCol").asInt(), 2);
  EXPECT_EQ(send(grid, "Col").asInt(), 1);
}

TEST_F(GridInput, TheWheelMovesThreeRowsANotch) {
  int wheeled = 0;
  send(grid, "_OnMouseWheel", {makeBlock([&wheeled](Args a) {
         wheeled += arg(a, 1).asInt();
         return Value();
       })});
  wheel(-2);  // towards the user: down
  EXPECT_EQ(row(), 7);
  expectCurrentRowVisible();
  wheel(1);
  EXPECT_EQ(row(), 4);
  wheel(5);
  EXPECT_EQ(row(), 1);
  EXPECT_EQ(wheeled, 4);
  EXPECT_EQ(changes, 3);
}

TEST_F(GridInput, TheScrollBarActsAsTheKeys) {
  QScrollBar* bar = vertical();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->maximum(), 200);
  const int visible = lib()->visibleRows();
  struct Step {
    QAbstractSlider::SliderAction action;
    int row;
  } steps[] = {
      {QAbstractSlider::SliderSingleStepAdd, 2},
      {QAbstractSlider::SliderPageStepAdd, 2 + visible},
      {QAbstractSlider::SliderSingleStepSub, 1 + visible},
      {QAbstractSlider::SliderToMaximum, 200},
      {QAbstractSlider::SliderPageStepSub, 200 - visible},
      {QAbstractSlider::SliderToMinimum, 1},
  };
  for (const Step& s : steps) {
    bar->triggerAction(s.action);
    EXPECT_EQ(row(), s.row) << s.action;
    EXPECT_EQ(bar->value(), s.row);
    expectCurrentRowVisible();
  }
  bar->setSliderPosition(120);  // the thumb dragged to row 120
  EXPECT_EQ(row(), 120);
  expectCurrentRowVisible();
  // A real click on the bar below the thumb pages down.
  bar->setSliderPosition(1);
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier,
                    QPoint(bar->width() / 2, bar->height() - 30));
  EXPECT_EQ(row(), 1 + visible);
}

TEST_F(GridInput, AClickOnACellMovesThereThenFiresOnClick) {
  std::vector<std::string> events;
  send(grid, "_OnChange", {makeBlock([&events](Args) {
         events.emplace_back("change");
         return Value();
       })});
  send(grid, "_OnClick", {makeBlock([this, &events](Args) {
         events.push_back("click " + std::to_string(row()) + "/" +
                          std::to_string(send(grid, "Col").asInt()));
         return Value();
       })});
  QTest::mouseClick(widget(), Qt::LeftButton, Qt::NoModifier, cellPoint(4, 2));
  EXPECT_EQ(events, (std::vector<std::string>{"change", "click 4/2"}));
  // Below the last row of a short array nothing is clicked.
  send(grid, "_Items", {gridRows(2)});
  events.clear();
  QTest::mouseClick(widget(), Qt::LeftButton, Qt::NoModifier, cellPoint(5, 1));
  EXPECT_TRUE(events.empty());
}

TEST_F(GridInput, TheThirdHeaderCaptionGives3AndADraggedDividerResizes) {
  std::vector<int> clicked;
  int resized = 0;
  send(grid, "_OnHeaderClick", {makeBlock([&clicked](Args a) {
         clicked.push_back(arg(a, 1).asInt());
         return Value();
       })});
  send(grid, "_OnColResize", {makeBlock([&resized](Args) {
         ++resized;
         return Value();
       })});
  const int y = header()->height() / 2;
  QTest::mouseClick(header(), Qt::LeftButton, Qt::NoModifier, QPoint(60 + 150 + 40, y));
  QTest::mouseClick(header(), Qt::LeftButton, Qt::NoModifier, QPoint(30, y));
  EXPECT_EQ(clicked, (std::vector<int>{3, 1}));
  // The divider right of the first column, dragged 25 pixels right.
  QTest::mousePress(header(), Qt::LeftButton, Qt::NoModifier, QPoint(60, y));
  QTest::mouseMove(header(), QPoint(85, y));
  QTest::mouseRelease(header(), Qt::LeftButton, Qt::NoModifier, QPoint(85, y));
  EXPECT_EQ(resized, 1);
  EXPECT_EQ(send(grid, "Sizes").arr()->items[0].asInt(), 85);
  EXPECT_EQ(clicked.size(), 2u);
}
