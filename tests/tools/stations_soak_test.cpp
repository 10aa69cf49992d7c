// Stations save work orders at once on one data directory (new orders, changes and
// deletions, with memos, both indexes open); afterwards the companion's check is clean and
// every record holds the last version a station committed for it, in full.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "engine/area/areas.h"
#include "engine/area/dbfunc.h"
#include "support/datadir_fixture.h"
#include "support/order_content.h"
#include "support/process_run.h"
#include "support/tool_runner.h"

using namespace kv;
using namespace kv::engine;
namespace fs = std::filesystem;

namespace {

fs::path station() {
  const char* bin = std::getenv("KV_BIN_DIR");
  return fs::path(bin ? bin : KV_BIN_DIR) / "kv_save_station";
}

struct Saved {
  int ver = 0;
  bool del = false;
  std::string number;
};

int fromEnvironment(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v != nullptr && std::atoi(v) > 0 ? std::atoi(v) : fallback;
}

class StationsSoakTest : public kvtest::DataDirTest {};

// Two stations of 200 saves each; `make soak` sets KV_SOAK_STATIONS and KV_SOAK_SAVES for
// the long run.
TEST_F(StationsSoakTest, StationsSaveWithoutLossOrTear) {
  const int stations = fromEnvironment("KV_SOAK_STATIONS", 2);
  const int saves = fromEnvironment("KV_SOAK_SAVES", 200);
  const fs::path d = dir_;
  ASSERT_EQ(kvtest::runProgramIn(d, station(), {"create", d.string()}).exitCode, 0);
  std::vector<kvtest::Child> kids;
  const auto started = std::chrono::steady_clock::now();
  for (int s = 1; s <= stations; ++s) {
    const fs::path w = d / ("st" + std::to_string(s));
    fs::create_directories(w);
    kids.push_back(
        kvtest::startProgramIn(w, station(),
                               {"work", d.string(), std::to_string(s), std::to_string(saves),
                                std::to_string(s), std::to_string(s * 2000)}));
  }
  for (const auto& k : kids) {
    const kvtest::Outcome o = kvtest::finishProgramWithin(k, 1800);
    EXPECT_EQ(o.exitCode, 0) << o.out << o.err;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("%d stations x %d saves in %.1f s: %.0f saves per second\n", stations, saves, seconds,
              stations * saves / seconds);
  const kvtest::ToolRun check =
      kvtest::runTool(d.string(), {"check", "Nalozi.dbf", "Nalozi.ntx", "NaloziK.ntx"});
  EXPECT_EQ(check.code, 0) << check.out;

  // The last committed version of each record, from both journals.
  std::map<std::uint32_t, Saved> last;
  int intents = 0, commits = 0;
  for (int s = 1; s <= stations; ++s) {
    std::ifstream in(d / ("JOURNAL-" + std::to_string(s) + ".txt"));
    char kind;
    Saved v;
    std::uint32_t rec;
    int del;
    while (in >> kind >> rec >> v.ver >> del >> v.number) {
      v.del = del != 0;
      if (kind == 'I') ++intents;
      if (kind != 'C') continue;
      ++commits;
      if (v.ver > last[rec].ver) last[rec] = v;
    }
  }
  EXPECT_EQ(intents, commits);  // no station stopped: every write was committed
  ASSERT_FALSE(last.empty());

  DBUSEAREA(Value(true), Value("DBFNTX"), Value((d / "Nalozi.dbf").string()), Value("N"),
            Value(true), Value(true));
  EXPECT_EQ(static_cast<std::size_t>(__LASTREC().asInt()), last.size());  // none lost or doubled
  for (const auto& [rec, v] : last) {
    SCOPED_TRACE("record " + std::to_string(rec));
    DBGOTO(Value(static_cast<int>(rec)));
    const kvtest::OrderContent c = kvtest::orderContent(rec, v.ver);
    EXPECT_EQ(FIELDGET(FIELDPOS(Value("KON_CENA"))).asInt(), v.ver);
    EXPECT_EQ(std::string(FIELDGET(FIELDPOS(Value("BRNAL"))).str()), v.number);
    std::string customer(FIELDGET(FIELDPOS(Value("KORISNIK"))).str());
    customer.erase(customer.find_last_not_of(' ') + 1);
    EXPECT_EQ(customer, c.customer);
    EXPECT_EQ(std::string(FIELDGET(FIELDPOS(Value("OPIS_KVARA"))).str()), c.memo);
    EXPECT_EQ(__DELETED().asBool(), v.del);
  }
  closeAllAreas();
}

}  // namespace
