// MessageDlgEdit: Ok and Cancel with the application's two pictures, the value stored back by
// reference, a logical false seventh argument refusing a blank entry, and the layout.
#include "uitest.h"

#include <QLineEdit>
#include <QPushButton>

#include "runtime/lang/symbols.h"
#include "ui/controls/edit.h"
#include "ui/dialogs/messagedlgedit.h"
#include "ui/forms/form.h"

using namespace kv;
using namespace kv::ui;
using namespace kv::ui::test;

namespace {

class MessageDlgEditTest : public UiTest {
 protected:
  // MESSAGEDLGEDIT with the variable `cell` by reference.
  int call(const Cell& cell, const char* picture, int width, const Value& seventh = Value()) {
    Symbol* s = findSymbol("MESSAGEDLGEDIT");
    EXPECT_TRUE(s && s->fn);
    std::vector<Value> args = {Value("Unos"),          Value("Broj primeraka:"),
                               Value::reference(cell), Value(picture),
                               Value(width),           Value(5)};
    if (!seventh.isNil()) args.push_back(seventh);
    return s->fn(Args(args.data(), args.size())).asInt();
  }
  static QPushButton* button(QWidget* dialog, const QString& text) {
    for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
      if (b->text() == text) return b;
    }
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
  }
  static QLineEdit* line(QWidget* dialog) { return dialog->findChild<QLineEdit*>(); }
};

}  // namespace

TEST_F(MessageDlgEditTest, NumericPictureOkStoresTheNumberCancelLeavesIt) {
  Watchdog dog;
  Cell n = newCell(Value(1));
  QRect editBox;
  whenModal([&](QWidget* d) {
    editBox = line(d)->geometry();
    EXPECT_EQ(QApplication::focusWidget(), line(d));
    EXPECT_TRUE(line(d)->alignment() & Qt::AlignRight);
    QTest::keyClicks(line(d), "4x567");  // the first key replaces the selected "1"
    QTest::mouseClick(button(d, "&Ok"), Qt::LeftButton);
  });
  EXPECT_EQ(call(n, "999", 50), 1);
  ASSERT_TRUE(n->isNumber());
  EXPECT_EQ(n->asInt(), 456);
  EXPECT_EQ(editBox.width(), 50);
  EXPECT_EQ(editBox.top(), 14);

  whenModal([&](QWidget* d) {
    QTest::keyClicks(line(d), "9");
    QTest::keyClick(line(d), Qt::Key_Escape);
  });
  EXPECT_EQ(call(n, "999", 50), 2);
  EXPECT_EQ(n->asInt(), 456);
  EXPECT_EQ(liveLibraryObjects(), 3u);  // the box was destroyed
}

TEST_F(MessageDlgEditTest, FiftyXCharacterEntry) {
  Watchdog dog;
  Cell s = newCell(Value(""));
  whenModal([&](QWidget* d) {
    QTest::keyClicks(line(d), QString(60, 'm'));
    QTest::mouseClick(button(d, "&Ok"), Qt::LeftButton);
  });
  EXPECT_EQ(call(s, "XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX", 150), 1);
  EXPECT_EQ(s->str(), std::string(50, 'm'));
  whenModal([&](QWidget* d) {
    QTest::keyClicks(line(d), "novo");
    QTest::mouseClick(button(d, "&Cancel"), Qt::LeftButton);
  });
  EXPECT_EQ(call(s, "XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX", 150), 2);
  EXPECT_EQ(s->str(), std::string(50, 'm'));
}

TEST_F(MessageDlgEditTest, LogicalFalseSeventhRefusesABlankEntry) {
  Watchdog dog;
  Cell s = newCell(Value("   "));
  bool stayedOpen = false;
  whenModal([&](QWidget* d) {
    QTest::mouseClick(button(d, "&Ok"), Qt::LeftButton);
    later(30, [&, d] {
      stayedOpen = QApplication::activeModalWidget() == d;
      EXPECT_EQ(QApplication::focusWidget(), line(d));
      EXPECT_EQ(line(d)->text(), "");
      QTest::keyClicks(line(d), "abc");
      QTest::mouseClick(button(d, "&Ok"), Qt::LeftButton);
    });
  });
  EXPECT_EQ(call(s, "XXXXXXXXXX", 150, Value(false)), 1);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(s->str(), "abc");
}

TEST_F(MessageDlgEditTest, Layout) {
  MessageDlgEditRequest request;
  request.caption = "Unos";
  request.prompt = "Naziv proizvodjaca:";
  request.value = Value("");
  request.editWidth = 150;
  Value formObj = makeMessageDlgEdit(request);
  Form* form = libraryAs<Form>(formObj);
  ASSERT_NE(form, nullptr);
  std::vector<WinControl*> c = form->childControls();
  ASSERT_EQ(c.size(), 5u);  // icon, label, edit, Ok, Cancel
  const int w = c[1]->width();
  EXPECT_EQ(c[2]->left(), w + 62);
  EXPECT_EQ(form->width(), std::max(w + 150 + 78, 232));
  EXPECT_EQ(form->height(), 110);
  const int first = ((form->width() - 140) / 16) * 5 - 3;
  EXPECT_EQ(c[3]->left(), first);
  EXPECT_EQ(c[4]->left(), form->width() - first - 77);
  EXPECT_EQ(c[3]->top(), 46);
  EXPECT_EQ(form->caption(), "Unos");
  form->destroy();
}

TEST_F(MessageDlgEditTest, AnAcceptanceRuleKeepsTheBoxOpenUntilItAcceptsOrIsCancelled) {
  MessageDlgEditRequest request;
  request.caption = "Unos";
  request.prompt = "Broj primeraka:";
  request.value = Value(1);
  request.picture = "999";
  request.editWidth = 50;
  request.accept = [](const Value& v) { return v.asInt() >= 1 && v.asInt() <= 999; };

  Watchdog dog;
  std::vector<bool> openAfterOk;
  whenModal([&](QWidget* d) {
    QTest::keyClicks(line(d), "0");
    QTest::mouseClick(button(d, "&Ok"), Qt::LeftButton);
    later(30, [&, d] {
      openAfterOk.push_back(QApplication::activeModalWidget() == d);
      EXPECT_EQ(QApplication::focusWidget(), line(d));
      QTest::keyClicks(line(d), "7");  // types over the refused entry
      QTest::mouseClick(button(d, "&Ok"), Qt::LeftButton);
    });
  });
  Value edited;
  EXPECT_EQ(runMessageDlgEdit(request, edited), 1);
  EXPECT_EQ(openAfterOk, std::vector<bool>{true});
  EXPECT_EQ(edited.asInt(), 7);

  whenModal([&](QWidget* d) {
    QTest::keyClicks(line(d), "0");
    QTest::mouseClick(button(d, "&Ok"), Qt::LeftButton);
    later(30, [d] { QTest::keyClick(line(d), Qt::Key_Escape); });
  });
  edited = Value();
  EXPECT_EQ(runMessageDlgEdit(request, edited), 2);
  EXPECT_TRUE(edited.isNil());
}
