// The table engine beside SQLite on the same logical work: a work-order table of 25 fields
// (the structure of the shop's orders) with 100,000 records. Each operation runs once per
// iteration over all records; the ratio ours/SQLite of the two benchmarks of a pair is the
// figure that matters.
//
// Pairs: exclusive append (one commit at the end); shared append taking and releasing a
// record lock per record (SQLite: one write transaction per row, without a disk flush per
// row on either side); sequential scan reading every field; random goto by record number
// reading every field; memo write and read (10,000 texts of 300 bytes); indexes on BRNAL
// and UPPER(KORISNIK) (SQLite: an expression index): building both, 100,000 random seeks
// reading the record, a walk in index order reading every record, and shared appends that
// keep both indexes current.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/area/areas.h"
#include "engine/area/dbfunc.h"
#include "engine/area/drivers.h"
#include "engine/area/fieldresolver.h"
#include "engine/dbf/dbfarea.h"
#include "engine/dbf/fieldconv.h"
#include "engine/ntx/dbfntxarea.h"
#include "runtime/format/dates.h"
#include "runtime/lang/functions.h"
#include "runtime/lang/settings.h"

using namespace kv;
using namespace kv::engine;
namespace fs = std::filesystem;

namespace {

constexpr int kRecords = 100000;
constexpr int kMemos = 10000;

struct Col {
  const char* name;
  const char* type;
  int len, dec;
};

// The order table's structure.
const Col kCols[] = {
    {"BRNAL", "C", 5, 0},       {"DATNAL", "D", 8, 0},      {"KORISNIK", "C", 50, 0},
    {"KONTAKT", "C", 50, 0},    {"PROIZVODJA", "C", 50, 0}, {"MODEL", "C", 50, 0},
    {"SERIJSKIBR", "C", 50, 0}, {"APARAT", "C", 50, 0},     {"APARAT_OST", "C", 50, 0},
    {"PUNJAC", "L", 1, 0},      {"BATERIJA", "L", 1, 0},    {"LINIJSKI_K", "L", 1, 0},
    {"KARTICA", "L", 1, 0},     {"PRIBOR_O", "L", 1, 0},    {"PRIBOR_OST", "C", 50, 0},
    {"TELEFON_N", "C", 80, 0},  {"OPIS_KVARA", "M", 10, 0}, {"NA_CEKANJU", "L", 1, 0},
    {"U_OBRADI", "L", 1, 0},    {"ZAVRSEN", "L", 1, 0},     {"SERVIS_O", "L", 1, 0},
    {"SERVIS_OST", "C", 50, 0}, {"SERVIS_N", "C", 80, 0},   {"OKV_CENA", "N", 10, 2},
    {"KON_CENA", "N", 10, 2}};
constexpr int kColCount = sizeof kCols / sizeof kCols[0];

// A private directory for the run's files, removed at the end.
struct BenchDir {
  fs::path path;
  BenchDir() {
    path = fs::temp_directory_path() / ("kv_bench_engine_" + std::to_string(::getpid()));
    fs::create_directories(path);
  }
  ~BenchDir() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
};

fs::path benchDir() {
  static BenchDir d;
  return d.path;
}

void setupEngine() {
  static bool done = false;
  if (done) return;
  done = true;
  resetSettings();
  setSetting(kSetDefault, Value(benchDir().string()));
  registerRuntimeFunctions();
  registerDbFunctions();
  installFieldResolver();
  registerDbfDriver();
  registerDbfNtxDriver();
  RDDSETDEFAULT(Value("DBF"));
}

// The value of column c for record i (the memo column gets no text here).
Value cell(int c, int i) {
  const Col& col = kCols[c];
  switch (col.type[0]) {
    case 'C': {
      if (c == 0) return Value(numberToField(i % 100000, 5, 0));
      std::string s = std::string(col.name) + " " + std::to_string(i);
      return Value(s.substr(0, static_cast<std::size_t>(col.len)));
    }
    case 'D':
      return Value::date(julianFromCalendar(1 + i % 28, 1 + i % 12, 2020 + i % 5));
    case 'L':
      return Value((i + c) % 3 == 0);
    case 'N':
      return Value((i % 10000) * 1.25);
    default:
      return Value();
  }
}

void createOurs(const char* name) {
  DBCLOSEALL();
  Value st = Value::newArray();
  for (const auto& c : kCols) {
    Value r = Value::newArray();
    r.arr()->items = {Value(c.name), Value(c.type), Value::integer(c.len), Value::integer(c.dec)};
    st.arr()->items.push_back(r);
  }
  DBCREATE(Value(name), st);
}

void appendOurs(int count, bool shared) {
  WorkArea* wa = currentArea();
  for (int i = 1; i <= count; ++i) {
    wa->append(true);
    for (int c = 0; c < kColCount; ++c)
      if (kCols[c].type[0] != 'M') wa->putValue(c + 1, cell(c, i));
    if (shared) wa->unlock(0);
  }
  wa->flush();
}

// Reads every field of the current record into values, as the program does.
void readAllOurs(WorkArea* wa, std::int64_t& sink) {
  for (int c = 1; c <= kColCount; ++c) {
    Value v;
    wa->getValue(c, v);
    sink += v.isString() ? static_cast<std::int64_t>(v.str().size()) : 1;
  }
}

sqlite3* openSqlite(const char* name, bool fresh) {
  std::string file = (benchDir() / name).string();
  if (fresh) fs::remove(file);
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr,
               nullptr);
  if (fresh) {
    std::string sql = "CREATE TABLE nalozi (";
    for (int c = 0; c < kColCount; ++c) {
      if (c) sql += ", ";
      sql += kCols[c].name;
      sql += kCols[c].type[0] == 'N' ? " REAL" : kCols[c].type[0] == 'L' ? " INTEGER" : " TEXT";
    }
    sql += ")";
    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  }
  return db;
}

