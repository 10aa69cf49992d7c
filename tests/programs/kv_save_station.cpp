// A station that saves work orders for the crash and soak tests, as the program's order
// window saves them: the table opened shared with DBFNTX, a new order appended through the key
// guard, a change under REC_LOCK, fields and memo written, DBUNLOCK, DBCOMMIT. Two orders are
// open: Nalozi.ntx on BrNal (controlling) and NaloziK.ntx on upper(Korisnik). Commands (DIR
// is the data directory):
//   create DIR                       makes Nalozi.dbf/.dbt and both indexes, empty
//   work DIR STATION SAVES SEED BASE makes SAVES saves chosen at random from SEED: half new
//                                    orders (numbers from BASE on), the rest changes and
//                                    deletions of existing orders
// Every save writes version v of a record, whose contents follow from (record, v)
// (support/order_content.h): a new order is version 1, a change or a deletion writes the
// version after the one stored (kept in Kon_cena). Before a write the station appends
// "I REC VER DEL NUMBER" to its journal JOURNAL-STATION.txt in DIR, and once DBCOMMIT has
// returned the same line with "C"; each line goes out in one write, so a kill leaves whole
// lines. Errors are printed as "error GEN SUB OS"; exit code 0 after all saves, 2 after an
// error. With KV_STATION_KILL_AT=N in its environment a working station kills itself
// (SIGKILL) just before its N-th file write, so a crash test can stop it between any two
// writes of a save, not only where a timer happens to land (mostly while the disk commits).
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "app/core/datafiles.h"
#include "app/core/uniqueappend.h"
#include "engine/area/areas.h"
#include "engine/area/dbfunc.h"
#include "engine/area/drivers.h"
#include "engine/area/fieldresolver.h"
#include "engine/dbf/dbfarea.h"
#include "engine/ntx/dbfntxarea.h"
#include "platform/filefault.h"
#include "runtime/lang/functions.h"
#include "runtime/lang/settings.h"
#include "support/order_content.h"

using namespace kv;
using namespace kv::engine;

namespace {

bool g_failed = false;
int g_journal = -1;

void journal(char kind, std::uint32_t rec, int ver, bool del, const std::string& number) {
  char line[80];
  const int n = std::snprintf(line, sizeof line, "%c %u %d %d %s\n", kind, rec, ver, del ? 1 : 0,
                              number.c_str());
  if (::write(g_journal, line, static_cast<std::size_t>(n)) != n) g_failed = true;
}

void put(const char* field, const Value& v) {
  FIELDPUT(FIELDPOS(Value(field)), v);
}

// Writes version `ver` of the current record, which the caller has locked, then unlocks and
// commits.
void save(std::uint32_t rec, int ver, bool del, const std::string& number) {
  journal('I', rec, ver, del, number);
  const kvtest::OrderContent c = kvtest::orderContent(rec, ver);
  put("BRNAL", Value(number));
  put("KORISNIK", Value(c.customer));
  put("OPIS_KVARA", Value(c.memo));
  put("OKV_CENA", Value::number(c.price, 10, 2));
  put("KON_CENA", Value::number(ver, 10, 2));
  if (del) DBDELETE();
  DBUNLOCK();
  DBCOMMIT();
  if (!g_failed) journal('C', rec, ver, del, number);
}

void work(int saves, unsigned seed, std::uint32_t base) {
  DBUSEAREA(Value(true), Value("DBFNTX"), Value("Nalozi.dbf"), Value("Nalozi"), Value(true));
  ORDLISTADD(Value("Nalozi.ntx"));
  ORDLISTADD(Value("NaloziK.ntx"));
  std::mt19937 rng(seed);
  std::uint32_t next = 0;
  for (int i = 0; i < saves && !g_failed; ++i) {
    const unsigned pick = rng() % 10;
    const std::uint32_t last = static_cast<std::uint32_t>(__LASTREC().asInt());
    if (pick < 5 || last == 0) {
      const std::string number = kvtest::orderNumber(base, next++);
      app::appendIfKeyFree(Value("Nalozi"), "Nalozi.dbf", Value(number), [&] {
        app::REC_LOCK(Value(0), Value("Nalozi"));
        save(static_cast<std::uint32_t>(__RECNO().asInt()), 1, false, number);
      });
      continue;
    }
    const std::uint32_t rec = 1 + static_cast<std::uint32_t>(rng() % last);
    DBGOTO(Value(static_cast<int>(rec)));
    if (!app::REC_LOCK(Value(30), Value("Nalozi"))) {
      std::printf("record %u not locked\n", rec);
      g_failed = true;
      break;
    }
    // The record as it is under the lock: a blank one (an append whose station stopped
    // before its values went out) and a deleted one are left alone.
    DBGOTO(Value(static_cast<int>(rec)));
    const int ver = FIELDGET(FIELDPOS(Value("KON_CENA"))).asInt();
    if (ver <= 0 || __DELETED().asBool()) {
      DBUNLOCK();
      continue;
    }
    const std::string number(FIELDGET(FIELDPOS(Value("BRNAL"))).str());
    save(rec, ver + 1, pick >= 8, number);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 64;
  const std::string cmd = argv[1];
  // The program keeps its data files in its current directory (the key guard opens the table
  // by its bare name).
  if (::chdir(argv[2]) != 0) return 3;
  resetSettings();
  setSetting(kSetDefault, Value(argv[2]));
  registerRuntimeFunctions();
  registerDbFunctions();
  installFieldResolver();
  registerDbfDriver();
  registerDbfNtxDriver();
  setErrorHook([](const ErrorRecord& e) {
    std::printf("error %d %d %d\n", e.genCode, e.subCode, e.osCode);
    std::fflush(stdout);
    g_failed = true;
    return ErrorResult{ErrorAnswer::Default, Value()};
  });
  if (cmd == "create") {
    DBCREATE(Value("Nalozi.dbf"), kvtest::orderStructure(), Value("DBFNTX"));
    DBUSEAREA(Value(true), Value("DBFNTX"), Value("Nalozi.dbf"), Value(), Value(false));
    ORDCREATE(Value("Nalozi.ntx"), Value(), Value("BrNal"));
    ORDCREATE(Value("NaloziK.ntx"), Value(), Value("upper(Korisnik)"));
  } else if (cmd == "work" && argc >= 7) {
    const std::string journalName = std::string(argv[2]) + "/JOURNAL-" + argv[3] + ".txt";
    g_journal = ::open(journalName.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (g_journal < 0) return 3;
    if (const char* at = std::getenv("KV_STATION_KILL_AT"); at && std::atol(at) > 0) {
      platform::setFileFaultHook([left = std::atol(at)](platform::FileStep step, const std::string&,
                                                        std::uint64_t, std::uint64_t) mutable {
        if (step == platform::FileStep::Write && --left == 0) ::raise(SIGKILL);
        return platform::FileFault::none();
      });
    }
    work(std::atoi(argv[4]), static_cast<unsigned>(std::strtoul(argv[5], nullptr, 10)),
         static_cast<std::uint32_t>(std::strtoul(argv[6], nullptr, 10)));
  } else {
    return 64;
  }
  closeAllAreas();
  return g_failed ? 2 : 0;
}
