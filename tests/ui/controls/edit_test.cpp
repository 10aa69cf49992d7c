// Edits, labelled edits and memos driven by real key events: pictures, the value's type,
// Windows-1250 letters across the Qt boundary, and characters the code page cannot hold.
#include "uitest.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <cstdio>
#include <fstream>

#include "runtime/format/dates.h"
#include "runtime/lang/settings.h"
#include "ui/controls/edit.h"
#include "ui/controls/label.h"
#include "ui/controls/labelededit.h"
#include "ui/controls/memo.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"

using namespace kv;
using namespace kv::ui;
using namespace kv::ui::test;

namespace {

// Sends one key press and release carrying `text`, as a keyboard with that letter does.
void typeLetter(QWidget* w, const QString& text) {
  QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, text, Qt::NoModifier);
  QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, text, Qt::NoModifier);
}

class Edits : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = created(&TForm, applicationObject());
    edit = created(&TEdit, form);
    other = created(&TEdit, form);
    send(other, "SetBounds", {Value(10), Value(40), Value(100), Value(21)});
    send(form, "Show");
    libraryAs<Form>(form)->window()->activateWindow();
  }
  QLineEdit* line(const Value& e) {
    return qobject_cast<QLineEdit*>(libraryAs<Edit>(e)->windowIfMade());
  }
  Value form, edit, other;
};

TEST_F(Edits, NumericPictureRefusesLettersAndKeepsSixDigits) {
  send(edit, "_Caption", {Value(0)});
  send(edit, "_Picture", {Value("999999")});
  send(edit, "SetFocus");
  QTest::keyClicks(line(edit), "12ab34567890");
  const Value v = send(edit, "Caption");
  ASSERT_TRUE(v.isNumber());
  EXPECT_EQ(v.asInt(), 123456);
  EXPECT_EQ(line(edit)->text(), "123456");
}

TEST_F(Edits, PointMovesToTheDecimalsAndTheFormattedValueShowsWithoutFocus) {
  send(edit, "_Caption", {Value(0)});
  send(edit, "_Picture", {Value("9,999,999.99")});
  send(edit, "SetFocus");
  QTest::keyClicks(line(edit), "1234.567");
  EXPECT_EQ(line(edit)->text(), "1234.56");
  EXPECT_DOUBLE_EQ(send(edit, "Caption").asDouble(), 1234.56);
  send(other, "SetFocus");
  EXPECT_EQ(line(edit)->text(), "1,234.56");
}

TEST_F(Edits, FiftyXTakesFiftyCharactersOfAnyKind) {
  send(edit, "_Caption", {Value("")});
  send(edit, "_Picture", {Value(std::string(50, 'X'))});
  send(edit, "SetFocus");
  QTest::keyClicks(line(edit), QString(48, 'a') + "-+xyz");
  std::string expected(48, 'a');
  expected.append("-+");
  EXPECT_EQ(send(edit, "Caption").str(), expected);
  QTest::keyClick(line(edit), Qt::Key_Backspace);
  QTest::keyClick(line(edit), Qt::Key_Home);
  QTest::keyClick(line(edit), Qt::Key_Delete);
  expected[0] = ' ';
  expected.pop_back();
  EXPECT_EQ(send(edit, "Caption").str(), expected);
}

TEST_F(Edits, DateAndLogicalPictures) {
  setSetting(kSetDateFormat, Value("dd.mm.yyyy"));
  send(edit, "_Caption", {Value::date(0)});
  send(edit, "_AutoSelect", {Value(false)});
  send(edit, "SetFocus");
  QTest::keyClicks(line(edit), "0903x2026");
  EXPECT_EQ(line(edit)->text(), "09.03.2026");
  EXPECT_EQ(send(edit, "Caption").julian(), julianFromCalendar(9, 3, 2026));
  send(other, "_Caption", {Value(false)});
  send(other, "_Picture", {Value("Y")});
  send(other, "SetFocus");
  QTest::keyClicks(line(other), "ty");
  EXPECT_EQ(line(other)->text(), "Y");
  EXPECT_TRUE(send(other, "Caption").asBool());
}

