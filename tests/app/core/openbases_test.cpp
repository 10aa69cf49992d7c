// Opening the three tables with their indexes as the main window does at start-up.
#include <algorithm>

#include "app/core/datafiles.h"
#include "runtime/lang/symbols.h"
#include "support/datadir_fixture.h"

using namespace kv;
using namespace kv::engine;
using kvtest::DataDirTest;
using kvtest::kDefaultMakers;
namespace fs = std::filesystem;

namespace {

class OpenTablesTest : public DataDirTest {
 protected:
  // The values of a field in the controlling order of the current area.
  static std::vector<std::string> inOrder(const char* fieldName) {
    std::vector<std::string> out;
    for (DBGOTOP(); !__EOF().asBool(); DBSKIP()) out.push_back(trimmed(field(fieldName)));
    return out;
  }
};

}  // namespace

TEST_F(OpenTablesTest, FirstStartBuildsTheIndexesAndFillsTheManufacturers) {
  app::INITDBF();
  app::OtvoriBaze();
  EXPECT_TRUE(errors.empty());
  struct Expect {
    const char* alias;
    const char* key;
  };
  for (const Expect& e : {Expect{"Nalozi", "BrNal"}, Expect{"ProizTel", "upper(Naziv)"},
                          Expect{"Korisnici", "upper(Naziv)"}}) {
    SCOPED_TRACE(e.alias);
    DBSELECTAREA(Value(e.alias));
    EXPECT_EQ(upperName(ALIAS().str()), upperName(e.alias));
    EXPECT_TRUE(exists(std::string(e.alias) + ".ntx"));
    EXPECT_EQ(INDEXORD().asInt(), 1);  // the index's order controls the area
    EXPECT_EQ(upperName(ORDKEY().str()), upperName(e.key));
  }
  EXPECT_EQ(makersInRecordOrder(), kDefaultMakers);
  // In index order the names come case-insensitively sorted.
  DBSELECTAREA(Value("ProizTel"));
  std::vector<std::string> sorted = kDefaultMakers;
  std::sort(sorted.begin(), sorted.end(),
            [](const std::string& a, const std::string& b) { return upperName(a) < upperName(b); });
  EXPECT_EQ(inOrder("NAZIV"), sorted);
  EXPECT_EQ(DBRLOCKLIST().arrayLen(), 0u);
  DBSELECTAREA(Value("Nalozi"));
  EXPECT_EQ(__LASTREC().asInt(), 0);
  DBSELECTAREA(Value("Korisnici"));
  EXPECT_EQ(__LASTREC().asInt(), 0);
}

TEST_F(OpenTablesTest, ManufacturersAreFilledOnlyWhenTheTableHasNoRecordsAtAll) {
  // An existing empty table is filled; one whose records are all deleted is left alone.
  for (bool allDeleted : {false, true}) {
    SCOPED_TRACE(allDeleted);
    DBCLOSEALL();
    for (const char* f : {"ProizTel.dbf", "ProizTel.ntx"}) fs::remove(f);
    makeTable("ProizTel.dbf", firstRows("ProizTel", 1), [&] {
      if (!allDeleted) return;
      for (const char* name : {"Stari", "Drugi"}) {
        DBAPPEND();
        put("NAZIV", Value(name));
        DBDELETE();
      }
      DBUNLOCK();
    });
    app::INITDBF();
    app::OtvoriBaze();
    EXPECT_TRUE(errors.empty());
    if (allDeleted) {
      EXPECT_EQ(makersInRecordOrder(), (std::vector<std::string>{"Stari", "Drugi"}));
      EXPECT_TRUE(inOrder("NAZIV").empty());  // nothing visible for the manufacturer list
    } else {
      EXPECT_EQ(makersInRecordOrder(), kDefaultMakers);
    }
  }
}

TEST_F(OpenTablesTest, AMissingIndexIsRebuiltAndAnExistingOneUsedUnchanged) {
  app::INITDBF();
  app::OtvoriBaze();
  // Two customers, written as the application writes them.
  DBSELECTAREA(Value("Korisnici"));
  for (const char* name : {"zoran", "Ana"}) {
    DBAPPEND();
    ASSERT_TRUE(app::REC_LOCK(Value(0), Value("Korisnici")));
    put("NAZIV", Value(name));
    DBUNLOCK();
    DBCOMMIT();
  }
  DBCLOSEALL();
  const std::string proizTelNtx = bytes("ProizTel.ntx");
  fs::remove("Korisnici.ntx");

  app::OtvoriBaze();
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(bytes("ProizTel.ntx"), proizTelNtx);
  DBSELECTAREA(Value("Korisnici"));
  ASSERT_TRUE(exists("Korisnici.ntx"));
  EXPECT_EQ(inOrder("NAZIV"), (std::vector<std::string>{"Ana", "zoran"}));
  DBSELECTAREA(Value("ProizTel"));
  EXPECT_EQ(__LASTREC().asInt(), 22);  // not filled a second time
}
