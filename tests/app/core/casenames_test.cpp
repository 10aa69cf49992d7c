// A shop's data directory copied from another system with its names in capitals (NALOZI.DBF,
// NALOZI.DBT, NALOZI.NTX, PROIZTEL.DBF ...): the start-up opens it with its records and
// creates nothing beside it; an older table is upgraded into backups named in its case; two
// tables differing only in case stop the start with both named in "Error.txt".
#include <cctype>
#include <set>

#include "app/kalvedo.h"
#include "runtime/lang/memvars.h"
#include "support/datadir_fixture.h"
#include "support/process_run.h"
#include "support/window_program.h"

using namespace kv;
using namespace kv::engine;
namespace fs = std::filesystem;

namespace {

class UpperCaseDataTest : public kvtest::DataDirTest {
 protected:
  void TearDown() override {
    releaseAllMemvars();
    DataDirTest::TearDown();
  }

  // The data files of a first start with two orders (with fault descriptions) and one
  // customer, every name then turned to capitals.
  void makeUpperCaseData() {
    app::INITDBF();
    app::OtvoriBaze();
    DBSELECTAREA(Value("Nalozi"));
    for (const char* n : {"00002", "00001"}) {
      DBAPPEND();
      ASSERT_TRUE(app::REC_LOCK(Value(0), Value("Nalozi")));
      put("BRNAL", Value(n));
      put("OPIS_KVARA", Value(std::string("ne radi ") + n + "\r\n"));
      DBUNLOCK();
      DBCOMMIT();
    }
    DBSELECTAREA(Value("Korisnici"));
    DBAPPEND();
    ASSERT_TRUE(app::REC_LOCK(Value(0), Value("Korisnici")));
    put("NAZIV", Value("Ana"));
    DBUNLOCK();
    DBCLOSEALL();
    ASSERT_TRUE(errors.empty());
    for (const std::string& name : names()) {
      std::string upper = name;
      for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      fs::rename(name, upper);
    }
  }

  // The files of the data directory, without the output files of the program's runs.
  static std::set<std::string> names() {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(".")) out.insert(e.path().filename().string());
    out.erase("out.txt");
    out.erase("err.txt");
    return out;
  }
  // The order numbers and fault descriptions of Nalozi in index order.
  static std::vector<std::string> orders() {
    DBSELECTAREA(Value("Nalozi"));
    std::vector<std::string> out;
    for (DBGOTOP(); !__EOF().asBool(); DBSKIP())
      out.push_back(trimmed(field("BRNAL")) + ":" + std::string(field("OPIS_KVARA").str()));
    return out;
  }

  const std::set<std::string> kUpper{"NALOZI.DBF",   "NALOZI.DBT",   "NALOZI.NTX",
                                     "PROIZTEL.DBF", "PROIZTEL.NTX", "KORISNICI.DBF",
                                     "KORISNICI.NTX"};
};

}  // namespace

TEST_F(UpperCaseDataTest, StartUpOpensTheTablesWithTheirRecordsAndCreatesNothing) {
  makeUpperCaseData();
  ASSERT_EQ(names(), kUpper);
  resetSettings();
  kvtest::WindowProgram program;
  ASSERT_TRUE(program.runMain());
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(names(), kUpper);
  EXPECT_EQ(orders(),
            (std::vector<std::string>{"00001:ne radi 00001\r\n", "00002:ne radi 00002\r\n"}));
  EXPECT_TRUE(DBSEEK(Value("00002")).asBool());
  DBSELECTAREA(Value("ProizTel"));
  EXPECT_EQ(__LASTREC().asInt(), 22);  // not filled a second time
  DBSELECTAREA(Value("Korisnici"));
  EXPECT_EQ(__LASTREC().asInt(), 1);
  DBGOTOP();
  EXPECT_EQ(trimmed(field("NAZIV")), "Ana");

  // A new order, written as the application writes it, goes into the same files and keys.
  DBSELECTAREA(Value("Nalozi"));
  DBAPPEND();
  ASSERT_TRUE(app::REC_LOCK(Value(0), Value("Nalozi")));
  put("BRNAL", Value("00003"));
  put("OPIS_KVARA", Value("novi\r\n"));
  DBUNLOCK();
  DBCOMMIT();
  DBCLOSEALL();
  EXPECT_EQ(names(), kUpper);
  app::OtvoriBaze();
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(orders().back(), "00003:novi\r\n");
  EXPECT_EQ(names(), kUpper);
}

TEST_F(UpperCaseDataTest, AnOlderTableInCapitalsIsUpgradedIntoBackupsOfItsCase) {
  makeTable("NALOZI.DBF", firstRows("Nalozi", 24), [&] {
    DBAPPEND();
    put("BRNAL", Value("00007"));
    put("OPIS_KVARA", Value("staro\r\n"));
  });
  makeTable("KORISNICI.DBF", firstRows("Korisnici", 1), [&] {
    DBAPPEND();
    put("NAZIV", Value("Ana"));
  });
  app::INITDBF();
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(names(),
            (std::set<std::string>{"NALOZI.DBF", "NALOZI.DBT", "NALOZI_K24.DBF", "NALOZI_K24.DBT",
                                   "KORISNICI.DBF", "KORISNICI.K01", "ProizTel.dbf"}));
  use("Nalozi.dbf");
  EXPECT_EQ(DBSTRUCT().arrayLen(), 25u);
  ASSERT_EQ(__LASTREC().asInt(), 1);
  DBGOTOP();
  EXPECT_EQ(std::string(field("OPIS_KVARA").str()), "staro\r\n");
  DBCLOSEAREA();
  use("korisnici");
  EXPECT_EQ(trimmed(field("NAZIV")), "Ana");
}

// The program itself, started in such a directory: a clean run (closed by its user once the
// main window is up) that adds no file but its own copies; with a second Nalozi table
// differing only in case it stops and names both.
TEST_F(UpperCaseDataTest, TheProgramStartsOnCapitalsAndStopsOnTwins) {
  makeUpperCaseData();
  const char* env = std::getenv("KV_BIN_DIR");
  const fs::path bin = env ? env : KV_BIN_DIR;
  fs::copy_file(bin / "kalvedo", dir_ / "kalvedo");
  fs::copy_file(bin / "kalvedo_closeprobe", dir_ / "kalvedo_closeprobe");
  std::set<std::string> expected = kUpper;
  expected.insert({"kalvedo", "kalvedo_closeprobe"});

  kvtest::Outcome clean = kvtest::runProgramIn(dir_, dir_ / "kalvedo_closeprobe", {});
  EXPECT_EQ(clean.exitCode, 0) << clean.err;
  EXPECT_EQ(names(), expected);

  fs::copy_file("NALOZI.DBF", "nalozi.dbf");
  kvtest::Outcome twins = kvtest::runProgramIn(dir_, dir_ / "kalvedo", {});
  EXPECT_EQ(twins.exitCode, 1);
  const std::string log = kvtest::readFile(dir_ / "Error.txt");
  EXPECT_EQ(log.rfind("Error DBFNTX/1001  Open error: \r\nNalozi.dbf (NALOZI.DBF and nalozi.dbf "
                      "differ only in case) (DOS Error 80) \r\n",
                      0),
            0u)
      << log;
  EXPECT_NE(log.find("Called from CREATEDBF ("), std::string::npos);
  expected.insert({"nalozi.dbf", "Error.txt"});
  EXPECT_EQ(names(), expected);
}
