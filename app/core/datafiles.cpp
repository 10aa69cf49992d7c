#include "app/core/datafiles.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "app/core/dataindex.h"
#include "app/core/messagedlg.h"
#include "engine/area/dbfunc.h"
#include "platform/filename.h"
#include "runtime/error/callstack.h"
#include "runtime/error/error.h"
#include "runtime/lang/eventpoll.h"
#include "runtime/lang/memvars.h"
#include "runtime/lang/settings.h"
#include "runtime/lang/symbols.h"
#include "runtime/lib/arrays.h"
#include "runtime/lib/filefuncs.h"

namespace kv::app {

using namespace kv::engine;

namespace {

struct FieldDef {
  const char* name;
  const char* type;
  int len;
  int dec;
};

constexpr FieldDef kNalozi[] = {
    {"BrNal", "C", 5, 0},       {"DatNal", "D", 8, 0},      {"Korisnik", "C", 50, 0},
    {"Kontakt", "C", 50, 0},    {"Proizvodja", "C", 50, 0}, {"Model", "C", 50, 0},
    {"SerijskiBr", "C", 50, 0}, {"Aparat", "C", 50, 0},     {"Aparat_Ost", "C", 50, 0},
    {"Punjac", "L", 1, 0},      {"Baterija", "L", 1, 0},    {"Linijski_K", "L", 1, 0},
    {"Kartica", "L", 1, 0},     {"Pribor_O", "L", 1, 0},    {"Pribor_Ost", "C", 50, 0},
    {"Telefon_N", "C", 80, 0},  {"Opis_Kvara", "M", 10, 0}, {"Na_Cekanju", "L", 1, 0},
    {"U_Obradi", "L", 1, 0},    {"Zavrsen", "L", 1, 0},     {"Servis_O", "L", 1, 0},
    {"Servis_Ost", "C", 50, 0}, {"Servis_N", "C", 80, 0},   {"Okv_cena", "N", 10, 2},
    {"Kon_cena", "N", 10, 2},
};

constexpr FieldDef kProizTel[] = {
    {"Naziv", "C", 50, 0},
};

constexpr FieldDef kKorisnici[] = {
    {"Naziv", "C", 50, 0},
    {"Kontakt", "C", 50, 0},
};

// A table with its file, alias, index bag and key, in the order they are created and opened.
struct TableDef {
  const char* alias;
  const char* file;
  const char* key;
};

constexpr TableDef kTables[] = {
    {"Nalozi", "Nalozi.dbf", "BrNal"},
    {"ProizTel", "ProizTel.dbf", "upper(Naziv)"},
    {"Korisnici", "Korisnici.dbf", "upper(Naziv)"},
};

// The default manufacturer list, in the order it is stored.
constexpr const char* kProizvodjaci[] = {
    "Alcatel",       "Audio Vox", "BenQ-Siemens", "Ericsson",  "LG",        "Martin Dawes",
    "Mitsubishi",    "Motorola",  "Nec",          "Nokia",     "Panasonic", "Pantech",
    "Philips",       "Sagem",     "Samsung",      "Sharp",     "Siemens",   "Sony",
    "Sony Ericsson", "Telital",   "Vertu",        "VK Mobile",
};

Value fieldRow(const FieldDef& f) {
  Value row = Value::newArray();
  AADD(row, Value(f.name));
  AADD(row, Value(f.type));
  AADD(row, Value::integer(f.len));
  AADD(row, Value::integer(f.dec));
  return row;
}

template <std::size_t N>
Value rows(const FieldDef (&defs)[N]) {
  Value a = Value::newArray();
  for (const FieldDef& f : defs) AADD(a, fieldRow(f));
  return a;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  return upperName(a) == upperName(b);
}

std::string twoDigits(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", n);
  return buf;
}

// Restores the hiding of deleted records on every way out of the upgrade.
class DeletedSettingGuard {
 public:
  explicit DeletedSettingGuard(bool value) : saved_(setting(kSetDeleted)) {
    setSetting(kSetDeleted, Value(value));
  }
  ~DeletedSettingGuard() { setSetting(kSetDeleted, saved_); }
  DeletedSettingGuard(const DeletedSettingGuard&) = delete;
  DeletedSettingGuard& operator=(const DeletedSettingGuard&) = delete;

 private:
  Value saved_;
};

// Selects the work area of an alias for the guard's lifetime (an aliased expression).
class AliasGuard {
 public:
  explicit AliasGuard(const Value& alias) : previous_(__AXPRIN(alias)) {}
  ~AliasGuard() { __AXPROUT(previous_); }
  AliasGuard(const AliasGuard&) = delete;
  AliasGuard& operator=(const AliasGuard&) = delete;