void bindRow(sqlite3_stmt* st, int i) {
  for (int c = 0; c < kColCount; ++c) {
    Value v = cell(c, i);
    if (v.isString()) {
      sqlite3_bind_text(st, c + 1, v.str().data(), static_cast<int>(v.str().size()),
                        SQLITE_TRANSIENT);
    } else if (v.isDate()) {
      std::string d = dateToStored(v.julian());
      sqlite3_bind_text(st, c + 1, d.data(), 8, SQLITE_TRANSIENT);
    } else if (v.isLogical()) {
      sqlite3_bind_int(st, c + 1, v.asBool());
    } else if (v.isNumber()) {
      sqlite3_bind_double(st, c + 1, v.asDouble());
    } else {
      sqlite3_bind_text(st, c + 1, "", 0, SQLITE_STATIC);
    }
  }
}

void appendSqlite(sqlite3* db, int count, bool perRow) {
  sqlite3_stmt* st = nullptr;
  std::string sql = "INSERT INTO nalozi VALUES (";
  for (int c = 0; c < kColCount; ++c) sql += c ? ",?" : "?";
  sql += ")";
  sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
  if (!perRow) sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  for (int i = 1; i <= count; ++i) {
    if (perRow) sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    bindRow(st, i);
    sqlite3_step(st);
    sqlite3_reset(st);
    if (perRow) sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  }
  if (!perRow) sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_finalize(st);
}

void readAllSqlite(sqlite3_stmt* st, std::int64_t& sink) {
  for (int c = 0; c < kColCount; ++c) {
    if (sqlite3_column_type(st, c) == SQLITE_TEXT) {
      std::string s(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                    static_cast<std::size_t>(sqlite3_column_bytes(st, c)));
      sink += static_cast<std::int64_t>(s.size());
    } else {
      sink += static_cast<std::int64_t>(sqlite3_column_double(st, c)) + 1;
    }
  }
}

// Tables filled once for the read benchmarks.
void ensureReadTables() {
  static bool done = false;
  if (done) return;
  done = true;
  setupEngine();
  createOurs("readtab");
  DBUSEAREA(Value(true), Value("DBF"), Value("readtab"), Value(), Value(false));
  appendOurs(kRecords, false);
  DBCLOSEALL();
  sqlite3* db = openSqlite("readtab.db", true);
  appendSqlite(db, kRecords, false);
  sqlite3_close(db);
}

void BM_AppendExclusive_Ours(benchmark::State& state) {
  setupEngine();
  for (auto _ : state) {
    createOurs("appx");
    DBUSEAREA(Value(true), Value("DBF"), Value("appx"), Value(), Value(false));
    appendOurs(kRecords, false);
    DBCLOSEALL();
  }
}

