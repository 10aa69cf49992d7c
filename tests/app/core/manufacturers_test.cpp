// The manufacturer list below the window: the combo's entries built from ProizTel, adding a new
// name and one stored in another case, the refusal of a blank name, delete with each answer
// (the placeholder as the current text included), deleting all, and two real stations adding
// the same new customers and manufacturers at the same moment, which must store each once.
#include <unistd.h>

#include <cstdlib>
#include <algorithm>
#include <map>
#include <regex>

#include "app/core/listnames.h"
#include "app/core/manufacturers.h"
#include "app/core/messagedlg.h"
#include "support/datadir_fixture.h"
#include "runtime/lib/strings.h"
#include "support/process_run.h"

using namespace kv;
using namespace kv::engine;
using kvtest::DataDirTest;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> g_boxes;  // "N: text"
int g_answer = 6;

Value recordingDlg(const Value& text, const Value& type, const Value&, const Value&, const Value&) {
  g_boxes.push_back(std::to_string(type.deref().asInt()) + ": " + std::string(text.deref().str()));
  return type.deref().asInt() == 4 ? Value() : Value(g_answer);
}

using Texts = std::vector<std::string>;

class ManufacturersTest : public DataDirTest {
 protected:
  void SetUp() override {
    DataDirTest::SetUp();
    app::INITDBF();
    app::OtvoriBaze();
    app::setMessageDlg(&recordingDlg);
    g_answer = 6;
    g_boxes.clear();
    ASSERT_TRUE(errors.empty());
  }
  void TearDown() override {
    app::setMessageDlg(nullptr);
    DataDirTest::TearDown();
  }
  // The entries of a list, trailing blanks off.
  static Texts entries(const app::MakerList& list) {
    Texts out;
    for (const Value& v : list.items.arr()->items) out.push_back(trimmed(v));
    return out;
  }
  static Texts withDefaults(std::initializer_list<std::string> added) {
    Texts out = kvtest::kDefaultMakers;
    out.insert(out.end(), added);
    std::sort(out.begin(), out.end(), [](const std::string& a, const std::string& b) {
      return upperText(a) < upperText(b);
    });
    out.insert(out.begin(), "Proizvodjac");
    return out;
  }
};

}  // namespace

TEST_F(ManufacturersTest, TheListIsThePlaceholderAndTheNamesInIndexOrderAsStored) {
  const app::MakerList list = app::buildMakerList();
  EXPECT_EQ(entries(list), withDefaults({}));
  EXPECT_EQ(list.items.arr()->items[0].str(), "Proizvodjac");
  EXPECT_EQ(list.items.arr()->items[1].str(), app::paddedName("Alcatel"));
  EXPECT_EQ(list.selected, 1);
  EXPECT_EQ(app::buildMakerList(app::paddedName("Nokia")).selected, 11);
  // Only an exact (case and width) match is selected.
  EXPECT_EQ(app::buildMakerList(app::paddedName("NOKIA")).selected, 1);
  EXPECT_EQ(app::buildMakerList("Nokia").selected, 1);
  EXPECT_EQ(upperName(ALIAS().str()), "PROIZTEL");
}

TEST_F(ManufacturersTest, AddingANewNameAndOneStoredInAnotherCase) {
  app::MakerResult r = app::addManufacturer("Xiaomi");
  EXPECT_EQ(r.outcome, app::ListOutcome::Done);
  EXPECT_TRUE(r.selectItem);
  EXPECT_EQ(entries(r.list), withDefaults({"Xiaomi"}));
  EXPECT_EQ(trimmed(r.list.items.arr()->items[r.list.selected - 1]), "Xiaomi");
  EXPECT_TRUE(g_boxes.empty());

  // "NOKIA" is "Nokia" stored: no second entry, the stored name takes the typed case and is
  // the selected entry.
  DBSELECTAREA(Value("ProizTel"));
  const int before = __LASTREC().asInt();
  r = app::addManufacturer("NOKIA");
  EXPECT_EQ(__LASTREC().asInt(), before);
  Texts expected = withDefaults({"Xiaomi"});
  std::replace(expected.begin(), expected.end(), std::string("Nokia"), std::string("NOKIA"));
  EXPECT_EQ(entries(r.list), expected);
  EXPECT_EQ(r.list.selected, 11);
  EXPECT_EQ(trimmed(r.list.items.arr()->items[10]), "NOKIA");
  EXPECT_TRUE(DBRLOCKLIST().arrayLen() == 0);
}

