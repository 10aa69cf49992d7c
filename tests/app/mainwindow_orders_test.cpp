// Work-order editing on the main window as a person meets it (Qt's offscreen platform, real
// key and mouse events): a full order typed and saved, then read back from the table, by the
// command-line companion and by a peer; the number edit's look-ahead before a key is shown;
// the numbers refused; the boxes of an existing number and of delete; the load rules; the
// protection of finished orders; the row in parentheses of a deleted order; the focus rules;
// and two stations: a record held by another one, and the same new numbers saved by both.
#include <QMenu>
#include <QMenuBar>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "support/order_window.h"
#include "support/process_run.h"
#include "support/tool_runner.h"

using namespace kv;
using namespace kv::ui::test;
using kvtest::part;
namespace fs = std::filesystem;

namespace {

class MainWindowOrders : public kvtest::OrderWindowTest {
 protected:
  // Triggers an entry of the main menu's "Nalog" menu, as a click on it does.
  static void menuEntry(const char* caption) {
    QMenuBar* bar = mainWindow_->findChild<QMenuBar*>();
    ASSERT_TRUE(bar);
    for (QAction* a : bar->actions()[0]->menu()->actions()) {
      if (a->text() == caption) return a->trigger();
    }
    ADD_FAILURE() << "no menu entry " << caption;
  }
  static fs::path binDir() {
    const char* bin = std::getenv("KV_BIN_DIR");
    return fs::path(bin ? bin : KV_BIN_DIR);
  }
};

const std::string kNumberMissing = "Niste uneli Broj Naloga.";
const std::string kNumberTooLarge = "Broj naloga ne moze biti veci od 99999.";

}  // namespace

