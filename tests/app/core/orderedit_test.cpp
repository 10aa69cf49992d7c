// Editing work orders below the window: the form's values stored field by field and loaded back
// (Serbian letters, the fault lines, the device kinds, the manufacturer entry), the order
// numbers refused, the boxes of save and delete and what each answer leaves in the table, and a
// save that waits, with its notice, for a record another station holds.
#include <unistd.h>

#include <cstdlib>
#include <thread>

#include "app/core/messagedlg.h"
#include "app/core/orderedit.h"
#include "app/core/orderoverview.h"
#include "runtime/format/dates.h"
#include "support/datadir_fixture.h"
#include "support/process_run.h"

using namespace kv;
using namespace kv::engine;
using kvtest::DataDirTest;
namespace fs = std::filesystem;

namespace {

struct Box {
  std::string text;
  int type;
};
std::vector<Box> g_boxes;
int g_answer = 6;  // what a box with buttons answers

Value recordingDlg(const Value& text, const Value& type, const Value&, const Value&, const Value&) {
  g_boxes.push_back({std::string(text.deref().str()), type.deref().asInt()});
  return type.deref().asInt() == 4 ? Value("box") : Value(g_answer);
}

class OrderEditTest : public DataDirTest {
 protected:
  void SetUp() override {
    DataDirTest::SetUp();
    setSetting(kSetDateFormat, Value("dd.mm.yyyy"));
    app::INITDBF();
    app::OtvoriBaze();
    app::setMessageDlg(&recordingDlg);
    g_boxes.clear();
    g_answer = 6;
    rows_ = Value::newArray();
    ASSERT_TRUE(errors.empty());
  }
  void TearDown() override {
    app::setMessageDlg(nullptr);
    DataDirTest::TearDown();
  }
  static app::OrderForm order(int n, const char* who) {
    app::OrderForm f = app::blankOrderForm(n, CTOD(Value("13.02.2013")));
    f.korisnik = who;
    return f;
  }
  app::EditOutcome save(const app::OrderForm& f) {
    return app::saveOrder(f, rows_, nullptr).outcome;
  }
  Value rows_;
};

// Texts with č ć š ž đ Č Š Ž in Windows-1250.
const std::string kSerbian = "\xE8\xE6\x9A\x9E\xF0 \xC8\x8A\x8E";

}  // namespace