TEST_F(ManufacturersTest, ABlankNameIsRefused) {
  DBSELECTAREA(Value("ProizTel"));
  const int before = __LASTREC().asInt();
  for (const std::string& name : std::vector<std::string>{"", "  ", std::string(50, ' ')}) {
    g_boxes.clear();
    const app::MakerResult r = app::addManufacturer(name);
    EXPECT_EQ(r.outcome, app::ListOutcome::Refused);
    EXPECT_TRUE(r.list.items.isNil());
    EXPECT_EQ(g_boxes, Texts{"2: Niste uneli Naziv Proizvodjaca."});
  }
  DBSELECTAREA(Value("ProizTel"));
  EXPECT_EQ(__LASTREC().asInt(), before);
}

TEST_F(ManufacturersTest, DeleteAsksAndRebuildsTheListWhateverTheAnswer) {
  struct Case {
    const char* caption;
    int answer;
    app::ListOutcome outcome;
    Texts boxes;
    bool gone;
  } cases[] = {
      {"Sagem", 7, app::ListOutcome::Declined, {"3: Sigurno brisete Proizvodjaca: SAGEM?"}, false},
      {"sagem",
       6,
       app::ListOutcome::Done,
       {"3: Sigurno brisete Proizvodjaca: SAGEM?", "0: Proizvodjac je obrisan."},
       true},
      {"Sagem",
       6,
       app::ListOutcome::NotFound,
       {"2: Proizvodjac SAGEM nije pronadjen u bazi podataka."},
       true},
      {"Proizvodjac",
       6,
       app::ListOutcome::NotFound,
       {"2: Proizvodjac PROIZVODJAC nije pronadjen u bazi podataka."},
       true},
      {"",
       6,
       app::ListOutcome::NotFound,
       {"2: Proizvodjac  nije pronadjen u bazi podataka."},
       true},
  };
  for (const Case& c : cases) {
    g_answer = c.answer;
    g_boxes.clear();
    const app::MakerResult r = app::deleteManufacturer(c.caption);
    EXPECT_EQ(r.outcome, c.outcome) << c.caption;
    EXPECT_EQ(g_boxes, c.boxes) << c.caption;
    EXPECT_FALSE(r.selectItem);
    const Texts list = entries(r.list);
    EXPECT_EQ(std::count(list.begin(), list.end(), "Sagem"), c.gone ? 0 : 1) << c.caption;
    EXPECT_EQ(list.front(), "Proizvodjac");
  }
  EXPECT_TRUE(DBRLOCKLIST().arrayLen() == 0);
  // The placeholder is a name like any other once it is stored.
  app::addManufacturer("Proizvodjac");
  g_boxes.clear();
  EXPECT_EQ(app::deleteManufacturer("Proizvodjac").outcome, app::ListOutcome::Done);
}

