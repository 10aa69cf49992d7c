#pragma once
// Shared set-up of the main window's order tests: the main form shown in its own data
// directory, every box of the application's message dialog recorded (a box with buttons
// answers g_answer, a wait box nil), and helpers that click, type and read the controls as a
// person meets them, and that store orders below the window.
#include "ui/uitest.h"

#include <QLineEdit>

#include <functional>
#include <string>
#include <vector>

#include "app/core/messagedlg.h"
#include "app/core/orderedit.h"
#include "app/core/orderrecord.h"
#include "engine/area/dbfunc.h"
#include "runtime/format/dates.h"
#include "support/main_window.h"
#include "ui/controls/wincontrol.h"
#include "ui/grid/stringgrid.h"

namespace kvtest {

struct RecordedBox {
  int type;
  std::string text;  // Windows-1250
  bool operator==(const RecordedBox&) const = default;
};

class OrderWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    boxes_.clear();
    answer_ = 6;
    onWaitBox_ = nullptr;
  }
  void TearDown() override {
    kv::app::setMessageDlg(nullptr);
    MainWindowTest::TearDown();
  }
  // Runs `check` with the main form shown and the boxes recorded.
  void withForm(const std::function<void(const kv::Value& form)>& check) {
    withMainForm([&](const kv::Value& form, kv::ui::Form& main) {
      kv::app::setMessageDlg(&recordingDlg);
      mainWindow_ = main.windowIfMade();
      check(form);
    });
  }

  static kv::Value recordingDlg(const kv::Value& text, const kv::Value& type, const kv::Value&,
                                const kv::Value&, const kv::Value&) {
    const int t = type.deref().asInt();
    boxes_.push_back({t, std::string(text.deref().str())});
    if (t == 4) {
      if (onWaitBox_) onWaitBox_(boxes_.back().text);
      return kv::Value();
    }
    return kv::Value(answer_);
  }
  // The boxes with buttons shown so far (wait boxes left out).
  static std::vector<RecordedBox> buttonBoxes() {
    std::vector<RecordedBox> out;
    for (const RecordedBox& b : boxes_)
      if (b.type != 4) out.push_back(b);
    return out;
  }

  static QWidget* widget(const kv::Value& form, const char* name) {
    auto* c = kv::ui::libraryAs<kv::ui::WinControl>(part(form, name));
    return c ? c->windowIfMade() : nullptr;
  }
  static void click(const kv::Value& form, const char* name) {
    QWidget* w = widget(form, name);
    ASSERT_TRUE(w) << name;
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2));
  }
  // Clicks into an edit and types `keys` over its whole text.
  static void typeInto(const kv::Value& form, const char* edit, const QString& keys) {
    QWidget* w = widget(form, edit);
    ASSERT_TRUE(w) << edit;
    QTest::mouseClick(w, Qt::LeftButton);
    typeOver(w, keys);
  }
  // Types `keys` over the whole text of the edit that has the focus.
  static void typeOver(QWidget* w, const QString& keys) {
    QTest::keyClick(w, Qt::Key_End);
    QTest::keyClick(w, Qt::Key_Home, Qt::ShiftModifier);
    QTest::keyClick(w, Qt::Key_Delete);
    typeKeys(w, keys);
  }
  // Types `keys` one key a character: a letter beyond ASCII (č, Đ) comes as the key a
  // national keyboard sends, one without a key code of its own, carrying its text.
  static void typeKeys(QWidget* w, const QString& keys) {
    for (const QChar c : keys) {
      if (c.unicode() < 128)
        QTest::keyClick(w, static_cast<char>(c.unicode()));
      else
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }
  // Types an order number and presses Enter in the number edit.
  static void findOrder(const kv::Value& form, int number) {
    typeInto(form, "eBrojNaloga", QString::number(number));
    QTest::keyClick(widget(form, "eBrojNaloga"), Qt::Key_Return);
  }
  static kv::Value caption(const kv::Value& form, const char* name) {
    return kv::send(part(form, name), "Caption");
  }
  static std::string text(const kv::Value& form, const char* name) {
    return render(caption(form, name));
  }
  static std::string trimmed(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  }
  static bool checked(const kv::Value& form, const char* name) {
    return kv::send(part(form, name), "Checked").asBool();
  }
  static bool commandsEnabled(const kv::Value& form) {
    const bool save = kv::send(part(form, "bSnimiNalog"), "Enabled").asBool();
    const bool del = kv::send(part(form, "bBrisiNalog"), "Enabled").asBool();
    EXPECT_EQ(save, del) << "save and delete are switched together";
    return save && del;
  }
  static bool focused(const kv::Value& form, const char* name) {
    return QApplication::focusWidget() == widget(form, name);
  }

  // An order stored below the window (no box asked), as if saved earlier.
  static void storeOrder(int number, const std::string& customer, const char* date = "13.02.2013",
                         bool zavrsen = false, bool uObradi = false) {
    kv::app::OrderForm f = kv::app::blankOrderForm(number, kv::CTOD(kv::Value(date)));
    f.korisnik = customer;
    f.zavrsen = zavrsen;
    f.uObradi = uObradi;
    f.naCekanju = !zavrsen && !uObradi;
    kv::Value rows = kv::Value::newArray();
    const int saved = answer_;
    answer_ = 6;
    kv::app::saveOrder(f, rows, nullptr);
    answer_ = saved;
  }
  // Positions the table on order `number`; false when there is none.
  static bool seekOrder(int number) {
    kv::engine::DBSELECTAREA(kv::Value("Nalozi"));
    return kv::engine::DBSEEK(kv::Value(kv::app::orderNumberText(number))).asBool();
  }
  static kv::Value field(const char* name) {
    return kv::engine::FIELDGET(kv::engine::FIELDPOS(kv::Value(name)));
  }
  static int storedRecords() {
    kv::engine::DBSELECTAREA(kv::Value("Nalozi"));
    return kv::engine::__LASTREC().asInt();
  }

  // The overview grid's rows and current row.
  static kv::ui::StringGrid* overview(const kv::Value& form) {
    return kv::ui::libraryAs<kv::ui::StringGrid>(part(form, "sgPregled"));
  }
  static int overviewRow(const kv::Value& form) { return overview(form)->row(); }
  static std::string overviewCell(int row, int column) {
    const kv::Value rows = kv::memvarGet("aPregled");
    return std::string(rows.arr()->items[row - 1].arr()->items[column - 1].str());
  }
  // Clicks a data row of the overview that is in view.
  static void clickOverviewRow(const kv::Value& form, int row) {
    kv::ui::StringGrid* grid = overview(form);
    ASSERT_TRUE(grid);
    QWidget* w = grid->windowIfMade();
    ASSERT_TRUE(w);
    int y = 0;
    while (y < w->height() && grid->rowAtY(y) != row) ++y;
    ASSERT_LT(y, w->height()) << "row " << row << " is not shown";
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(20, y + 2));
  }

  static inline std::vector<RecordedBox> boxes_;
  static inline int answer_ = 6;
  // Called with the text of every wait box as it is shown.
  static inline std::function<void(const std::string&)> onWaitBox_;
  static inline QWidget* mainWindow_ = nullptr;
};

// Windows-1250 bytes of a UTF-8 text of Serbian letters (č ć š ž đ and their capitals).
inline std::string cp1250(const QString& s) {
  std::string out;
  for (const QChar c : s) {
    switch (c.unicode()) {
      case u'č':
        out += '\xE8';
        break;
      case u'ć':
        out += '\xE6';
        break;
      case u'š':
        out += '\x9A';
        break;
      case u'ž':
        out += '\x9E';
        break;
      case u'đ':
        out += '\xF0';
        break;
      case u'Č':
        out += '\xC8';
        break;
      case u'Ć':
        out += '\xC6';
        break;
      case u'Š':
        out += '\x8A';
        break;
      case u'Ž':
        out += '\x8E';
        break;
      case u'Đ':
        out += '\xD0';
        break;
      default:
        out += static_cast<char>(c.unicode());
        break;
    }
  }
  return out;
}

}  // namespace kvtest
