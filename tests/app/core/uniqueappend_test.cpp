// The key guard of appends: in one station (a key that exists, one that is free, a deleted
// record's key, a claim another station holds) and with two real stations saving the same new
// order numbers at the same moment, which must leave one record of each number.
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <regex>
#include <thread>

#include "app/core/uniqueappend.h"
#include "runtime/format/numfmt.h"
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

void waitFile(const fs::path& f) {
  for (int i = 0; i < 30000 && !fs::exists(f); ++i) usleep(1000);
}

class UniqueAppendTest : public DataDirTest {
 protected:
  void SetUp() override {
    DataDirTest::SetUp();
    app::INITDBF();
    app::OtvoriBaze();
    ASSERT_TRUE(errors.empty());
  }
  // Saves order `n` for customer `who` through the guard.
  app::KeyAppend save(int n, const char* who) {
    const Value number = STRZERO(Value(n), Value(5));
    return app::appendIfKeyFree(Value("Nalozi"), "Nalozi.dbf", number, [&] {
      app::REC_LOCK(Value(0), Value("Nalozi"));
      put("BRNAL", number);
      put("KORISNIK", Value(who));
      DBUNLOCK();
      DBCOMMIT();
    });
  }
  // Record numbers of each order number, deleted records included.
  static std::map<std::string, int> numberCounts() {
    std::map<std::string, int> out;
    DBSELECTAREA(Value("Nalozi"));
    for (int r = 1; r <= __LASTREC().asInt(); ++r) {
      DBGOTO(Value(r));
      if (!__DELETED().asBool()) out[std::string(field("BRNAL").str())]++;
    }
    return out;
  }
};

}  // namespace

TEST_F(UniqueAppendTest, AppendsAFreeKeyAndFindsAnExistingOne) {
  DBSELECTAREA(Value("Korisnici"));  // the guard selects the area itself
  EXPECT_EQ(save(58, "Petar"), app::KeyAppend::Appended);
  EXPECT_EQ(upperName(ALIAS().str()), "NALOZI");
  EXPECT_EQ(save(58, "Milica"), app::KeyAppend::Exists);
  // The existing record is current, unchanged.
  EXPECT_EQ(__RECNO().asInt(), 1);
  EXPECT_EQ(trimmed(field("KORISNIK")), "Petar");
  EXPECT_EQ(__LASTREC().asInt(), 1);
  EXPECT_TRUE(DBRLOCKLIST().arrayLen() == 0);
  EXPECT_TRUE(errors.empty());
}

TEST_F(UniqueAppendTest, ADeletedOrdersNumberIsFreeAgain) {
  ASSERT_EQ(save(7, "Petar"), app::KeyAppend::Appended);
  app::REC_LOCK(Value(0), Value("Nalozi"));
  DBDELETE();
  DBUNLOCK();
  EXPECT_EQ(save(7, "Milica"), app::KeyAppend::Appended);
  EXPECT_EQ(__LASTREC().asInt(), 2);
  EXPECT_EQ(trimmed(field("KORISNIK")), "Milica");
}

// The writer is run while the claim is held, and the claim is released even when the writer
// ends the program: the next save does not wait for it.
TEST_F(UniqueAppendTest, TheClaimIsReleasedWhenTheWriterUnwinds) {
  const Value number = STRZERO(Value(3), Value(5));
  EXPECT_THROW(
      app::appendIfKeyFree(Value("Nalozi"), "Nalozi.dbf", number, [] { throw QuitRequest(); }),
      QuitRequest);
  platform::File f;
  ASSERT_TRUE(f.open("Nalozi.dbf", platform::Access::ReadWrite, platform::Share::Shared,
                     platform::Disposition::OpenExisting));
  EXPECT_TRUE(f.lock(app::kKeyClaimOffset, 1));
  f.unlock(app::kKeyClaimOffset, 1);
}

// A claim held by another station makes the save wait until it is released.
TEST_F(UniqueAppendTest, WaitsWhileAnotherStationHoldsTheClaim) {
  const fs::path ready = dir_ / "ready", release = dir_ / "release";
  fs::create_directories(dir_ / "holder");
  kvtest::Child s = kvtest::startProgramIn(
      dir_ / "holder", binDir() / "kv_dbf_station",
      {"rawlock", dir_.string(), "Nalozi", std::to_string(app::kKeyClaimOffset), ready.string(),
       release.string()});
  ASSERT_GT(s.pid, 0);
  waitFile(ready);
  std::thread releaser([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::ofstream(release) << "1";
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(save(9, "Petar"), app::KeyAppend::Appended);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
  releaser.join();
  EXPECT_EQ(kvtest::finishProgram(s).exitCode, 0);
  EXPECT_EQ(numberCounts()["00009"], 1);
}

// Two stations save the same 200 new numbers at the same moment, in the same order: each
// number is stored once, and between them the stations appended exactly 200 records.
TEST_F(UniqueAppendTest, TwoStationsSavingTheSameNewNumbersStoreEachOnce) {
  DBCLOSEALL();
  const fs::path go = dir_ / "go";
  std::vector<kvtest::Child> stations;
  for (const char* tag : {"A", "B"}) {
    const fs::path work = dir_ / tag;
    fs::create_directories(work);
    stations.push_back(kvtest::startProgramIn(
        work, binDir() / "kv_order_station",
        {"claim", dir_.string(), "1", "200", tag, (work / "ready").string(), go.string()}));
    ASSERT_GT(stations.back().pid, 0);
  }
  waitFile(dir_ / "A" / "ready");
  waitFile(dir_ / "B" / "ready");
  std::ofstream(go) << "1";
  int appended = 0;
  for (const kvtest::Child& c : stations) {
    const kvtest::Outcome done = kvtest::finishProgramWithin(c, 120);
    ASSERT_EQ(done.exitCode, 0) << done.out << done.err;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(done.out, m, std::regex("appended (\\d+) exists (\\d+)")))
        << done.out;
    appended += std::stoi(m[1]);
    EXPECT_EQ(std::stoi(m[1]) + std::stoi(m[2]), 200);
  }
  EXPECT_EQ(appended, 200);
  use("Nalozi.dbf", "Nalozi");
  const std::map<std::string, int> counts = numberCounts();
  EXPECT_EQ(__LASTREC().asInt(), 200);
  ASSERT_EQ(counts.size(), 200u);
  for (const auto& [number, n] : counts) EXPECT_EQ(n, 1) << number;
}