TEST_F(ManufacturersTest, DeletingAllNeedsYes) {
  g_answer = 7;
  app::MakerResult r = app::deleteAllManufacturers();
  EXPECT_EQ(r.outcome, app::ListOutcome::Declined);
  EXPECT_TRUE(r.list.items.isNil());  // the combo is left alone
  EXPECT_EQ(g_boxes, Texts{"3: Sigurno brisete SVE Proizvodjace?"});
  EXPECT_EQ(entries(app::buildMakerList()), withDefaults({}));
  g_answer = 6;
  g_boxes.clear();
  r = app::deleteAllManufacturers();
  EXPECT_EQ(r.outcome, app::ListOutcome::Done);
  EXPECT_EQ(g_boxes,
            (Texts{"3: Sigurno brisete SVE Proizvodjace?", "0: Svi Proizvodjaci su obrisani."}));
  EXPECT_EQ(entries(r.list), Texts{"Proizvodjac"});
  EXPECT_EQ(entries(app::buildMakerList()), Texts{"Proizvodjac"});
  EXPECT_TRUE(DBRLOCKLIST().arrayLen() == 0);
  // The records are marked, so an empty list is not filled with the defaults at the next start.
  DBCLOSEALL();
  app::OtvoriBaze();
  EXPECT_EQ(entries(app::buildMakerList()), Texts{"Proizvodjac"});
}

namespace {

fs::path binDir() {
  const char* bin = std::getenv("KV_BIN_DIR");
  return fs::path(bin ? bin : KV_BIN_DIR);
}

// Runs two stations with `command` over the same names 1..n, one typing them as given, the
// other upper-cased, started at the same moment; answers the sum of their "done" counts.
int runTwoStations(const fs::path& dir, const char* command, int n) {
  const fs::path go = dir / "go";
  std::vector<kvtest::Child> stations;
  for (const char* tag : {"plain", "upper"}) {
    const fs::path work = dir / tag;
    fs::create_directories(work);
    stations.push_back(kvtest::startProgramIn(work, binDir() / "kv_list_station",
                                              {command, dir.string(), "1", std::to_string(n), tag,
                                               (work / "ready").string(), go.string()}));
    EXPECT_GT(stations.back().pid, 0);
  }
  for (const char* tag : {"plain", "upper"})
    for (int i = 0; i < 30000 && !fs::exists(dir / tag / "ready"); ++i) usleep(1000);
  std::ofstream(go) << "1";
  int done = 0;
  for (const kvtest::Child& c : stations) {
    const kvtest::Outcome o = kvtest::finishProgramWithin(c, 120);
    EXPECT_EQ(o.exitCode, 0) << o.out << o.err;
    std::smatch m;
    if (std::regex_search(o.out, m, std::regex("done (\\d+)"))) done += std::stoi(m[1]);
  }
  return done;
}

// The names of `file`'s records that are not deleted, upper-cased, with their counts.
std::map<std::string, int> nameCounts() {
  std::map<std::string, int> out;
  for (int r = 1; r <= __LASTREC().asInt(); ++r) {
    DBGOTO(Value(r));
    if (!__DELETED().asBool()) out[upperText(FIELDGET(FIELDPOS(Value("Naziv"))).str())]++;
  }
  return out;
}

}  // namespace

// Each station saves every name once; whichever comes second finds the first one's record
// under the key guard and writes over it, so each name is one record.
TEST_F(ManufacturersTest, TwoStationsSavingTheSameNewCustomersStoreEachOnce) {
  DBCLOSEALL();
  constexpr int kNames = 150;
  EXPECT_EQ(runTwoStations(dir_, "customers", kNames), 2 * kNames);
  use("Korisnici.dbf", "Korisnici");
  EXPECT_EQ(__LASTREC().asInt(), kNames);
  const std::map<std::string, int> counts = nameCounts();
  ASSERT_EQ(counts.size(), static_cast<std::size_t>(kNames));
  for (const auto& [name, n] : counts) EXPECT_EQ(n, 1) << name;
}

TEST_F(ManufacturersTest, TwoStationsAddingTheSameNewManufacturersStoreEachOnce) {
  DBCLOSEALL();
  constexpr int kNames = 150;
  EXPECT_EQ(runTwoStations(dir_, "makers", kNames), 2 * kNames);
  use("ProizTel.dbf", "ProizTel");
  EXPECT_EQ(__LASTREC().asInt(), kNames + 22);
  const std::map<std::string, int> counts = nameCounts();
  ASSERT_EQ(counts.size(), static_cast<std::size_t>(kNames + 22));
  for (const auto& [name, n] : counts) EXPECT_EQ(n, 1) << name;
}
