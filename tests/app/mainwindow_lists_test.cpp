// The customer and manufacturer commands and the settings commands on the main window, as a
// person meets them (Qt's offscreen platform, real key and mouse events, every modal loop under
// a watchdog): a customer typed and saved with Enter at the end of the grid, the incremental
// search while typing, the order number asked for first, a click on a deleted customer's row,
// a manufacturer added through the input box and selected, the copy count's input box that
// refuses 0, the printer choice and the language with their check marks, and the two forms.
#include "ui/uitest.h"

#include <QLineEdit>
#include <QPushButton>

#include "app/core/appsettings.h"
#include "app/core/customers.h"
#include "app/core/messagedlg.h"
#include "app/core/settingsfile.h"
#include "support/main_window.h"
#include "ui/forms/application.h"
#include "ui/grid/stringgrid.h"

using namespace kv;
using namespace kv::ui::test;
using kvtest::part;

namespace {

std::vector<std::string> g_boxes;  // "N: text"
int g_answer = 6;

Value recordingDlg(const Value& text, const Value& type, const Value&, const Value&, const Value&) {
  if (type.deref().asInt() == 4) return Value();
  g_boxes.push_back(std::to_string(type.deref().asInt()) + ": " + std::string(text.deref().str()));
  return Value(g_answer);
}

class MainWindowLists : public kvtest::MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    app::setSettingsDir(dir_.string());
    g_boxes.clear();
    g_answer = 6;
  }
  void TearDown() override {
    app::setSettingsDir("");
    MainWindowTest::TearDown();
  }
  // Runs `check` with the main form shown and the boxes recorded.
  void withForm(const std::function<void(const Value& form)>& check) {
    withMainForm([&](const Value& form, ui::Form& main) {
      app::setMessageDlg(&recordingDlg);
      mainWindow_ = main.windowIfMade();
      check(form);
    });
  }
  // Runs `fn` with the box that opens next (the main window is never it).
  static void whenBox(std::function<void(QWidget*)> fn) { whenModal(std::move(fn), mainWindow_); }
  static inline QWidget* mainWindow_ = nullptr;
  static QWidget* widget(const Value& form, const char* name) {
    auto* c = ui::libraryAs<ui::WinControl>(part(form, name));
    return c ? c->windowIfMade() : nullptr;
  }
  static std::string text(const Value& form, const char* name) {
    const Value v = send(part(form, name), "Caption");
    return kvtest::render(v);
  }
  static std::string trimmed(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  }
  static int gridRow(const Value& form) { return send(part(form, "sgKorisnici"), "Row").asInt(); }
  // Clicks into an edit and types `keys` at its start, over a text selected whole.
  static void typeInto(const Value& form, const char* edit, const QString& keys) {
    QWidget* w = widget(form, edit);
    ASSERT_TRUE(w) << edit;
    QTest::mouseClick(w, Qt::LeftButton);
    QTest::keyClick(w, Qt::Key_End);
    QTest::keyClick(w, Qt::Key_Home, Qt::ShiftModifier);
    QTest::keyClick(w, Qt::Key_Delete);
    QTest::keyClicks(w, keys);
  }
  // Saves customers below the window and loads the grid as start-up does.
  static void storeCustomers(const Value& form, std::initializer_list<const char*> names) {
    app::CustomerView none;
    Value rows = Value::newArray();
    for (const char* n : names) app::saveCustomer(n, std::string("tel ") + n, rows, none);
    send(form, "PopuniKorisnike");
  }
  static void clickGridRow(const Value& form, int row) {
    auto* grid = ui::libraryAs<ui::StringGrid>(part(form, "sgKorisnici"));
    ASSERT_TRUE(grid);
    QWidget* w = grid->windowIfMade();
    ASSERT_TRUE(w);
    int y = 0;
    while (y < w->height() && grid->rowAtY(y) != row) ++y;
    ASSERT_LT(y, w->height()) << "row " << row << " is not shown";
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(40, y + 2));
  }
  static QLineEdit* line(QWidget* dialog) { return dialog->findChild<QLineEdit*>(); }
  static void ok(QWidget* dialog) {
    for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
      if (b->text() == "&Ok") return QTest::mouseClick(b, Qt::LeftButton);
    }
    ADD_FAILURE() << "no Ok button";
  }
};

}  // namespace

