// The data files while another station (a second real process, the test station program)
// holds a lock or the table itself: REC_LOCK, an upgrade that must not go ahead, and a
// damaged index that cannot be rebuilt while the table is in use.
#include <chrono>
#include <cstdlib>

#include "app/core/datafiles.h"
#include "runtime/lang/lifecycle.h"
#include "support/datadir_fixture.h"
#include "support/process_run.h"

using namespace kv;
using namespace kv::engine;
using kvtest::DataDirTest;
namespace fs = std::filesystem;

namespace {

fs::path binDir() {
  const char* bin = std::getenv("KV_BIN_DIR");
  return fs::path(bin ? bin : KV_BIN_DIR);
}

// Starts the test station with its command, data directory and further arguments; it works
// in `workDir` (default: the data directory) and writes its output to out.txt there.
kvtest::Child startStation(const char* command, const fs::path& dir,
                           const std::vector<std::string>& more, fs::path workDir = {}) {
  std::vector<std::string> args{command, dir.string()};
  args.insert(args.end(), more.begin(), more.end());
  if (workDir.empty()) workDir = dir;
  return kvtest::startProgramIn(workDir, binDir() / "kv_dbf_station", args);
}

void waitFile(const fs::path& f) {
  for (int i = 0; i < 20000 && !fs::exists(f); ++i) usleep(1000);
}

class RecLockTest : public DataDirTest {
 protected:
  void SetUp() override {
    DataDirTest::SetUp();
    app::INITDBF();
    // Two customers, and the orders open beside them, shared as the application opens them.
    use("Korisnici.dbf", "Korisnici");
    for (const char* name : {"Petar", "Milica"}) {
      DBAPPEND();
      put("NAZIV", Value(name));
    }
    DBUNLOCK();
    DBCOMMIT();
    use("Nalozi.dbf", "Nalozi");
    ASSERT_TRUE(errors.empty());
  }
};

// A table that another station holds while this one starts.
class HeldTableTest : public DataDirTest {};

}  // namespace

TEST_F(RecLockTest, LockHeldByThisProcessAnswersTrueAtOnceAndKeepsTheSelection) {
  DBSELECTAREA(Value("Korisnici"));
  DBGOTO(Value(2));
  ASSERT_TRUE(DBRLOCK().asBool());
  DBSELECTAREA(Value("Nalozi"));
  EXPECT_TRUE(app::REC_LOCK(Value(0), Value("Korisnici")));
  EXPECT_EQ(upperName(ALIAS().str()), "NALOZI");  // the current area is still Nalozi
  DBSELECTAREA(Value("Korisnici"));
  const Value locks = DBRLOCKLIST();
  ASSERT_EQ(locks.arrayLen(), 1u);
  EXPECT_EQ(locks.arr()->items[0].asInt(), 2);
  EXPECT_TRUE(errors.empty());
}

TEST_F(RecLockTest, LockOfAnotherStationGivesFalseAfterTheSecondsAndTrueOnceReleased) {
  const fs::path ready = dir_ / "ready", release = dir_ / "release";
  kvtest::Child s =
      startStation("hold", dir_, {"Korisnici", "1", ready.string(), release.string()});
  ASSERT_GT(s.pid, 0);
  waitFile(ready);
  DBSELECTAREA(Value("Korisnici"));
  DBGOTO(Value(1));

  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(app::REC_LOCK(Value(1), Value("Korisnici")));
  // It kept trying for the time asked, not just a few quick attempts.
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
  EXPECT_EQ(DBRLOCKLIST().arrayLen(), 0u);

  // A writer with no limit waits until the other station lets go.
  std::ofstream(release) << "1";
  EXPECT_TRUE(app::REC_LOCK(Value(0), Value("Korisnici")));
  const kvtest::Outcome done = kvtest::finishProgram(s);
  EXPECT_EQ(done.exitCode, 0) << done.out;
  EXPECT_TRUE(errors.empty());
}

TEST_F(HeldTableTest, UpgradeLeavesATableAloneThatAnotherStationHoldsExclusively) {
  DBCREATE(Value("Nalozi.dbf"), firstRows("Nalozi", 24));
  use("Nalozi.dbf");
  DBAPPEND();
  put("BRNAL", Value("00001"));
  put("OPIS_KVARA", Value("tekst\r\n"));
  DBUNLOCK();
  DBCLOSEAREA();
  const std::string dbf = bytes("Nalozi.dbf"), dbt = bytes("Nalozi.dbt");
  const fs::path ready = dir_ / "ready", release = dir_ / "release";
  kvtest::Child s =
      startStation("open", dir_, {"Nalozi", "excl", ready.string(), release.string()});
  ASSERT_GT(s.pid, 0);
  waitFile(ready);

  app::INITDBF();  // the handler abandons the open (sharing violation)
  std::ofstream(release) << "1";
  const kvtest::Outcome done = kvtest::finishProgram(s);
  EXPECT_EQ(done.exitCode, 0) << done.out;
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].genCode, EG_OPEN);
  EXPECT_EQ(bytes("Nalozi.dbf"), dbf);
  EXPECT_EQ(bytes("Nalozi.dbt"), dbt);
  EXPECT_FALSE(exists("Nalozi_K24.dbf"));
  EXPECT_FALSE(exists("Nalozi_K00.dbf"));
  // The other tables were made all the same.
  EXPECT_TRUE(exists("ProizTel.dbf"));
  EXPECT_TRUE(exists("Korisnici.dbf"));
}