void BM_AppendExclusive_Sqlite(benchmark::State& state) {
  for (auto _ : state) {
    sqlite3* db = openSqlite("appx.db", true);
    appendSqlite(db, kRecords, false);
    sqlite3_close(db);
  }
}

void BM_AppendSharedLocked_Ours(benchmark::State& state) {
  setupEngine();
  for (auto _ : state) {
    createOurs("apps");
    DBUSEAREA(Value(true), Value("DBF"), Value("apps"), Value(), Value(true));
    appendOurs(kRecords, true);
    DBCLOSEALL();
  }
}

void BM_AppendSharedLocked_Sqlite(benchmark::State& state) {
  for (auto _ : state) {
    sqlite3* db = openSqlite("apps.db", true);
    sqlite3_exec(db, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    appendSqlite(db, kRecords, true);
    sqlite3_close(db);
  }
}

// Reads every record of the current area in its current order, then closes the tables.
void walkOurs(benchmark::State& state) {
  WorkArea* wa = currentArea();
  std::int64_t sink = 0;
  for (auto _ : state) {
    for (wa->goTop(); !wa->eof(); wa->skip(1)) readAllOurs(wa, sink);
  }
  benchmark::DoNotOptimize(sink);
  DBCLOSEALL();
}

// Steps through a query on the read table, reading every column of every row.
void querySqlite(benchmark::State& state, const char* sql) {
  sqlite3* db = openSqlite("readtab.db", false);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
  std::int64_t sink = 0;
  for (auto _ : state) {
    while (sqlite3_step(st) == SQLITE_ROW) readAllSqlite(st, sink);
    sqlite3_reset(st);
  }
  benchmark::DoNotOptimize(sink);
  sqlite3_finalize(st);
  sqlite3_close(db);
}

void BM_SequentialScan_Ours(benchmark::State& state) {
  ensureReadTables();
  DBUSEAREA(Value(true), Value("DBF"), Value("readtab"), Value(), Value(true));
  walkOurs(state);
}

// The same scan on a table opened exclusively, which is read ahead in chunks.
void BM_SequentialScanExclusive_Ours(benchmark::State& state) {
  ensureReadTables();
  DBUSEAREA(Value(true), Value("DBF"), Value("readtab"), Value(), Value(false));
  walkOurs(state);
}

void BM_SequentialScan_Sqlite(benchmark::State& state) {
  ensureReadTables();
  querySqlite(state, "SELECT * FROM nalozi ORDER BY rowid");
}

std::vector<int> randomOrder() {
  std::vector<int> v(kRecords);
  std::mt19937 rng(42);
  for (auto& x : v) x = static_cast<int>(rng() % kRecords) + 1;
  return v;
}

void BM_RandomGoto_Ours(benchmark::State& state) {
  ensureReadTables();
  DBUSEAREA(Value(true), Value("DBF"), Value("readtab"), Value(), Value(true));
  WorkArea* wa = currentArea();
  std::vector<int> order = randomOrder();
  std::int64_t sink = 0;
  for (auto _ : state) {
    for (int n : order) {
      wa->goTo(static_cast<std::uint32_t>(n));
      readAllOurs(wa, sink);
    }
  }
  benchmark::DoNotOptimize(sink);
  DBCLOSEALL();
}

void BM_RandomGoto_Sqlite(benchmark::State& state) {
  ensureReadTables();
  sqlite3* db = openSqlite("readtab.db", false);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "SELECT * FROM nalozi WHERE rowid = ?", -1, &st, nullptr);
  std::vector<int> order = randomOrder();
  std::int64_t sink = 0;
  for (auto _ : state) {
    for (int n : order) {
      sqlite3_bind_int(st, 1, n);
      if (sqlite3_step(st) == SQLITE_ROW) readAllSqlite(st, sink);
      sqlite3_reset(st);
    }
  }
  benchmark::DoNotOptimize(sink);
  sqlite3_finalize(st);
  sqlite3_close(db);
}

std::string memoText(int i) {
  std::string s = "Opis kvara " + std::to_string(i) + "\r\n";
  while (s.size() < 300) s += "ne radi ekran, punjac ne puni\r\n";
  return s.substr(0, 300);
}