TEST_F(MainWindowLists, ACustomerTypedAndSavedWithEnterGoesToTheEndOfTheGrid) {
  withForm([](const Value& form) {
    storeCustomers(form, {"Milan", "Zoran"});
    typeInto(form, "eNazivKorisnika", "Ana");
    typeInto(form, "eKontaktKorisnika", "064/111");
    QTest::keyClick(widget(form, "eKontaktKorisnika"), Qt::Key_Return);
    const Value rows = memvarGet("aKorisnici");
    ASSERT_EQ(rows.arrayLen(), 3u);
    EXPECT_EQ(trimmed(kvtest::render(rows.arr()->items[2].arr()->items[0])), "Ana");
    EXPECT_EQ(trimmed(kvtest::render(rows.arr()->items[2].arr()->items[1])), "064/111");
    EXPECT_EQ(gridRow(form), 3);
    EXPECT_EQ(send(part(form, "sgKorisnici"), "Items").arrayLen(), 3u);
    // "ANA" over "Ana": the stored record takes the new case; the grid gains an exact row.
    typeInto(form, "eNazivKorisnika", "ANA");
    QTest::keyClick(widget(form, "eNazivKorisnika"), Qt::Key_Return);
    EXPECT_EQ(memvarGet("aKorisnici").arrayLen(), 4u);
    EXPECT_EQ(gridRow(form), 4);
    EXPECT_TRUE(g_boxes.empty());
    // An empty name is refused.
    typeInto(form, "eNazivKorisnika", "");
    QTest::keyClick(widget(form, "eNazivKorisnika"), Qt::Key_Return);
    EXPECT_EQ(g_boxes, std::vector<std::string>{"2: Niste uneli podatke o Korisniku."});
  });
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindowLists, TypingANameMovesTheGridToTheFirstNameThatContainsIt) {
  withForm([](const Value& form) {
    storeCustomers(form, {"Ana Jovic", "Bojan", "Jovan", "Petar"});
    typeInto(form, "eNazivKorisnika", "Pe");
    EXPECT_EQ(gridRow(form), 4);
    typeInto(form, "eNazivKorisnika", "bo");
    EXPECT_EQ(gridRow(form), 2);
    typeInto(form, "eNazivKorisnika", "jova");
    EXPECT_EQ(gridRow(form), 3);
    typeInto(form, "eNazivKorisnika", "xy");
    EXPECT_EQ(gridRow(form), 1);
  });
}

TEST_F(MainWindowLists, TheCustomerNameWaitsForAnOrderNumber) {
  withForm([](const Value& form) {
    send(part(form, "eBrojNaloga"), "_Caption", {Value(0)});
    QTest::mouseClick(widget(form, "eNazivKorisnika"), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), widget(form, "eBrojNaloga"));
    send(part(form, "eBrojNaloga"), "_Caption", {Value(7)});
    QTest::mouseClick(widget(form, "eNazivKorisnika"), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), widget(form, "eNazivKorisnika"));
  });
}