TEST_F(MainWindowOrders, AFullOrderTypedIsStoredAsTypedAndReadBackByTheCompanionAndAPeer) {
  const QString customer = QString::fromUtf8("Đorđe Šćepanović");
  const QString contact = QString::fromUtf8("064/123 Čačak");
  const QString model = QString::fromUtf8("3310 žuti");
  const QString serial = QString::fromUtf8("SN-ČĆŽ");
  const QString otherDevice = QString::fromUtf8("Radio Niš");
  const QString otherAccessory = QString::fromUtf8("futrola šarena");
  const QString deviceNote = QString::fromUtf8("ogreban đon");
  const QString serviceNote = QString::fromUtf8("zamenjen čip");
  const QString fault[] = {QString::fromUtf8("ne pali"), QString::fromUtf8("puca ekran"),
                           QString::fromUtf8("žica iščupana")};
  std::string maker;
  withForm([&](const Value& form) {
    send(form, "NoviNalog");
    typeInto(form, "eBrojNaloga", "58");
    typeInto(form, "eNazivKorisnika", customer);
    typeInto(form, "eKontaktKorisnika", contact);
    // The manufacturer: two entries down the list from "Proizvodjac".
    QWidget* combo = widget(form, "csProizvodjaciTelefona");
    send(part(form, "csProizvodjaciTelefona"), "SetFocus");
    QTest::keyClick(combo, Qt::Key_Down);
    QTest::keyClick(combo, Qt::Key_Down);
    const Value c = part(form, "csProizvodjaciTelefona");
    ASSERT_EQ(send(c, "ItemIndex").asInt(), 3);
    maker = std::string(send(c, "Items").arr()->items[2].str());
    typeInto(form, "eModelTelefona", model);
    typeInto(form, "eSerijskiBrojTelefona", serial);
    // "Ostalo:" passes the focus to its text, which keeps the button checked.
    click(form, "rbOstalo");
    EXPECT_TRUE(focused(form, "eOstaloTelefon"));
    EXPECT_TRUE(checked(form, "rbOstalo"));
    typeOver(widget(form, "eOstaloTelefon"), otherDevice);
    click(form, "cbPunjac");
    click(form, "cbOstalo");
    EXPECT_TRUE(focused(form, "eOstaloPribor"));
    typeOver(widget(form, "eOstaloPribor"), otherAccessory);
    typeInto(form, "eNapomenaTelefon", deviceNote);
    QWidget* memo = widget(form, "mOpisKvara");
    QTest::mouseClick(memo, Qt::LeftButton);
    for (int i = 0; i < 3; ++i) {
      if (i) QTest::keyClick(memo, Qt::Key_Return);
      typeKeys(memo, fault[i]);
    }
    typeInto(form, "eNapomenaServis", serviceNote);
    typeInto(form, "eOkvCena", "1500.5");
    typeInto(form, "eKonCena", "1234567.89");
    click(form, "rbUObradi");
    EXPECT_TRUE(checked(form, "rbOstalo"));
    EXPECT_TRUE(checked(form, "cbOstalo"));
    click(form, "bSnimiNalog");
    EXPECT_TRUE(buttonBoxes().empty());
    EXPECT_TRUE(focused(form, "eBrojNaloga"));

    // The stored bytes, field by field.
    ASSERT_TRUE(seekOrder(58));
    EXPECT_EQ(storedRecords(), 1);
    EXPECT_EQ(field("DatNal").julian(), DATE().julian());
    EXPECT_EQ(trimmed(std::string(field("Korisnik").str())), kvtest::cp1250(customer));
    EXPECT_EQ(trimmed(std::string(field("Kontakt").str())), kvtest::cp1250(contact));
    EXPECT_EQ(trimmed(std::string(field("Proizvodja").str())), trimmed(maker));
    EXPECT_EQ(trimmed(std::string(field("Model").str())), kvtest::cp1250(model));
    EXPECT_EQ(trimmed(std::string(field("SerijskiBr").str())), kvtest::cp1250(serial));
    EXPECT_EQ(trimmed(std::string(field("Aparat").str())), "OSTALO:");
    EXPECT_EQ(trimmed(std::string(field("Aparat_Ost").str())), kvtest::cp1250(otherDevice));
    EXPECT_TRUE(field("Punjac").asBool());
    EXPECT_FALSE(field("Baterija").asBool());
    EXPECT_TRUE(field("Pribor_O").asBool());
    EXPECT_EQ(trimmed(std::string(field("Pribor_Ost").str())), kvtest::cp1250(otherAccessory));
    EXPECT_EQ(trimmed(std::string(field("Telefon_N").str())), kvtest::cp1250(deviceNote));
    EXPECT_EQ(std::string(field("Opis_Kvara").str()),
              kvtest::cp1250(fault[0] + "\r\n" + fault[1] + "\r\n" + fault[2] + "\r\n"));
    EXPECT_EQ(trimmed(std::string(field("Servis_N").str())), kvtest::cp1250(serviceNote));
    EXPECT_DOUBLE_EQ(field("Okv_cena").asDouble(), 1500.5);
    EXPECT_DOUBLE_EQ(field("Kon_cena").asDouble(), 1234567.89);
    EXPECT_FALSE(field("Na_Cekanju").asBool());
    EXPECT_TRUE(field("U_Obradi").asBool());
    EXPECT_FALSE(field("Zavrsen").asBool());
    // The overview's new last row.
    EXPECT_EQ(overviewCell(overviewRow(form), 1), "00058");
    EXPECT_EQ(overviewCell(overviewRow(form), 7), "u Obradi");

    // A new order blanks the form; Enter on 58 brings every field back.
    send(form, "NoviNalog");
    EXPECT_EQ(caption(form, "eBrojNaloga").asInt(), 59);
    EXPECT_EQ(text(form, "eNazivKorisnika"), std::string(50, ' '));
    EXPECT_FALSE(checked(form, "rbOstalo"));
    findOrder(form, 58);
    EXPECT_EQ(trimmed(text(form, "eNazivKorisnika")), kvtest::cp1250(customer));
    EXPECT_EQ(trimmed(text(form, "eOstaloTelefon")), kvtest::cp1250(otherDevice));
    EXPECT_EQ(trimmed(text(form, "eOstaloPribor")), kvtest::cp1250(otherAccessory));
    EXPECT_EQ(send(part(form, "csProizvodjaciTelefona"), "ItemIndex").asInt(), 3);
    EXPECT_EQ(std::string(send(part(form, "mOpisKvara"), "Lines").str()),
              kvtest::cp1250(fault[0] + "\r\n" + fault[1] + "\r\n" + fault[2]));
    EXPECT_TRUE(checked(form, "rbOstalo"));
    EXPECT_TRUE(checked(form, "rbUObradi"));
    EXPECT_FALSE(checked(form, "rbNaCekanju"));
    EXPECT_DOUBLE_EQ(caption(form, "eKonCena").asDouble(), 1234567.89);
    EXPECT_TRUE(commandsEnabled(form));
  });
  EXPECT_TRUE(errors.empty());

  // The companion's dump: one record, the texts in UTF-8 as typed.
  const kvtest::ToolRun dump = kvtest::runTool(dir_.string(), {"dump", "Nalozi"});
  ASSERT_EQ(dump.code, 0) << dump.out;
  const QString line = QString::fromUtf8(dump.out.c_str()).trimmed();
  const QStringList cells = line.mid(line.indexOf(' ')).trimmed().split('|');
  ASSERT_GE(cells.size(), 25) << dump.out;
  EXPECT_EQ(cells[0], "00058");
  EXPECT_EQ(cells[2], customer);
  EXPECT_EQ(cells[3], contact);
  EXPECT_EQ(cells[5], model);
  EXPECT_EQ(cells[6], serial);
  EXPECT_EQ(cells[8], otherDevice);
  EXPECT_EQ(cells[16], fault[0] + "\\r\\n" + fault[1] + "\\r\\n" + fault[2] + "\\r\\n");
  EXPECT_EQ(cells[23].toDouble(), 1500.5);
  EXPECT_EQ(cells[24].toDouble(), 1234567.89);

  // A peer reads the same Windows-1250 bytes.
  if (std::system("/usr/bin/python3 -c 'import dbfread' >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "python3-dbfread not installed";
  std::ofstream(dir_ / "peer.py")
      << "import dbfread, sys\n"
         "r = list(dbfread.DBF('Nalozi.dbf', encoding='cp1250', char_decode_errors='strict'))[0]\n"
         "out = '|'.join([r['BRNAL'], r['KORISNIK'], r['KONTAKT'], r['SERIJSKIBR'], "
         "r['PRIBOR_OST'], r['TELEFON_N'], r['SERVIS_N'], r['OPIS_KVARA'], str(r['OKV_CENA'])])\n"
         "sys.stdout.buffer.write(out.encode('utf-8'))\n";
  const kvtest::Outcome peer = kvtest::runProgramIn(dir_, "/usr/bin/python3", {"peer.py"});
  ASSERT_EQ(peer.exitCode, 0) << peer.err;
  EXPECT_EQ(
      QString::fromUtf8(peer.out.c_str()),
      QStringList({"00058", customer, contact, serial, otherAccessory, deviceNote, serviceNote,
                   fault[0] + "\r\n" + fault[1] + "\r\n" + fault[2] + "\r\n", "1500.5"})
          .join('|'));
}

// Each key in the number edit is tested with the number the edit will hold once it is taken,
// before the key shows; an order of that number locks save and delete.
TEST_F(MainWindowOrders, TheNumberEditLooksUpTheNumberAKeyWillLeaveBeforeItShows) {
  struct Step {
    Qt::Key key;
    int shownBefore;  // the edit's value when the key's handler runs
    bool enabled;     // save and delete after the key
  };
  struct Case {
    std::vector<int> stored;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      // 1 exists, 12 does not: locked after the 1, free after the 2.
      {{1}, {{Qt::Key_1, 0, false}, {Qt::Key_2, 1, true}}},
      // 12 exists, 1 does not.
      {{12}, {{Qt::Key_1, 0, true}, {Qt::Key_2, 1, false}}},
      // Backspace and an arrow test the number held before the key: 12, which exists.
      {{12},
       {{Qt::Key_1, 0, true},
        {Qt::Key_2, 1, false},
        {Qt::Key_Backspace, 12, false},
        {Qt::Key_Left, 1, true}}},
  };
  withForm([&](const Value& form) {
    for (const Case& c : cases) {
      for (int n : {1, 12}) {
        if (seekOrder(n)) {
          engine::DBRLOCK();
          engine::DBDELETE();
          engine::DBUNLOCK();
        }
      }
      for (int n : c.stored) storeOrder(n, "Ana");
      send(part(form, "eBrojNaloga"), "_Caption", {Value(0)});
      QWidget* edit = widget(form, "eBrojNaloga");
      QTest::mouseClick(edit, Qt::LeftButton);
      QTest::keyClick(edit, Qt::Key_End);
      QTest::keyClick(edit, Qt::Key_Home, Qt::ShiftModifier);
      QTest::keyClick(edit, Qt::Key_Delete);
      for (const Step& s : c.steps) {
        int seen = -1;
        app::watchFormMethods([&](std::string_view m, Args) {
          if (m == "eBrojNalogaOnKeyDown") seen = caption(form, "eBrojNaloga").asInt();
          return false;
        });
        QTest::keyClick(edit, s.key);
        app::watchFormMethods({});
        EXPECT_EQ(seen, s.shownBefore) << "key " << s.key;
        EXPECT_EQ(commandsEnabled(form), s.enabled) << "key " << s.key;
      }
    }
  });
  EXPECT_TRUE(errors.empty());
}

// 0 and numbers of six digits are refused on Enter, save and delete with their box; nothing is
// stored or deleted.
TEST_F(MainWindowOrders, MissingAndTooLargeNumbersAreRefusedOnEnterSaveAndDelete) {
  struct Case {
    const char* typed;
    std::string box;
  };
  const Case cases[] = {
      {"0", kNumberMissing}, {"100000", kNumberTooLarge}, {"999999", kNumberTooLarge}};
  withForm([&](const Value& form) {
    storeOrder(99999, "Zadnji");
    for (const Case& c : cases) {
      send(part(form, "eNazivKorisnika"), "_Caption", {Value("Neko")});
      typeInto(form, "eBrojNaloga", c.typed);
      boxes_.clear();
      QTest::keyClick(widget(form, "eBrojNaloga"), Qt::Key_Return);
      EXPECT_EQ(trimmed(text(form, "eNazivKorisnika")), "Neko") << c.typed;
      click(form, "bSnimiNalog");
      EXPECT_TRUE(focused(form, "eBrojNaloga"));
      menuEntry("Brisi nalog");
      const kvtest::RecordedBox box{2, c.box};
      EXPECT_EQ(buttonBoxes(), std::vector<kvtest::RecordedBox>(3, box)) << c.typed;
      EXPECT_EQ(storedRecords(), 1);
      ASSERT_TRUE(seekOrder(99999));
      EXPECT_EQ(trimmed(std::string(field("Korisnik").str())), "Zadnji");
    }
  });
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindowOrders, AnExistingNumberIsWrittenOverOnlyAfterYesAndADeleteAsksFirst) {
  withForm([](const Value& form) {
    storeOrder(12, "Ana");
    findOrder(form, 12);
    typeInto(form, "eNazivKorisnika", "Bojan");
    answer_ = 7;
    click(form, "bSnimiNalog");
    EXPECT_EQ(buttonBoxes(),
              (std::vector<kvtest::RecordedBox>{{3,
                                                 "Nalog broj 00012 vec postoji u bazi podataka.\r"
                                                 "Zelite li da snimite izmene na ovom Nalogu?"}}));
    ASSERT_TRUE(seekOrder(12));
    EXPECT_EQ(trimmed(std::string(field("Korisnik").str())), "Ana");
    answer_ = 6;
    click(form, "bSnimiNalog");
    ASSERT_TRUE(seekOrder(12));
    EXPECT_EQ(trimmed(std::string(field("Korisnik").str())), "Bojan");
    EXPECT_EQ(storedRecords(), 1);

    // Delete: a missing number is named; No keeps the order.
    boxes_.clear();
    findOrder(form, 13);
    click(form, "bBrisiNalog");
    answer_ = 7;
    findOrder(form, 12);
    click(form, "bBrisiNalog");
    EXPECT_EQ(buttonBoxes(),
              (std::vector<kvtest::RecordedBox>{{2, "Nalog broj 00013 ne postoji u bazi podataka!"},
                                                {3, "Sigurno brisete Nalog broj 00012?"}}));
    EXPECT_TRUE(seekOrder(12));
    EXPECT_TRUE(focused(form, "eBrojNaloga"));
  });
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindowOrders, LoadingSelectsTheManufacturerAndTheDeviceKindByTheirBeginnings) {
  struct Case {
    const char* maker;
    const char* aparat;
    const char* aparatOst;
    int item;           // the manufacturer entry selected
    const char* radio;  // the device-kind button checked, or null for none
    bool otherShown;    // eOstaloTelefon shows Aparat_Ost
  };
  const Case cases[] = {
      {"Nokia", "OSTALO:", "Radio", 11, "rbOstalo", true},
      {"Sony", "mobilni telefon", "ostatak", 19, "rbMobilniTelefon", false},
      {"Xiaomi", "TELEFAKS UREDJAJ", "", 1, "rbTelefaksUredjaj", false},
      {"", "nesto drugo", "", 1, nullptr, false},
  };
  withForm([&](const Value& form) {
    int n = 0;
    for (const Case& c : cases) {
      ++n;
      storeOrder(n, "Ana");
      ASSERT_TRUE(seekOrder(n));
      engine::DBRLOCK();
      engine::FIELDPUT(engine::FIELDPOS(Value("Proizvodja")), Value(c.maker));
      engine::FIELDPUT(engine::FIELDPOS(Value("Aparat")), Value(c.aparat));
      engine::FIELDPUT(engine::FIELDPOS(Value("Aparat_Ost")), Value(c.aparatOst));
      engine::DBUNLOCK();
      findOrder(form, n);
      EXPECT_EQ(send(part(form, "csProizvodjaciTelefona"), "ItemIndex").asInt(), c.item) << c.maker;
      for (const char* rb : {"rbZicniTelefon", "rbBezicniTelefon", "rbMobilniTelefon",
                             "rbTelefaksUredjaj", "rbOstalo"}) {
        EXPECT_EQ(checked(form, rb), c.radio && std::string(c.radio) == rb) << c.aparat << rb;
      }
      EXPECT_EQ(text(form, "eOstaloTelefon"), c.otherShown
                                                  ? std::string(c.aparatOst) + std::string(45, ' ')
                                                  : std::string(50, ' '))
          << c.aparat;
    }
  });
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindowOrders, AFinishedOrderIsProtectedUntilChangeIsAllowed) {
  withForm([](const Value& form) {
    typeInto(form, "eBrojNaloga", "7");
    click(form, "rbZavrsen");
    click(form, "bSnimiNalog");
    ASSERT_TRUE(seekOrder(7));
    EXPECT_TRUE(field("Zavrsen").asBool());
    EXPECT_FALSE(commandsEnabled(form));
    menuEntry("Dozvoli izmenu naloga");
    EXPECT_TRUE(commandsEnabled(form));
    // Loaded again, it is protected again; a new number frees the buttons.
    findOrder(form, 7);
    EXPECT_FALSE(commandsEnabled(form));
    menuEntry("Novi broj naloga");
    EXPECT_EQ(caption(form, "eBrojNaloga").asInt(), 8);
    EXPECT_TRUE(checked(form, "rbNaCekanju"));
    EXPECT_TRUE(commandsEnabled(form));
    EXPECT_TRUE(focused(form, "eBrojNaloga"));
  });
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindowOrders, ADeletedOrdersRowStaysInParenthesesAndItsNumberIsGivenAgain) {
  withForm([](const Value& form) {
    storeOrder(1, "Ana ");
    storeOrder(2, "Bojan", "01.12.2013", false, true);
    send(form, "PopuniPregled");
    findOrder(form, 2);
    EXPECT_EQ(overviewRow(form), 2);
    click(form, "bBrisiNalog");
    EXPECT_EQ(buttonBoxes(),
              (std::vector<kvtest::RecordedBox>{{3, "Sigurno brisete Nalog broj 00002?"}}));
    EXPECT_FALSE(seekOrder(2));
    EXPECT_EQ(overviewRow(form), 2);
    const std::vector<std::string> shown = {"(00002)", "(01.12.2013)", "(Bojan)",   "(Proizvodjac)",
                                            "()",      "()",           "(u Obradi)"};
    for (int col = 1; col <= 7; ++col) EXPECT_EQ(overviewCell(2, col), shown[col - 1]) << col;
    // The form still shows the deleted order.
    EXPECT_EQ(trimmed(text(form, "eNazivKorisnika")), "Bojan");
    menuEntry("Novi nalog");
    EXPECT_EQ(caption(form, "eBrojNaloga").asInt(), 2);
    // A click on the row in parentheses loads number 0: no order, a blank form.
    typeInto(form, "eNazivKorisnika", "Neko");
    clickOverviewRow(form, 2);
    EXPECT_EQ(caption(form, "eBrojNaloga").asInt(), 0);
    EXPECT_EQ(text(form, "eNazivKorisnika"), std::string(50, ' '));
    EXPECT_TRUE(commandsEnabled(form));
    // A click on order 1 loads it.
    clickOverviewRow(form, 1);
    EXPECT_EQ(caption(form, "eBrojNaloga").asInt(), 1);
    EXPECT_EQ(trimmed(text(form, "eNazivKorisnika")), "Ana");
  });
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindowOrders, TheOtherFieldsCheckTheirButtonsAndTheFaultLabelShowsTheFocus) {
  // The form as start-up leaves it, before any blank form: the "other" texts take text too.
  withForm([](const Value& form) {
    const Value labelFont = kvtest::property(part(form, "lOpisKvara"), "Font");
    QTest::mouseClick(widget(form, "mOpisKvara"), Qt::LeftButton);
    EXPECT_TRUE(send(labelFont, "Bold").asBool());
    // Left empty, the other-device text unchecks its button.
    click(form, "rbOstalo");
    EXPECT_TRUE(focused(form, "eOstaloTelefon"));
    EXPECT_TRUE(checked(form, "rbOstalo"));
    EXPECT_FALSE(send(labelFont, "Bold").asBool());
    QTest::mouseClick(widget(form, "eModelTelefona"), Qt::LeftButton);
    EXPECT_FALSE(checked(form, "rbOstalo"));
    // With a text it stays checked.
    QTest::mouseClick(widget(form, "eOstaloTelefon"), Qt::LeftButton);
    EXPECT_TRUE(checked(form, "rbOstalo"));
    typeOver(widget(form, "eOstaloTelefon"), "Radio");
    EXPECT_EQ(trimmed(text(form, "eOstaloTelefon")), "Radio");
    QTest::mouseClick(widget(form, "eModelTelefona"), Qt::LeftButton);
    EXPECT_TRUE(checked(form, "rbOstalo"));
    // The accessory box and its text.
    click(form, "cbOstalo");
    EXPECT_TRUE(focused(form, "eOstaloPribor"));
    QTest::mouseClick(widget(form, "eModelTelefona"), Qt::LeftButton);
    EXPECT_FALSE(checked(form, "cbOstalo"));
    QTest::mouseClick(widget(form, "eOstaloPribor"), Qt::LeftButton);
    EXPECT_TRUE(checked(form, "cbOstalo"));
  });
  EXPECT_TRUE(errors.empty());
}

// Another station holds the order's record: the save shows why it waits, and writes once the
// lock is free (the wait box's appearance releases it here).
TEST_F(MainWindowOrders, ASaveWaitsWithItsBoxWhileAnotherStationHoldsTheRecord) {
  withForm([&](const Value& form) {
    storeOrder(5, "Petar");
    const fs::path ready = dir_ / "ready", release = dir_ / "release";
    fs::create_directories(dir_ / "holder");
    kvtest::Child holder =
        kvtest::startProgramIn(dir_ / "holder", binDir() / "kv_order_station",
                               {"hold", dir_.string(), "5", ready.string(), release.string()});
    ASSERT_GT(holder.pid, 0);
    for (int i = 0; i < 30000 && !fs::exists(ready); ++i) usleep(1000);
    ASSERT_TRUE(fs::exists(ready));
    int shown = 0;
    onWaitBox_ = [&](const std::string& t) {
      if (t != "Nalog je zauzet na drugom racunaru, cekam...") return;
      ++shown;
      std::ofstream(release) << "1";
    };
    findOrder(form, 5);
    typeInto(form, "eNazivKorisnika", "Milica");
    click(form, "bSnimiNalog");
    onWaitBox_ = nullptr;
    EXPECT_EQ(kvtest::finishProgram(holder).exitCode, 0);
    EXPECT_EQ(shown, 1);
    ASSERT_TRUE(seekOrder(5));
    EXPECT_EQ(trimmed(std::string(field("Korisnik").str())), "Milica");
    EXPECT_EQ(storedRecords(), 1);
    EXPECT_TRUE(focused(form, "eBrojNaloga"));
  });
  EXPECT_TRUE(errors.empty());
}

// The window and another station save the new orders 1 to 20 at the same time: each number is
// stored once. Where the other station was first, the window asks before writing over it (No
// here), as for any existing number.
TEST_F(MainWindowOrders, TwoStationsSavingTheSameNewNumbersStoreEachOnce) {
  constexpr int kLast = 20;
  kvtest::Child station;
  int asked = 0;
  withForm([&](const Value& form) {
    const fs::path ready = dir_ / "ready", go = dir_ / "go";
    fs::create_directories(dir_ / "station");
    station = kvtest::startProgramIn(
        dir_ / "station", binDir() / "kv_order_station",
        {"claim", dir_.string(), "1", std::to_string(kLast), "Druga", ready.string(), go.string()});
    ASSERT_GT(station.pid, 0);
    for (int i = 0; i < 30000 && !fs::exists(ready); ++i) usleep(1000);
    ASSERT_TRUE(fs::exists(ready));
    answer_ = 7;
    typeInto(form, "eNazivKorisnika", "Prva");
    std::ofstream(go) << "1";
    for (int n = 1; n <= kLast; ++n) {
      send(part(form, "eBrojNaloga"), "_Caption", {Value(n)});
      click(form, "bSnimiNalog");
    }
    for (const kvtest::RecordedBox& b : buttonBoxes()) asked += b.type == 3;
  });
  const kvtest::Outcome s = kvtest::finishProgram(station);
  ASSERT_EQ(s.exitCode, 0) << s.err;
  int appended = -1, exists = -1;
  ASSERT_EQ(std::sscanf(s.out.c_str(), "appended %d exists %d", &appended, &exists), 2) << s.out;
  EXPECT_EQ(appended + exists, kLast);
  EXPECT_EQ(asked, appended);

  const kvtest::ToolRun dump = kvtest::runTool(dir_.string(), {"dump", "Nalozi"});
  ASSERT_EQ(dump.code, 0);
  std::map<std::string, int> seen;
  std::istringstream lines(dump.out);
  for (std::string line; std::getline(lines, line);) {
    const std::string rest = line.substr(line.find_first_not_of(' ', line.find(' ')));
    ++seen[rest.substr(0, 5)];
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(kLast)) << dump.out;
  for (const auto& [number, count] : seen) EXPECT_EQ(count, 1) << number;
  EXPECT_TRUE(errors.empty());
}