 private:
  Value previous_;
};

bool lockCurrentRecord(const Value& alias) {
  if (!alias.deref().isString()) return DBRLOCK().asBool();
  AliasGuard in(alias);
  return DBRLOCK().asBool();
}

// The pause between two attempts of a waiting writer.
constexpr std::chrono::milliseconds kRetryPause{50};

void pauseBeforeRetry() {
  eventPoll();
  std::this_thread::sleep_for(kRetryPause);
}

}  // namespace

// When another station holds the lock of the new record's place the append fails with NETERR
// set and the current record is still the old one; the append is then tried again rather than
// the old record being overwritten.
void appendBlank() {
  for (;;) {
    DBAPPEND(Value(true));
    if (!NETERR()) return;
    pauseBeforeRetry();
  }
}

Value StrukturaTabele(std::string_view table) {
  if (equalsNoCase(table, "Nalozi")) return rows(kNalozi);
  if (equalsNoCase(table, "ProizTel")) return rows(kProizTel);
  if (equalsNoCase(table, "Korisnici")) return rows(kKorisnici);
  return Value::newArray();
}

void INITDBF() {
  KV_PROC("INITDBF");
  PUBLIC("aDbf");
  Value box = MessageDlg(Value("Kreiram baze podataka. Molim sacekajte..."), Value(4));
  for (const TableDef& t : kTables) {
    KV_LINE();
    memvarPut("aDbf", Value::newArray());
    Value aDbf = memvarGet("aDbf");
    const Value structure = StrukturaTabele(t.alias);
    for (const Value& row : structure.arr()->items) AADD(aDbf, row);
    CREATEDBF(Value(t.file));
  }
  closeWaitBox(box);
  RELEASE("aDbf");
}

void CREATEDBF(const Value& fileName) {
  KV_PROC("CREATEDBF");
  const Value& file = fileName.deref();
  const Value aDbf = memvarGet("aDbf");
  if (!FILE(file)) {
    KV_LINE();
    DBCREATE(file, aDbf);
    return;
  }
  KV_LINE();
  DBUSEAREA(Value(true), Value(kDataDriver), file, Value(), Value(true), Value(false));
  // An open the error handler abandoned (another station holds the table) leaves the table
  // as it is: without its field count it cannot be upgraded safely.
  if (!USED().asBool()) return;
  const int fieldCount = __FCOUNT().asInt();
  DBCLOSEAREA();
  if (aDbf.arrayLen() <= static_cast<std::size_t>(fieldCount)) return;

  // Keep the old table (and its memo file) under a backup name that records its field count.
  // The table is made anew only when the backup is complete: a copy the error handler
  // abandoned would otherwise lose the records or memo texts it did not copy. The backup
  // names follow the case of the table on disk (NALOZI.DBF: NALOZI_K24.DBF).
  const std::string table = platform::existingName(file.toStdString());
  const std::string memo = platform::derivedName(table, "", ".dbt");
  const std::string nn = twoDigits(fieldCount);
  std::string backup;
  if (FILE(Value(memo))) {
    backup = platform::derivedName(table, "_K" + nn, ".dbf");
    KV_LINE();
    if (!__COPYFILE(file, Value(backup))) return;
    if (!__COPYFILE(Value(memo), Value(platform::derivedName(table, "_K" + nn, ".dbt")))) return;
  } else {
    backup = platform::derivedName(table, "", ".K" + nn);
    KV_LINE();
    if (!__COPYFILE(file, Value(backup))) return;
  }
  KV_LINE();
  DBCREATE(file, aDbf);
  DBCLOSEALL();

  // Carry every record over, deleted ones too: with deleted records hidden the copy would
  // skip them.
  KV_LINE();
  DBUSEAREA(Value(true), Value(kDataDriver), file, Value(), Value(true), Value(false));
  {
    DeletedSettingGuard showDeleted(false);
    KV_LINE();
    __DBAPP(Value(backup), Value::newArray());
    DBUNLOCK();
    DBCOMMIT();
    DBCLOSEAREA();
  }
}

bool REC_LOCK(const Value& seconds, const Value& alias) {
  KV_PROC("REC_LOCK");
  if (lockCurrentRecord(alias)) return true;
  const Value& s = seconds.deref();
  const double limit = s.isNumber() ? s.asDouble() : 0;
  const bool forever = limit == 0;
  const auto start = std::chrono::steady_clock::now();
  auto elapsed = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  while (forever || elapsed() < limit) {
    pauseBeforeRetry();
    if (lockCurrentRecord(alias)) return true;
  }
  return false;
}

void FILLPROIZV() {
  KV_PROC("FILLPROIZV");
  DBSELECTAREA(Value("ProizTel"));
  const Value naziv = FIELDPOS(Value("Naziv"));
  for (const char* name : kProizvodjaci) {
    KV_LINE();
    appendBlank();
    if (REC_LOCK(Value(0), Value("ProizTel"))) {
      FIELDPUT(naziv, Value(name));
      DBUNLOCK();
      DBCOMMIT();
    }
  }
}

void OtvoriBaze() {
  KV_PROC("OTVORIBAZE");
  for (const TableDef& t : kTables) {
    KV_LINE();
    DBUSEAREA(Value(true), Value(kDataDriver), Value(t.file), Value(t.alias), Value(true),
              Value(false));
    if (!FILE(Value(std::string(t.alias) + ".ntx"))) {
      KV_LINE();
      ORDCREATE(Value(t.alias), Value(), Value(t.key), Value(), Value(false));
    }
    KV_LINE();
    OtvoriIndeks(Value(t.alias), Value(t.file), Value(t.alias), Value(t.key));
  }
  DBSELECTAREA(Value("ProizTel"));
  if (__LASTREC().asDouble() == 0) {
    KV_LINE();
    FILLPROIZV();
  }
}

void registerDataFileFunctions() {
  registerFunction("INITDBF", [](Args) {
    INITDBF();
    return Value();
  });
  registerFunction("CREATEDBF", [](Args a) {
    CREATEDBF(arg(a, 0));
    return Value();
  });
  registerFunction("REC_LOCK", [](Args a) { return Value(REC_LOCK(arg(a, 0), arg(a, 1))); });
  registerFunction("FILLPROIZV", [](Args) {
    FILLPROIZV();
    return Value();
  });
  registerFunction("OTVORIBAZE", [](Args) {
    OtvoriBaze();
    return Value();
  });
}

}  // namespace kv::app
