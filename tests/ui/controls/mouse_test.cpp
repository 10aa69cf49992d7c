// The mouse on window controls: events with client coordinates, clicks and double clicks go to
// the control under the mouse only.
#include "uitest.h"

#include "ui/controls/label.h"
#include "ui/controls/panel.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"

using namespace kv;
using namespace kv::ui;
using namespace kv::ui::test;

namespace {

class Mouse : public UiTest {
 protected:
  // A block that records "name event x y" for each call.
  Value recorder(const std::string& what) {
    return makeBlock([this, what](Args a) {
      std::string line = what;
      for (std::size_t i = 1; i < a.size(); ++i) line += " " + std::to_string(arg(a, i).asInt());
      log.push_back(line);
      return Value();
    });
  }
  void watch(const Value& obj, const std::string& name) {
    for (const char* e : {"OnMouseDown", "OnMouseUp", "OnClick", "OnDblClick"}) {
      send(obj, std::string("_") + e, {recorder(name + " " + e)});
    }
  }
  std::vector<std::string> log;
};

}  // namespace

TEST_F(Mouse, ClicksGoToTheControlUnderTheMouseInClientCoordinates) {
  Value form = created(&TForm, applicationObject());
  Value panel = created(&TPanel, form);
  send(panel, "SetBounds", {Value(20), Value(30), Value(150), Value(80)});
  Value label = created(&TLabel, panel);
  send(label, "SetPos", {Value(10), Value(12)});
  send(label, "_Caption", {Value("Korisnik")});
  watch(form, "form");
  watch(panel, "panel");
  watch(label, "label");
  send(form, "Show");
  QWidget* labelWindow = libraryAs<Label>(label)->windowIfMade();
  QTest::mouseClick(labelWindow, Qt::LeftButton, {}, QPoint(3, 4));
  EXPECT_EQ(log, (std::vector<std::string>{"label OnMouseDown 3 4", "label OnMouseUp 3 4",
                                           "label OnClick"}));
  log.clear();
  QTest::mouseClick(libraryAs<Panel>(panel)->windowIfMade(), Qt::LeftButton, {}, QPoint(140, 70));
  QTest::mouseClick(libraryAs<Form>(form)->clientWidget(), Qt::LeftButton, {}, QPoint(5, 6));
  EXPECT_EQ(log, (std::vector<std::string>{"panel OnMouseDown 140 70", "panel OnMouseUp 140 70",
                                           "panel OnClick", "form OnMouseDown 5 6",
                                           "form OnMouseUp 5 6", "form OnClick"}));
  log.clear();
  QTest::mouseDClick(labelWindow, Qt::LeftButton, {}, QPoint(3, 4));
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "label OnDblClick");
}

TEST_F(Mouse, AReleaseOutsideThePressedControlIsNoClick) {
  Value form = created(&TForm, applicationObject());
  Value panel = created(&TPanel, form);
  watch(panel, "panel");
  send(form, "Show");
  QWidget* w = libraryAs<Panel>(panel)->windowIfMade();
  QTest::mousePress(w, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(500, 5));
  EXPECT_EQ(log, (std::vector<std::string>{"panel OnMouseDown 5 5", "panel OnMouseUp 500 5"}));
}
