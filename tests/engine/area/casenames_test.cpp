// Tables, memo files and indexes whose names on disk differ in case from the names asked
// for: the drivers open them, derive the memo and index names in their case, never create a
// second file beside one, and refuse names that match two files; the companion's check, dump
// and struct take either case.
#include <set>
#include <sstream>

#include "platform/filename.h"
#include "runtime/lang/settings.h"
#include "support/ntx_fixture.h"
#include "support/tool_runner.h"

using namespace kv;
using namespace kv::engine;
using kvtest::NtxTest;

namespace {

class CaseNamesTest : public NtxTest {
 protected:
  // NALOZI.DBF with its memo file and NALOZI.NTX on BRNAL, three orders, all in capitals as
  // a data directory copied from another system has them.
  void SetUp() override {
    NtxTest::SetUp();
    DBCREATE(Value("NALOZI.DBF"), structure({row("BRNAL", "C", 5, 0), row("OPIS", "M", 10, 0)}));
    useNtx("NALOZI.DBF");
    for (const char* n : {"00003", "00001", "00002"}) {
      DBAPPEND();
      FIELDPUT(Value(1), Value(n));
      FIELDPUT(Value(2), Value(std::string("kvar ") + n));
    }
    ORDCREATE(Value("NALOZI"), Value(), Value("BRNAL"));
    DBCLOSEALL();
    ASSERT_TRUE(errors.empty());
  }

  // The files of the data directory (without the output files of the companion's runs).
  std::set<std::string> names() const {
    std::set<std::string> out;
    for (const auto& e : kvtest::fs::directory_iterator(dir_))
      out.insert(e.path().filename().string());
    out.erase("out.txt");
    out.erase("err.txt");
    return out;
  }
  kvtest::ToolRun tool(std::vector<std::string> args) {
    return kvtest::runTool(dir_.string(), std::move(args));
  }
  // Order numbers and memo texts in the controlling order of the current area.
  static std::vector<std::string> ordersInOrder() {
    std::vector<std::string> out;
    for (DBGOTOP(); !__EOF().asBool(); DBSKIP())
      out.push_back(std::string(FIELDGET(Value(1)).str()) + ":" +
                    std::string(FIELDGET(Value(2)).str()));
    return out;
  }

  const std::set<std::string> kFiles{"NALOZI.DBF", "NALOZI.DBT", "NALOZI.NTX"};
  const std::vector<std::string> kOrders{"00001:kvar 00001", "00002:kvar 00002",
                                         "00003:kvar 00003"};
};

}  // namespace

TEST_F(CaseNamesTest, NamesInAnyCaseOpenTheTableItsMemoFileAndIndex) {
  // The memo and the index took the case of the names they come from.
  EXPECT_EQ(names(), kFiles);
  for (const char* table : {"Nalozi.dbf", "nalozi", "NALOZI", "nALOZI.Dbf"}) {
    SCOPED_TRACE(table);
    useNtx(table);
    ORDLISTADD(Value("Nalozi"));
    EXPECT_EQ(ordersInOrder(), kOrders);
    EXPECT_TRUE(DBSEEK(Value("00002")).asBool());
    EXPECT_EQ(ORDBAGNAME().str(), path("NALOZI.NTX"));  // the index under its own name
    // Changes go into the files that are there.
    DBGOTO(Value(1));
    FIELDPUT(Value(2), Value("kvar 00003"));
    DBCLOSEALL();
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(names(), kFiles);
  }
}

TEST_F(CaseNamesTest, CreatesTakeTheExistingFilesOver) {
  // A new table under another case replaces the old one, memo file included, and a new
  // index rewrites the index that is there.
  DBCREATE(Value("nalozi.dbf"), structure({row("BRNAL", "C", 5, 0), row("OPIS", "M", 10, 0)}));
  useNtx("Nalozi");
  EXPECT_EQ(__LASTREC().asInt(), 0);
  DBAPPEND();
  FIELDPUT(Value(1), Value("00009"));
  FIELDPUT(Value(2), Value("novi"));
  ORDCREATE(Value("nalozi"), Value(), Value("BRNAL"));
  DBCLOSEALL();
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(names(), kFiles);
  useNtx("NALOZI.DBF");
  ORDLISTADD(Value("NALOZI.NTX"));
  EXPECT_EQ(ordersInOrder(), std::vector<std::string>{"00009:novi"});
}