TEST_F(OrderEditTest, AFullOrderIsStoredByteForByteAndLoadsBackTheSame) {
  app::OrderForm f = order(58, ("Petar " + kSerbian).c_str());
  f.kontakt = "064/123 " + kSerbian;
  f.proizvodja = "Nokia";
  f.model = "3310 " + kSerbian;
  f.serijskiBr = "SN-" + kSerbian;
  f.deviceKind = app::kDeviceOther;
  f.aparatOst = "Radio " + kSerbian;
  f.punjac = f.kartica = f.priborO = true;
  f.priborOst = "futrola " + kSerbian;
  f.telefonN = "ogreban " + kSerbian;
  f.opisKvara = {"ne pali", "", "ekran " + kSerbian};
  f.servisN = "zamenjen " + kSerbian;
  f.okvCena = 1500.5;
  f.konCena = 1234567.89;
  f.naCekanju = false;
  f.uObradi = true;
  ASSERT_EQ(save(f), app::EditOutcome::Done);
  ASSERT_TRUE(g_boxes.empty());

  DBSELECTAREA(Value("Nalozi"));
  ASSERT_EQ(__LASTREC().asInt(), 1);
  EXPECT_EQ(field("BrNal").str(), "00058");
  EXPECT_EQ(trimmed(field("Korisnik")), "Petar " + kSerbian);
  EXPECT_EQ(trimmed(field("Aparat")), "OSTALO:");
  EXPECT_EQ(field("Opis_Kvara").str(), "ne pali\r\n\r\nekran " + kSerbian + "\r\n");
  EXPECT_FALSE(field("Baterija").asBool());

  const std::vector<std::string> entries = {"Proizvodjac", "Alcatel", "Nokia"};
  const app::OrderForm back = app::readOrderForm(entries);
  EXPECT_EQ(back.number, 58);
  EXPECT_EQ(back.proizvodjacItem, 3);
  EXPECT_EQ(back.deviceKind, app::kDeviceOther);
  EXPECT_EQ(trimmed(Value(back.aparatOst)), f.aparatOst);
  EXPECT_EQ(back.opisKvara, f.opisKvara);
  EXPECT_EQ(trimmed(Value(back.servisN)), f.servisN);
  EXPECT_DOUBLE_EQ(back.okvCena, 1500.5);
  EXPECT_DOUBLE_EQ(back.konCena, 1234567.89);
  EXPECT_TRUE(back.uObradi);
  EXPECT_FALSE(back.zavrsen);
  EXPECT_EQ(DTOC(back.date).str(), "13.02.2013");
  // The overview got the order's row.
  ASSERT_EQ(rows_.arrayLen(), 1u);
  EXPECT_EQ(rows_.arr()->items[0].arr()->items[6].str(), "u Obradi");

  // A peer reads the same bytes.
  DBCLOSEALL();
  if (std::system("/usr/bin/python3 -c 'import dbfread' >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "python3-dbfread not installed";
  std::ofstream("r.py") << "import dbfread\n"
                           "r = list(dbfread.DBF('Nalozi.dbf', encoding='latin1', "
                           "char_decode_errors='strict'))[0]\n"
                           "import sys\n"
                           "out = '|'.join([r['BRNAL'], r['KORISNIK'], r['MODEL'], "
                           "r['APARAT_OST'], r['OPIS_KVARA'], str(r['KON_CENA']), "
                           "str(r['DATNAL']), str(r['U_OBRADI'])])\n"
                           "sys.stdout.buffer.write(out.encode('latin1'))\n";
  FILE* p = popen("/usr/bin/python3 r.py", "r");
  ASSERT_TRUE(p);
  std::string out;
  char buf[4096];
  for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  pclose(p);
  EXPECT_EQ(out, "00058|Petar " + kSerbian + "|3310 " + kSerbian + "|Radio " + kSerbian +
                     "|ne pali\r\n\r\nekran " + kSerbian + "\r\n|1234567.89|2013-02-13|True");
}

TEST_F(OrderEditTest, LoadRulesForKindsManufacturersAndOtherTexts) {
  const std::vector<std::string> entries = {"Proizvodjac", "Nokia", "Sony", "Sony Ericsson"};
  struct Case {
    const char* aparat;
    const char* proizvodja;
    bool priborO;
    int kind, item;
    bool otherShown, accessoryShown;
  } cases[] = {{"mobilni telefon", "Sony Ericsson", false, 3, 4, false, false},
               {"OSTALO: nesto", "Son", true, 5, 3, true, true},
               {"", "Xiaomi", false, 0, 1, false, false},
               {"ZICNI TELEFON", "", false, 1, 1, false, false}};
  DBSELECTAREA(Value("Nalozi"));
  for (const Case& c : cases) {
    app::appendBlank();
    put("Aparat", Value(c.aparat));
    put("Aparat_Ost", Value("opis uredjaja"));
    put("Proizvodja", Value(c.proizvodja));
    put("Pribor_O", Value(c.priborO));
    put("Pribor_Ost", Value("torbica"));
    const app::OrderForm f = app::readOrderForm(entries);
    EXPECT_EQ(f.deviceKind, c.kind) << c.aparat;
    EXPECT_EQ(f.proizvodjacItem, c.item) << c.proizvodja;
    EXPECT_EQ(trimmed(Value(f.aparatOst)), c.otherShown ? "opis uredjaja" : "") << c.aparat;
    EXPECT_EQ(f.aparatOst.size(), 50u);
    EXPECT_EQ(trimmed(Value(f.priborOst)), c.accessoryShown ? "torbica" : "");
  }
  DBUNLOCK();
}

TEST_F(OrderEditTest, NumbersOutsideTheFiveDigitsAreRefusedAndStoreNothing) {
  struct Case {
    Value number;
    app::OrderNumber kind;
    const char* box;
  } cases[] = {
      {Value(), app::OrderNumber::Missing, "Niste uneli Broj Naloga."},
      {Value(0), app::OrderNumber::Missing, "Niste uneli Broj Naloga."},
      {Value(-3), app::OrderNumber::Missing, "Niste uneli Broj Naloga."},
      {Value(100000), app::OrderNumber::TooLarge, "Broj naloga ne moze biti veci od 99999."},
      {Value(999999), app::OrderNumber::TooLarge, "Broj naloga ne moze biti veci od 99999."},
      {Value(99999), app::OrderNumber::Valid, nullptr},
      {Value(1), app::OrderNumber::Valid, nullptr}};
  for (const Case& c : cases) {
    EXPECT_EQ(app::classifyOrderNumber(c.number), c.kind);
    if (c.kind == app::OrderNumber::Valid) continue;
    g_boxes.clear();
    app::OrderForm f = order(0, "x");
    EXPECT_EQ(app::saveOrder(f, rows_, nullptr).outcome, app::EditOutcome::Refused);
    f.number = c.number.asInt();
    EXPECT_EQ(app::saveOrder(f, rows_, nullptr).outcome, app::EditOutcome::Refused);
    EXPECT_EQ(app::deleteOrder(c.number, rows_, nullptr).outcome, app::EditOutcome::Refused);
    ASSERT_EQ(g_boxes.size(), 3u);
    if (c.number.isNumber()) {
      EXPECT_EQ(g_boxes[1].text, c.box);
    }
    EXPECT_EQ(g_boxes[2].text, c.box);
    EXPECT_EQ(g_boxes[2].type, 2);
  }
  EXPECT_FALSE(app::orderExists(100000));
  DBSELECTAREA(Value("Nalozi"));
  EXPECT_EQ(__LASTREC().asInt(), 0);
  EXPECT_TRUE(rows_.arrayLen() == 0);
}

TEST_F(OrderEditTest, AnExistingNumberIsWrittenOverOnlyAfterYes) {
  ASSERT_EQ(save(order(12, "Petar")), app::EditOutcome::Done);
  g_answer = 7;
  EXPECT_EQ(save(order(12, "Milica")), app::EditOutcome::Declined);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].text,
            "Nalog broj 00012 vec postoji u bazi podataka.\rZelite li da snimite izmene na "
            "ovom Nalogu?");
  EXPECT_EQ(g_boxes[0].type, 3);
  DBSELECTAREA(Value("Nalozi"));
  DBSEEK(Value("00012"));
  EXPECT_EQ(trimmed(field("Korisnik")), "Petar");
  g_answer = 6;
  EXPECT_EQ(save(order(12, "Milica")), app::EditOutcome::Done);
  EXPECT_EQ(__LASTREC().asInt(), 1);
  EXPECT_EQ(trimmed(field("Korisnik")), "Milica");
  ASSERT_EQ(rows_.arrayLen(), 1u);
  EXPECT_EQ(trimmed(rows_.arr()->items[0].arr()->items[2]), "Milica");
  EXPECT_TRUE(DBRLOCKLIST().arrayLen() == 0);
}