// The opening procedure meets a cut-off Nalozi.ntx while another station has Nalozi.dbf open:
// the index cannot be rebuilt, so the user is told how to rebuild it and the program ends
// through the error system; nothing is written and the table is not left open without its
// index.
TEST_F(HeldTableTest, DamagedIndexOfATableInUseEndsWithTheRebuildCommand) {
  app::INITDBF();
  app::OtvoriBaze();
  DBCLOSEALL();
  ASSERT_TRUE(errors.empty());
  fs::resize_file("Nalozi.ntx", 1500);  // the root page at 1024 is cut off
  const std::string damaged = bytes("Nalozi.ntx");
  const fs::path ready = dir_ / "ready", release = dir_ / "release";
  kvtest::Child s =
      startStation("open", dir_, {"Nalozi", "shared", ready.string(), release.string()});
  ASSERT_GT(s.pid, 0);
  waitFile(ready);

  EXPECT_THROW(app::OtvoriBaze(), QuitRequest);
  setErrorLevel(0);
  std::ofstream(release) << "1";
  const kvtest::Outcome done = kvtest::finishProgram(s);
  EXPECT_EQ(done.exitCode, 0) << done.out;
  // The exclusive open was refused (another station), then the damage ended the program.
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].genCode, EG_OPEN);
  EXPECT_EQ(errors[1].genCode, EG_CORRUPTION);
  EXPECT_EQ(errors[1].subCode, 1012);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Error");
  EXPECT_EQ(boxes[0].kind, 2);
  EXPECT_EQ(boxes[0].text,
            "Indeks Nalozi.ntx je ostecen i mora se ponovo napraviti dok nijedna druga stanica "
            "ne radi sa bazom Nalozi.dbf. Zatvorite program na svim stanicama, pa u "
            "direktorijumu sa podacima pokrenite:\r\nkalvedo-db reindex Nalozi.dbf Nalozi.ntx "
            "BrNal");
  EXPECT_TRUE(bytes("Nalozi.ntx") == damaged);
  EXPECT_FALSE(exists("Nalozi_K01.ntx"));
  for (int area = 1; area <= 3; ++area) EXPECT_EQ(ALIAS(Value(area)).str(), "") << area;
}

// The same with the program itself: a cut-off Nalozi.ntx while another station has the table
// ends the start with the error report and the rebuild command; alone, the program rebuilds
// the index, says so, and goes on, and the companion finds the new index sound.
TEST_F(HeldTableTest, ProgramStartsWithACutOffIndex) {
  fs::copy_file(binDir() / "kalvedo", dir_ / "kalvedo");
  // The program closed by its user once its main window is up, for the starts that go on.
  fs::copy_file(binDir() / "kalvedo_closeprobe", dir_ / "kalvedo_closeprobe");
  fs::copy_file(binDir() / "kalvedo-db", dir_ / "kalvedo-db");
  fs::create_directories(dir_ / "station");
  auto run = [&](const char* exe, std::vector<std::string> args = {}) {
    return kvtest::runProgramIn(dir_, dir_ / exe, std::move(args));
  };
  ASSERT_EQ(run("kalvedo_closeprobe").exitCode, 0);  // the first start makes the data files
  fs::resize_file(dir_ / "Nalozi.ntx", 1500);
  const std::string damaged = bytes("Nalozi.ntx");
  const fs::path ready = dir_ / "ready", release = dir_ / "release";
  kvtest::Child s = startStation(
      "open", dir_, {"Nalozi", "shared", ready.string(), release.string()}, dir_ / "station");
  ASSERT_GT(s.pid, 0);
  waitFile(ready);

  kvtest::Outcome held = run("kalvedo");
  std::ofstream(release) << "1";
  EXPECT_EQ(kvtest::finishProgram(s).exitCode, 0);
  EXPECT_EQ(held.exitCode, 1);
  EXPECT_NE(held.err.find("kalvedo-db reindex Nalozi.dbf Nalozi.ntx BrNal"), std::string::npos)
      << held.err;
  EXPECT_NE(kvtest::readFile(dir_ / "Error.txt").find("DBFNTX/1012"), std::string::npos);
  EXPECT_TRUE(bytes("Nalozi.ntx") == damaged);
  EXPECT_FALSE(exists("Nalozi_K01.ntx"));

  fs::remove(dir_ / "Error.txt");
  kvtest::Outcome alone = run("kalvedo_closeprobe");
  EXPECT_EQ(alone.exitCode, 0) << alone.err;
  EXPECT_NE(alone.err.find("Information: Indeks Nalozi.ntx je bio ostecen"), std::string::npos)
      << alone.err;
  EXPECT_FALSE(exists("Error.txt") && fs::file_size("Error.txt") > 0);
  EXPECT_TRUE(bytes("Nalozi_K01.ntx") == damaged);
  kvtest::Outcome check = run("kalvedo-db", {"check", "Nalozi.dbf", "Nalozi.ntx"});
  EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
}