void BM_MemoWriteRead_Ours(benchmark::State& state) {
  setupEngine();
  const int memo = 17;
  std::int64_t sink = 0;
  for (auto _ : state) {
    createOurs("memo");
    DBUSEAREA(Value(true), Value("DBF"), Value("memo"), Value(), Value(false));
    WorkArea* wa = currentArea();
    for (int i = 1; i <= kMemos; ++i) {
      wa->append(true);
      wa->putValue(memo, Value(memoText(i)));
    }
    wa->flush();
    for (wa->goTop(); !wa->eof(); wa->skip(1)) {
      Value v;
      wa->getValue(memo, v);
      sink += static_cast<std::int64_t>(v.str().size());
    }
    DBCLOSEALL();
  }
  benchmark::DoNotOptimize(sink);
}

void BM_MemoWriteRead_Sqlite(benchmark::State& state) {
  std::int64_t sink = 0;
  for (auto _ : state) {
    sqlite3* db = openSqlite("memo.db", true);
    sqlite3_stmt* ins = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO nalozi (OPIS_KVARA) VALUES (?)", -1, &ins, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (int i = 1; i <= kMemos; ++i) {
      std::string t = memoText(i);
      sqlite3_bind_text(ins, 1, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
      sqlite3_step(ins);
      sqlite3_reset(ins);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_finalize(ins);
    sqlite3_stmt* sel = nullptr;
    sqlite3_prepare_v2(db, "SELECT OPIS_KVARA FROM nalozi ORDER BY rowid", -1, &sel, nullptr);
    while (sqlite3_step(sel) == SQLITE_ROW) {
      std::string s(reinterpret_cast<const char*>(sqlite3_column_text(sel, 0)),
                    static_cast<std::size_t>(sqlite3_column_bytes(sel, 0)));
      sink += static_cast<std::int64_t>(s.size());
    }
    sqlite3_finalize(sel);
    sqlite3_close(db);
  }
  benchmark::DoNotOptimize(sink);
}

// The two orders of the benchmarks: the order number and the customer's name in capitals.
const char* const kKeyBrNal = "BRNAL";
const char* const kKeyKorisnik = "UPPER(KORISNIK)";

void createOrdersOurs(const char* brnal, const char* korisnik) {
  ORDCREATE(Value(brnal), Value(), Value(kKeyBrNal));
  ORDCREATE(Value(korisnik), Value(), Value(kKeyKorisnik));
}

void openIndexedOurs(const char* table, bool shared, const char* brnal, const char* korisnik) {
  DBUSEAREA(Value(true), Value("DBFNTX"), Value(table), Value(), Value(shared));
  ORDLISTADD(Value(brnal));
  ORDLISTADD(Value(korisnik));
}

const char* const kSqliteIndexes =
    "CREATE INDEX ix_brnal ON nalozi(BRNAL); CREATE INDEX ix_korisnik ON nalozi(upper(KORISNIK));";

// Indexes over the read tables, made once for the seek and walk benchmarks.
void ensureReadIndexes() {
  static bool done = false;
  if (done) return;
  done = true;
  ensureReadTables();
  DBUSEAREA(Value(true), Value("DBFNTX"), Value("readtab"), Value(), Value(false));
  createOrdersOurs("rt_brnal", "rt_kor");
  DBCLOSEALL();
  sqlite3* db = openSqlite("readtab.db", false);
  sqlite3_exec(db, kSqliteIndexes, nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

void BM_IndexCreate_Ours(benchmark::State& state) {
  ensureReadTables();
  for (auto _ : state) {
    DBUSEAREA(Value(true), Value("DBFNTX"), Value("readtab"), Value(), Value(false));
    createOrdersOurs("cr_brnal", "cr_kor");
    DBCLOSEALL();
  }
}

void BM_IndexCreate_Sqlite(benchmark::State& state) {
  ensureReadTables();
  sqlite3* db = openSqlite("readtab.db", false);
  for (auto _ : state) {
    state.PauseTiming();
    sqlite3_exec(db, "DROP INDEX IF EXISTS ix_brnal; DROP INDEX IF EXISTS ix_korisnik;", nullptr,
                 nullptr, nullptr);
    state.ResumeTiming();
    sqlite3_exec(db, kSqliteIndexes, nullptr, nullptr, nullptr);
  }
  sqlite3_close(db);
}

// The order numbers of the random seeks (each one exists).
std::vector<std::string> seekKeys() {
  std::vector<std::string> keys;
  for (int n : randomOrder()) keys.push_back(numberToField(n % 100000, 5, 0));
  return keys;
}

void BM_IndexSeek_Ours(benchmark::State& state) {
  ensureReadIndexes();
  openIndexedOurs("readtab", true, "rt_brnal", "rt_kor");
  WorkArea* wa = currentArea();
  std::vector<std::string> keys = seekKeys();
  std::int64_t sink = 0, found = 0;
  for (auto _ : state) {
    for (const auto& k : keys) {
      wa->seek(Value(k), false, false);
      found += wa->found();
      readAllOurs(wa, sink);
    }
  }
  if (found != static_cast<std::int64_t>(keys.size() * state.iterations()))
    state.SkipWithError("a seek did not find its order number");
  benchmark::DoNotOptimize(sink);
  DBCLOSEALL();
}

void BM_IndexSeek_Sqlite(benchmark::State& state) {
  ensureReadIndexes();
  sqlite3* db = openSqlite("readtab.db", false);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "SELECT * FROM nalozi WHERE BRNAL = ? LIMIT 1", -1, &st, nullptr);
  std::vector<std::string> keys = seekKeys();
  std::int64_t sink = 0;
  for (auto _ : state) {
    for (const auto& k : keys) {
      sqlite3_bind_text(st, 1, k.data(), static_cast<int>(k.size()), SQLITE_STATIC);
      if (sqlite3_step(st) == SQLITE_ROW) readAllSqlite(st, sink);
      sqlite3_reset(st);
    }
  }
  benchmark::DoNotOptimize(sink);
  sqlite3_finalize(st);
  sqlite3_close(db);
}

// The walk as one station reads: shared, so every step takes the index lock and checks the
// update counter, as other stations may change the order between steps.
void BM_IndexWalk_Ours(benchmark::State& state) {
  ensureReadIndexes();
  openIndexedOurs("readtab", true, "rt_brnal", "rt_kor");
  ORDSETFOCUS(Value(2));
  walkOurs(state);
}

// The same walk on a table opened exclusively: no index lock, pages stay cached.
void BM_IndexWalkExclusive_Ours(benchmark::State& state) {
  ensureReadIndexes();
  openIndexedOurs("readtab", false, "rt_brnal", "rt_kor");
  ORDSETFOCUS(Value(2));
  walkOurs(state);
}

void BM_IndexWalk_Sqlite(benchmark::State& state) {
  ensureReadIndexes();
  querySqlite(state, "SELECT * FROM nalozi ORDER BY upper(KORISNIK)");
}

void BM_IndexedAppendShared_Ours(benchmark::State& state) {
  setupEngine();
  for (auto _ : state) {
    state.PauseTiming();
    createOurs("appi");
    DBUSEAREA(Value(true), Value("DBFNTX"), Value("appi"), Value(), Value(false));
    createOrdersOurs("ap_brnal", "ap_kor");
    DBCLOSEALL();
    state.ResumeTiming();
    openIndexedOurs("appi", true, "ap_brnal", "ap_kor");
    appendOurs(kRecords, true);
    DBCLOSEALL();
  }
}

void BM_IndexedAppendShared_Sqlite(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    sqlite3* db = openSqlite("appi.db", true);
    sqlite3_exec(db, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    sqlite3_exec(db, kSqliteIndexes, nullptr, nullptr, nullptr);
    state.ResumeTiming();
    appendSqlite(db, kRecords, true);
    sqlite3_close(db);
  }
}

}  // namespace

BENCHMARK(BM_AppendExclusive_Ours)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AppendExclusive_Sqlite)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AppendSharedLocked_Ours)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_AppendSharedLocked_Sqlite)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_SequentialScan_Ours)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SequentialScanExclusive_Ours)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SequentialScan_Sqlite)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RandomGoto_Ours)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RandomGoto_Sqlite)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_MemoWriteRead_Ours)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MemoWriteRead_Sqlite)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_IndexCreate_Ours)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_IndexCreate_Sqlite)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_IndexSeek_Ours)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_IndexSeek_Sqlite)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_IndexWalk_Ours)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_IndexWalkExclusive_Ours)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_IndexWalk_Sqlite)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_IndexedAppendShared_Ours)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_IndexedAppendShared_Sqlite)->Unit(benchmark::kMillisecond)->Iterations(1);