TEST_F(OrderEditTest, DeletingTheHighestOrderGivesItsNumberAgain) {
  EXPECT_EQ(app::nextOrderNumber(), 1);
  for (int n : {1, 2, 3}) ASSERT_EQ(save(order(n, "Petar")), app::EditOutcome::Done);
  EXPECT_EQ(app::nextOrderNumber(), 4);
  g_answer = 7;
  EXPECT_EQ(app::deleteOrder(Value(3), rows_, nullptr).outcome, app::EditOutcome::Declined);
  EXPECT_EQ(app::nextOrderNumber(), 4);
  g_answer = 6;
  g_boxes.clear();
  const app::EditResult r = app::deleteOrder(Value(3), rows_, nullptr);
  EXPECT_EQ(r.outcome, app::EditOutcome::Done);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].text, "Sigurno brisete Nalog broj 00003?");
  EXPECT_EQ(app::nextOrderNumber(), 3);
  // The row shows the deleted order in parentheses.
  ASSERT_EQ(r.row, 3);
  const auto& row = rows_.arr()->items[2].arr()->items;
  EXPECT_EQ(row[0].str(), "(00003)");
  EXPECT_EQ(row[1].str(), "(13.02.2013)");
  EXPECT_EQ(row[2].str(), "(Petar)");
  EXPECT_EQ(row[6].str(), "(na Cekanju)");
  // The table: the record marked deleted, no lock left.
  DBSELECTAREA(Value("Nalozi"));
  setSetting(kSetDeleted, Value(false));
  DBGOTO(Value(3));
  EXPECT_TRUE(__DELETED().asBool());
  EXPECT_TRUE(DBRLOCKLIST().arrayLen() == 0);
  g_boxes.clear();
  EXPECT_EQ(app::deleteOrder(Value(7), rows_, nullptr).outcome, app::EditOutcome::NotFound);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].text, "Nalog broj 00007 ne postoji u bazi podataka!");
}