TEST_F(CaseNamesTest, TheSearchPathFindsTablesInAnyCase) {
  const kvtest::fs::path other = dir_ / "other";
  kvtest::fs::create_directories(other);
  for (const char* f : {"NALOZI.DBF", "NALOZI.DBT"}) kvtest::fs::rename(dir_ / f, other / f);
  setSetting(kSetPath, Value("missing;" + other.string()));
  useNtx("nalozi");
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(__LASTREC().asInt(), 3);
  DBGOTO(Value(2));
  EXPECT_EQ(FIELDGET(Value(2)).str(), "kvar 00001");
}

TEST_F(CaseNamesTest, TwoFilesDifferingOnlyInCaseAreNamedNeverGuessed) {
  kvtest::fs::copy_file(dir_ / "NALOZI.DBF", dir_ / "Nalozi.Dbf");
  // The exact name wins.
  useNtx("NALOZI.DBF");
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(__LASTREC().asInt(), 3);
  DBCLOSEALL();
  // Any other spelling fails its open with both names, and nothing is created or removed.
  for (const char* table : {"nalozi", "Nalozi.dbf"}) {
    SCOPED_TRACE(table);
    useNtx(table);
    ASSERT_EQ(errors.size(), 1u);
    const ErrorRecord& e = errors.front();
    EXPECT_EQ(e.genCode, EG_OPEN);
    EXPECT_EQ(e.subCode, 1001);
    EXPECT_EQ(e.osCode, platform::kAmbiguousName);
    EXPECT_EQ(e.fileName,
              path(std::string(table).find('.') == std::string::npos ? "nalozi.dbf" : table) +
                  " (" + path("NALOZI.DBF") + " and " + path("Nalozi.Dbf") +
                  " differ only in case)");
    EXPECT_EQ(currentArea(), nullptr);
    errors.clear();
  }
  DBCREATE(Value("nalozi.DBF"), structure({row("BRNAL", "C", 5, 0)}));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors.front().genCode, EG_CREATE);
  EXPECT_EQ(errors.front().osCode, platform::kAmbiguousName);
  std::set<std::string> files = kFiles;
  files.insert("Nalozi.Dbf");
  EXPECT_EQ(names(), files);
  EXPECT_EQ(bytes("Nalozi.Dbf"), bytes("NALOZI.DBF"));
}

TEST_F(CaseNamesTest, TheCompanionTakesEitherCase) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"check", "nalozi.dbf", "nalozi"},
        std::vector<std::string>{"check", "NALOZI", "Nalozi.ntx"}}) {
    kvtest::ToolRun r = tool(args);
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(r.out, "clean: NALOZI.DBF (3 records), NALOZI.NTX (3 keys)\n");
  }
  EXPECT_EQ(tool({"struct", "nalozi"}).out, "BRNAL C 5 0\nOPIS M 10 0\n");
  kvtest::ToolRun dump = tool({"dump", "Nalozi.dbf", "--index", "nalozi"});
  EXPECT_EQ(dump.code, 0);
  EXPECT_EQ(dump.out, "2 00001|kvar 00001\n3 00002|kvar 00002\n1 00003|kvar 00003\n");
  EXPECT_EQ(names(), kFiles);

  // A memo file under another case than the table's is found too.
  kvtest::fs::rename(dir_ / "NALOZI.DBT", dir_ / "nalozi.dbt");
  EXPECT_EQ(tool({"check", "Nalozi"}).code, 0);
  EXPECT_EQ(tool({"dump", "nalozi"}).out,
            "1 00003|kvar 00003\n2 00001|kvar 00001\n3 00002|kvar 00002\n");

  // Twins: the check names both and finds the table damaged.
  kvtest::fs::copy_file(dir_ / "NALOZI.DBF", dir_ / "nalozi.dbf");
  kvtest::ToolRun twins = tool({"check", "Nalozi.dbf"});
  EXPECT_EQ(twins.code, 1);
  EXPECT_NE(twins.out.find("Nalozi.dbf (NALOZI.DBF and nalozi.dbf differ only in case): "
                           "cannot be opened (operating-system error 80)"),
            std::string::npos)
      << twins.out;
}