TEST_F(MainWindowLists, ADeletedCustomersRowStaysInParenthesesAndAClickCopiesIt) {
  withForm([](const Value& form) {
    storeCustomers(form, {"Ana", "Bojan"});
    clickGridRow(form, 2);
    EXPECT_EQ(trimmed(text(form, "eNazivKorisnika")), "Bojan");
    EXPECT_EQ(trimmed(text(form, "eKontaktKorisnika")), "tel Bojan");
    EXPECT_EQ(QApplication::focusWidget(), widget(form, "eNazivKorisnika"));
    send(form, "BrisiKorisnika");
    EXPECT_EQ(g_boxes, (std::vector<std::string>{"3: Sigurno brisete Korisnika: BOJAN?",
                                                 "0: Podaci o Korisniku su obrisani."}));
    EXPECT_EQ(text(form, "eNazivKorisnika"), std::string(50, ' '));
    EXPECT_EQ(gridRow(form), 2);
    clickGridRow(form, 2);
    EXPECT_EQ(text(form, "eNazivKorisnika"), "(Bojan)");
    EXPECT_EQ(text(form, "eKontaktKorisnika"), "(tel Bojan)");
    // Deleting all: the grid empties, the edits are blank.
    g_boxes.clear();
    send(form, "BrisiSveKorisnike");
    EXPECT_EQ(g_boxes, (std::vector<std::string>{"3: Sigurno brisete SVE Korisnike?",
                                                 "0: Svi Korisnici su obrisani."}));
    EXPECT_EQ(send(part(form, "sgKorisnici"), "Items").arrayLen(), 0u);
    EXPECT_EQ(text(form, "eKontaktKorisnika"), std::string(50, ' '));
  });
}

TEST_F(MainWindowLists, AManufacturerAddedThroughTheInputBoxIsSelected) {
  withForm([](const Value& form) {
    Watchdog dog(10000);
    whenBox([](QWidget* d) {
      QTest::keyClicks(line(d), "Xiaomi");
      ok(d);
    });
    send(form, "DodajProizvodjaca");
    const Value combo = part(form, "csProizvodjaciTelefona");
    const int index = send(combo, "ItemIndex").asInt();
    EXPECT_EQ(trimmed(kvtest::render(send(combo, "Items").arr()->items[index - 1])), "Xiaomi");
    // Cancelled: nothing happens.
    whenBox([](QWidget* d) { QTest::keyClick(line(d), Qt::Key_Escape); });
    send(form, "DodajProizvodjaca");
    EXPECT_TRUE(g_boxes.empty());
    // No to deleting all leaves the list.
    g_answer = 7;
    const std::size_t before = send(combo, "Items").arrayLen();
    send(form, "BrisiSveProizvodjace");
    EXPECT_EQ(send(combo, "Items").arrayLen(), before);
    g_answer = 6;
    send(form, "BrisiProizvodjaca");
    EXPECT_EQ(g_boxes.back(), "0: Proizvodjac je obrisan.");
    EXPECT_EQ(send(combo, "Items").arrayLen(), before - 1);
  });
}

TEST_F(MainWindowLists, TheCopyCountBoxTakesOnlyOneToNineHundredNinetyNine) {
  withForm([](const Value& form) {
    Watchdog dog(10000);
    std::string first;
    bool stillOpenAfterZero = false;
    whenBox([&](QWidget* d) {
      first = line(d)->text().trimmed().toStdString();
      QTest::keyClicks(line(d), "0");
      ok(d);
      QTimer::singleShot(50, [&, d] {
        stillOpenAfterZero = QApplication::activeModalWidget() == d;
        QTest::keyClicks(line(d), "3");
        ok(d);
      });
    });
    send(form, "BrojPrimerakaStampe");
    EXPECT_EQ(first, "1");  // no settings file: one copy
    EXPECT_TRUE(stillOpenAfterZero);
    EXPECT_EQ(app::printCopies(), 3);
    whenBox([](QWidget* d) {
      QTest::keyClicks(line(d), "7");
      QTest::keyClick(line(d), Qt::Key_Escape);
    });
    send(form, "BrojPrimerakaStampe");
    EXPECT_EQ(app::printCopies(), 3);
  });
}