TEST_F(OrderEditTest, TheNumberAKeyWillLeaveInTheEdit) {
  struct Case {
    Value current;
    int key, expected;
  } cases[] = {{Value(0), '1', 1},  {Value(1), '2', 12}, {Value(12), 8, 12},
               {Value(12), 37, 12}, {Value(), '7', 7},   {Value(99999), '9', 999999}};
  for (const Case& c : cases) EXPECT_EQ(app::numberAfterKey(c.current, c.key), c.expected);
}

namespace {

struct CountingNotice : app::RecordWaitNotice {
  int begun = 0, passes = 0, ended = 0;
  void begin() override { ++begun; }
  void pass() override { ++passes; }
  void end() override { ++ended; }
};

}  // namespace

// Another station holds the order's record: the save waits, says so once the wait lasts, and
// writes once the lock is free.
TEST_F(OrderEditTest, ASaveWaitsWithItsNoticeForARecordAnotherStationHolds) {
  ASSERT_EQ(save(order(5, "Petar")), app::EditOutcome::Done);
  const fs::path ready = dir_ / "ready", release = dir_ / "release";
  fs::create_directories(dir_ / "holder");
  const char* bin = std::getenv("KV_BIN_DIR");
  kvtest::Child s =
      kvtest::startProgramIn(dir_ / "holder", fs::path(bin ? bin : KV_BIN_DIR) / "kv_order_station",
                             {"hold", dir_.string(), "5", ready.string(), release.string()});
  ASSERT_GT(s.pid, 0);
  for (int i = 0; i < 30000 && !fs::exists(ready); ++i) usleep(1000);
  ASSERT_TRUE(fs::exists(ready));
  std::thread releaser([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    std::ofstream(release) << "1";
  });
  CountingNotice notice;
  EXPECT_EQ(app::saveOrder(order(5, "Milica"), rows_, &notice).outcome, app::EditOutcome::Done);
  releaser.join();
  EXPECT_EQ(kvtest::finishProgram(s).exitCode, 0);
  EXPECT_EQ(notice.begun, 1);
  EXPECT_EQ(notice.ended, 1);
  EXPECT_GE(notice.passes, 2);
  DBSELECTAREA(Value("Nalozi"));
  DBSEEK(Value("00005"));
  EXPECT_EQ(trimmed(field("Korisnik")), "Milica");
  EXPECT_EQ(__LASTREC().asInt(), 1);
}

// The window's notice is the wait box, shown and destroyed through the message dialog.
TEST_F(OrderEditTest, TheWaitBoxNoticeShowsTheBusyOrderText) {
  app::WaitBoxNotice n(app::kOrderBusyText);
  n.begin();
  n.end();
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].text, "Nalog je zauzet na drugom racunaru, cekam...");
  EXPECT_EQ(g_boxes[0].type, 4);
}
