#pragma once
// The data directory of a shop with a long history, shared by the benchmarks that run the
// program on it: 100,000 orders (most of them finished, a few in progress, the last 40
// waiting) and 5,000 customers, with their indexes built once.
#include <cstdint>
#include <filesystem>
#include <string>

#include "app/core/datafiles.h"
#include "engine/area/areas.h"
#include "engine/area/dbfunc.h"
#include "engine/area/fieldresolver.h"
#include "engine/dbf/dbfarea.h"
#include "engine/ntx/dbfntxarea.h"
#include "runtime/format/dates.h"
#include "runtime/format/numfmt.h"
#include "runtime/lang/functions.h"
#include "runtime/lang/settings.h"

namespace benchsupport {

inline constexpr int kOrders = 100000;
inline constexpr int kCustomers = 5000;

// The runtime's functions and the engine's drivers, as the program's start registers them.
inline void startEngine() {
  using namespace kv;
  resetSettings();
  registerRuntimeFunctions();
  engine::registerDbfDriver();
  engine::registerDbfNtxDriver();
  engine::registerDbFunctions();
  engine::installFieldResolver();
  app::registerDataFileFunctions();
  setSetting(kSetDeleted, Value(true));
}

inline void put(const char* name, const kv::Value& v) {
  kv::engine::FIELDPUT(kv::engine::FIELDPOS(kv::Value(name)), v);
}

// Fills `dir` with the tables of a shop's history and builds their indexes once, so the
// timed runs find them as a shop's stations do. Leaves `dir` the current directory.
inline void makeHistory(const std::filesystem::path& dir) {
  using namespace kv;
  std::filesystem::create_directories(dir);
  std::filesystem::current_path(dir);
  const char* makers[] = {"Nokia", "Samsung", "Motorola", "Siemens", "Sony Ericsson", "LG"};
  engine::DBCREATE(Value("Nalozi.dbf"), app::StrukturaTabele("Nalozi"));
  engine::DBUSEAREA(Value(true), Value(app::kDataDriver), Value("Nalozi.dbf"), Value(),
                    Value(false));
  const std::int32_t day = julianFromCalendar(1, 1, 2008);
  for (int i = 1; i <= kOrders; ++i) {
    engine::DBAPPEND();
    put("BrNal", STRZERO(Value(i), Value(5)));
    put("DatNal", Value::date(day + i / 40));
    put("Korisnik", Value("Kupac " + std::to_string(i % kCustomers)));
    put("Proizvodja", Value(makers[i % 6]));
    put("Model", Value("Model " + std::to_string(i % 300)));
    put("SerijskiBr", Value("SN" + std::to_string(1000000 + i)));
    put("Zavrsen", Value(i < kOrders - 40));
    put("U_Obradi", Value(i % 3 == 0));
  }
  engine::DBCLOSEAREA();
  engine::DBCREATE(Value("Korisnici.dbf"), app::StrukturaTabele("Korisnici"));
  engine::DBUSEAREA(Value(true), Value(app::kDataDriver), Value("Korisnici.dbf"), Value(),
                    Value(false));
  for (int i = 0; i < kCustomers; ++i) {
    engine::DBAPPEND();
    put("Naziv", Value("Kupac " + std::to_string(i)));
    put("Kontakt", Value("06" + std::to_string(4000000 + i)));
  }
  engine::DBCLOSEAREA();
  app::INITDBF();
  app::OtvoriBaze();  // builds the missing indexes and the default manufacturers
  engine::closeAllAreas();
}

}  // namespace benchsupport
