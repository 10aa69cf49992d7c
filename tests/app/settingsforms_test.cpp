// The header form and the clause form as a person meets them, on Qt's offscreen platform with
// real key and mouse events, every modal loop under a watchdog: the header form's placeholders
// with no settings file, a save with the first line emptied (which reads back as the
// placeholder), Odustani that writes nothing, its look against the stored picture; the clause
// form loading klauzula.txt, saving the memo's lines each ended by CR LF, and a save that fails,
// which names the file and keeps the form open with the text.
#include "ui/uitest.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

#include "app/core/settingscommands.h"
#include "app/core/clausefile.h"
#include "app/core/messagedlg.h"
#include "app/core/settingsfile.h"
#include "app/fklauzula.h"
#include "app/fzaglavlje.h"
#include "support/datadir_fixture.h"
#include "ui/controls/memo.h"
#include "ui/core/libobject.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"

using namespace kv;
using namespace kv::ui::test;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> g_boxes;  // "N: text"

Value recordingDlg(const Value& text, const Value& type, const Value&, const Value&, const Value&) {
  g_boxes.push_back(std::to_string(type.deref().asInt()) + ": " + std::string(text.deref().str()));
  return Value(1);
}

const char* kHeaderReference = KV_TEST_DATA_DIR "/ui/zaglavlje_form.png";

class SettingsForms : public kvtest::DataDirTest {
 protected:
  void SetUp() override {
    DataDirTest::SetUp();
    static bool registered = false;
    if (!registered) ui::registerWindowLibrary();
    registered = true;
    ui::startWindowLibrary();
    app::setSettingsDir(dir_.string());
    app::setMessageDlg(&recordingDlg);
    g_boxes.clear();
  }
  void TearDown() override {
    app::setMessageDlg(nullptr);
    app::setSettingsDir("");
    ui::stopWindowLibrary();
    DataDirTest::TearDown();
  }
  static QWidget* widgetOf(const Value& form, const char* name) {
    auto* c = ui::libraryAs<ui::WinControl>(send(form, name));
    return c ? c->windowIfMade() : nullptr;
  }
  static std::string text(const Value& form, const char* name) {
    const Value v = send(send(form, name), "Caption");
    return std::string(v.isString() ? v.str() : "");
  }
  static void click(const Value& form, const char* button) {
    QWidget* w = widgetOf(form, button);
    ASSERT_TRUE(w) << button;
    QTest::mouseClick(w, Qt::LeftButton);
  }
  // Selects the whole text of an edit and types `typed` over it.
  static void retype(const Value& form, const char* edit, const QString& typed) {
    QWidget* w = widgetOf(form, edit);
    ASSERT_TRUE(w) << edit;
    QTest::mouseClick(w, Qt::LeftButton);
    QTest::keyClick(w, Qt::Key_End);
    QTest::keyClick(w, Qt::Key_Home, Qt::ShiftModifier);
    if (typed.isEmpty()) {
      QTest::keyClick(w, Qt::Key_Delete);
    } else {
      QTest::keyClicks(w, typed);
    }
  }
  static Value newForm(Value (*cls)()) {
    Value form = cls();
    send(form, "Create", {ui::applicationObject()});
    return form;
  }
};

const char* const kHeaderEdits[] = {"eNazivFirmeZaglavlje", "eDrugiRedZaglavlje",
                                    "eTreciRedZaglavlje", "eCetvrtiRedZaglavlje"};

}  // namespace

TEST_F(SettingsForms, TheHeaderFormShowsThePlaceholdersAndSavesAnEmptyFirstLine) {
  Watchdog dog(10000);
  Value form = newForm(&app::TFZAGLAVLJE);
  std::vector<std::string> shown;
  QImage shot;
  whenModal([&](QWidget* w) {
    for (const char* e : kHeaderEdits) shown.push_back(text(form, e));
    EXPECT_EQ(send(form, "ClientWidth").asInt(), 331);
    EXPECT_EQ(send(form, "ClientHeight").asInt(), 222);
    EXPECT_EQ(send(send(form, "eCetvrtiRedZaglavlje"), "Top").asInt(), 152);
    EXPECT_EQ(send(send(form, "eDrugiRedZaglavlje"), "Picture").str(), std::string(100, 'X'));
    EXPECT_EQ(send(send(form, "eNazivFirmeZaglavlje"), "Picture").str(), std::string(50, 'X'));
    shot = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    retype(form, "eNazivFirmeZaglavlje", "");
    retype(form, "eTreciRedZaglavlje", QString::fromUtf8("Novi Sad, Dunavska 5"));
    click(form, "bSnimiZaglavlje");
  });
  send(form, "ShowModal");
  EXPECT_EQ(shown, (std::vector<std::string>{"[naziv firme]", "[delatnost, reklamni slogan]",
                                             "[mesto, ulica i broj, telefon]",
                                             "[kontakt, web adresa, mail]"}));
  EXPECT_FALSE(send(form, "Visible").asBool());
  const std::string file = kvtest::readFile(app::settingsFileName());
  EXPECT_NE(file.find("[Zaglavlje]"), std::string::npos) << file;
  EXPECT_NE(file.find("Naziv firme=\r\n"), std::string::npos) << file;
  // The empty first line reads back as its placeholder; the others as written.
  const std::array<std::string, 4> back = app::readHeaderLines();
  EXPECT_EQ(back[0], "[naziv firme]");
  EXPECT_EQ(back[1], "[delatnost, reklamni slogan]");
  EXPECT_EQ(back[2], "Novi Sad, Dunavska 5");
  send(form, "Destroy");

  ASSERT_FALSE(shot.isNull());
  ui::test::expectLikeReference(shot, kHeaderReference);
}