TEST_F(MainWindowLists, ThePrinterChoiceAndTheLanguageKeepTheirCheckMarks) {
  withForm([](const Value& form) {
    const Value menu = part(form, "MainMenu1");
    auto checked = [&](const char* item) {
      return send(menu, "GetChecked", {memvarGet(item)}).asBool();
    };
    EXPECT_FALSE(checked("nIzborStampaca"));
    send(form, "IzborStampaca");
    EXPECT_TRUE(checked("nIzborStampaca"));
    EXPECT_TRUE(memvarGet("lIzborStampaca").asBool());
    EXPECT_TRUE(app::readSetting(app::Setting::IzborStampaca).asBool());
    send(form, "IzborStampaca");
    EXPECT_FALSE(checked("nIzborStampaca"));
    EXPECT_FALSE(app::readSetting(app::Setting::IzborStampaca).asBool());

    send(form, "Jezik", {Value("Hrvatski")});
    EXPECT_TRUE(checked("nJezikHrvatski"));
    EXPECT_FALSE(checked("nJezikSrpski"));
    EXPECT_TRUE(memvarGet("lJezikHrvatski").asBool());
    EXPECT_EQ(app::readSetting(app::Setting::Jezik).str(), "Hrvatski");
    send(form, "Jezik", {Value("Srpski")});
    EXPECT_TRUE(checked("nJezikSrpski"));
    EXPECT_FALSE(checked("nJezikHrvatski"));
    EXPECT_EQ(app::readSetting(app::Setting::Jezik).str(), "Srpski");
  });
}

TEST_F(MainWindowLists, TheHeaderFormIsModalAndEachClauseCallMakesAnotherForm) {
  withForm([](const Value& form) {
    Watchdog dog(10000);
    std::string caption;
    whenBox([&](QWidget* d) {
      caption = d->windowTitle().toStdString();
      QTest::keyClick(d, Qt::Key_Escape);
      QTimer::singleShot(0, [d] {
        if (QApplication::activeModalWidget() == d) d->close();
      });
    });
    send(form, "ZaglavljeNaloga");
    EXPECT_EQ(caption, "Kalvedo : Zaglavlje Naloga");
    const std::size_t before = ui::liveLibraryObjects();
    send(form, "UnosKlauzule");
    send(form, "UnosKlauzule");
    int shown = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w->windowTitle() == "Kalvedo : Tekst Klauzule na Nalogu") ++shown;
    EXPECT_EQ(shown, 2);
    EXPECT_GT(ui::liveLibraryObjects(), before);
  });
}

struct StartOptions {
  const char* file;  // the settings file's text; null: no file
  bool printer, colour, srpski, hrvatski;
};

class MainWindowStartOptions : public MainWindowLists,
                               public ::testing::WithParamInterface<StartOptions> {};

TEST_P(MainWindowStartOptions, StartUpReadsTheOptionsFromTheSettingsFile) {
  const StartOptions& c = GetParam();
  if (c.file) kvtest::writeFile(app::settingsFileName(), c.file);
  withForm([&](const Value& form) {
    const Value menu = part(form, "MainMenu1");
    auto checked = [&](const char* item) {
      return send(menu, "GetChecked", {memvarGet(item)}).asBool();
    };
    EXPECT_EQ(checked("nIzborStampaca"), c.printer);
    EXPECT_EQ(memvarGet("lIzborStampaca").asBool(), c.printer);
    EXPECT_EQ(memvarGet("lColorPregled").asBool(), c.colour);
    EXPECT_EQ(checked("nJezikSrpski"), c.srpski);
    EXPECT_EQ(checked("nJezikHrvatski"), c.hrvatski);
  });
  EXPECT_TRUE(errors.empty());
}

INSTANTIATE_TEST_SUITE_P(
    SettingsFiles, MainWindowStartOptions,
    ::testing::Values(
        // No settings file: no printer dialog, white overview, Serbian.
        StartOptions{nullptr, false, false, true, false},
        StartOptions{
            "[Stampa]\r\nIzbor Stampaca=.T.\r\nJezik=Hrvatski\r\n[Pregled]\r\nBoja=.T.\r\n", true,
            true, false, true},
        // Another case is another text: neither language; TRUE is not ".T.".
        StartOptions{"[Stampa]\r\nJezik=hrvatski\r\n[Pregled]\r\nBoja=TRUE\r\n", false, false,
                     false, false}));