TEST_F(Edits, SerbianLettersArriveAsWindows1250Bytes) {
  send(edit, "_Caption", {Value("")});
  send(edit, "_Picture", {Value(std::string(20, 'X'))});
  send(edit, "SetFocus");
  const QString letters = QString::fromUtf8("čćšžđČĆŠŽĐ");
  for (QChar c : letters) typeLetter(line(edit), QString(c));
  EXPECT_EQ(send(edit, "Caption").str(), "\xE8\xE6\x9A\x9E\xF0\xC8\xC6\x8A\x8E\xD0");
  EXPECT_EQ(line(edit)->text(), letters);
  // Stored bytes show as the letters; what the code page cannot hold is refused.
  send(other, "_Caption",
       {Value("\x8A"
              "ab\x9E")});
  EXPECT_EQ(line(other)->text(), QString::fromUtf8("Šabž"));
  typeLetter(line(edit), QString::fromUtf8("Ж"));
  typeLetter(line(edit), QString::fromUtf8("😀"));
  EXPECT_EQ(send(edit, "Caption").str(), "\xE8\xE6\x9A\x9E\xF0\xC8\xC6\x8A\x8E\xD0");
  EXPECT_EQ(send(edit, "Caption").str().find('?'), std::string::npos);
}

TEST_F(Edits, PastedTextGoesThroughThePicture) {
  send(edit, "_Caption", {Value(0)});
  send(edit, "_Picture", {Value("9999")});
  send(edit, "SetFocus");
  QApplication::clipboard()->setText(QString::fromUtf8("1a2Ж3"));
  QTest::keyClick(line(edit), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(send(edit, "Caption").asInt(), 123);
}

TEST_F(Edits, OnChangeFiresForTheUsersChanges) {
  int changes = 0;
  send(edit, "_Caption", {Value("")});
  send(edit, "_Picture", {Value("XXX")});
  send(edit, "_OnChange", {makeBlock([&](Args) {
         ++changes;
         return Value();
       })});
  send(edit, "SetFocus");
  QTest::keyClicks(line(edit), "abcd");  // the fourth does not fit
  EXPECT_EQ(changes, 3);
}

TEST_F(Edits, LabeledEditKeepsItsLabelToTheLeft) {
  Value le = created(&TLabeledEdit, form);
  Label* label = libraryAs<Label>(send(le, "EditLabel"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->caption(), "Label:");
  EXPECT_EQ(label->owner(), libraryAs<Form>(form));
  send(le, "_LabelPosition", {Value(2)});
  send(le, "SetBounds", {Value(200), Value(100), Value(80), Value(21)});
  EXPECT_EQ(label->left() + label->width(), 200 - 3);
  EXPECT_EQ(label->top() + label->height() / 2, 100 + 21 / 2);
  send(le, "_LabelSpacing", {Value(10)});
  send(le, "_LabelCaption", {Value("Broj:")});
  EXPECT_EQ(label->left() + label->width(), 200 - 10);
  send(le, "_LabelPosition", {Value(3)});
  EXPECT_EQ(label->left(), 200 + 80 + 10);
  send(le, "_LabelPosition", {Value(0)});
  EXPECT_EQ(label->top() + label->height(), 100 - 10);
  send(le, "_EditLabel", {Value(1)});  // read-only
  ASSERT_EQ(raised.size(), 1u);
}

TEST_F(Edits, MemoLinesAndLoadFromFile) {
  Value memo = created(&TMemo, form);
  send(memo, "_Lines",
       {Value("prvi\r\n\x9A"
              "ef")});
  auto* w = qobject_cast<QPlainTextEdit*>(libraryAs<Memo>(memo)->windowIfMade());
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->toPlainText(), QString::fromUtf8("prvi\nšef"));
  send(memo, "SetFocus");
  w->moveCursor(QTextCursor::End);
  typeLetter(w, QString::fromUtf8("ž"));
  typeLetter(w, QString::fromUtf8("Ж"));
  QTest::keyClick(w, Qt::Key_Return);
  QTest::keyClicks(w, "x");
  EXPECT_EQ(send(memo, "Lines").str(),
            "prvi\r\n\x9A"
            "ef\x9E\r\nx");

  const std::string file = ::testing::TempDir() + "kv_memo_test.txt";
  std::ofstream(file, std::ios::binary) << "a\r\nb";
  send(memo, "LoadFromFile", {Value(file)});
  EXPECT_EQ(send(memo, "Lines").str(), "a\r\nb");
  std::remove(file.c_str());
  send(memo, "LoadFromFile", {Value(file)});
  EXPECT_EQ(send(memo, "Lines").str(), "");
  EXPECT_TRUE(raised.empty());
}

}  // namespace
