// The data files while another station (a second real process, the test station program)
// holds a lock or the table itself: REC_LOCK, and an upgrade that must not go ahead.
#include <chrono>
#include <cstdlib>

#include "app/datafiles.h"
#include "datadir_fixture.h"
#include "process_run.h"

using namespace kv;
using namespace kv::engine;
using kvtest::DataDirTest;
namespace fs = std::filesystem;

namespace {

// Starts the test station with its command, data directory and further arguments; it works
// in the data directory and writes its output to out.txt there.
kvtest::Child startStation(const char* command, const fs::path& dir,
                           const std::vector<std::string>& more) {
  const char* bin = std::getenv("KV_BIN_DIR");
  std::vector<std::string> args{command, dir.string()};
  args.insert(args.end(), more.begin(), more.end());
  return kvtest::startProgramIn(dir, fs::path(bin ? bin : KV_BIN_DIR) / "kv_dbf_station", args);
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