TEST_F(SettingsForms, OdustaniClosesTheHeaderFormWithoutWriting) {
  Watchdog dog(10000);
  app::writeHeaderLines({"Servis Zvono", "", "", ""});
  const std::string before = kvtest::readFile(app::settingsFileName());
  Value form = newForm(&app::TFZAGLAVLJE);
  std::string first;
  whenModal([&](QWidget*) {
    first = text(form, "eNazivFirmeZaglavlje");
    retype(form, "eNazivFirmeZaglavlje", "Nesto drugo");
    click(form, "bOdustaniZaglavlje");
  });
  send(form, "ShowModal");
  EXPECT_EQ(first, "Servis Zvono");
  EXPECT_EQ(app::readHeaderLines()[0], "Servis Zvono");
  EXPECT_EQ(kvtest::readFile(app::settingsFileName()), before);
  send(form, "Destroy");
}

TEST_F(SettingsForms, TheClauseFormLoadsAndSavesTheLinesEachEndedByCarriageReturnLineFeed) {
  kvtest::writeFile("klauzula.txt", "Prvi red\r\nDrugi red\r\n");
  Value form = newForm(&app::TFKLAUZULA);
  send(form, "Show");
  ASSERT_TRUE(send(form, "Visible").asBool());
  EXPECT_EQ(send(form, "ClientWidth").asInt(), 721);
  EXPECT_EQ(send(form, "ClientHeight").asInt(), 155);
  const Value memo = send(form, "MemoKlauzula");
  const std::string loaded(send(memo, "Lines").str());
  EXPECT_EQ(app::clauseFileText(loaded), "Prvi red\r\nDrugi red\r\n");
  QWidget* w = widgetOf(form, "MemoKlauzula");
  ASSERT_TRUE(w);
  QTest::mouseClick(w, Qt::LeftButton);
  QTest::keyClick(w, Qt::Key_End, Qt::ControlModifier);
  QTest::keyClicks(w, "Treci");
  click(form, "bSnimiKlauzulu");
  EXPECT_TRUE(g_boxes.empty());
  EXPECT_FALSE(send(form, "Visible").asBool());
  const std::string saved = kvtest::readFile("klauzula.txt");
  EXPECT_EQ(saved.substr(0, 20), "Prvi red\r\nDrugi red\r");
  EXPECT_EQ(saved.substr(saved.size() - 7), "Treci\r\n");
  send(form, "Destroy");
}

TEST_F(SettingsForms, AClauseThatCannotBeSavedIsNamedAndTheFormStaysWithTheText) {
  fs::create_directory("klauzula.txt");  // a folder where the file should be
  Value form = newForm(&app::TFKLAUZULA);
  send(form, "Show");
  QWidget* w = widgetOf(form, "MemoKlauzula");
  ASSERT_TRUE(w);
  QTest::mouseClick(w, Qt::LeftButton);
  QTest::keyClicks(w, "Garancija 6 meseci");
  click(form, "bSnimiKlauzulu");
  ASSERT_EQ(g_boxes.size(), 1u);
  const std::string full = (fs::current_path() / "klauzula.txt").string();
  EXPECT_EQ(g_boxes[0], "2: " + app::clauseSaveFailedText(full, 5));
  EXPECT_TRUE(send(form, "Visible").asBool());
  EXPECT_EQ(std::string(send(send(form, "MemoKlauzula"), "Lines").str()), "Garancija 6 meseci");
  // Once the folder is gone the same text saves.
  fs::remove("klauzula.txt");
  click(form, "bSnimiKlauzulu");
  EXPECT_EQ(kvtest::readFile("klauzula.txt"), "Garancija 6 meseci\r\n");
  EXPECT_FALSE(send(form, "Visible").asBool());
  send(form, "Destroy");
}

TEST_F(SettingsForms, OdustaniClosesTheClauseFormWithoutSaving) {
  kvtest::writeFile("klauzula.txt", "stara\r\n");
  Value form = newForm(&app::TFKLAUZULA);
  send(form, "Show");
  QWidget* w = widgetOf(form, "MemoKlauzula");
  QTest::mouseClick(w, Qt::LeftButton);
  QTest::keyClicks(w, "nova");
  click(form, "bOdustaniKlauzula");
  EXPECT_FALSE(send(form, "Visible").asBool());
  EXPECT_EQ(kvtest::readFile("klauzula.txt"), "stara\r\n");
  send(form, "Destroy");
}
