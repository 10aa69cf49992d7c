// Writes the seed corpora of the fuzz targets: fuzz_seeds OUTDIR makes OUTDIR/dbf, dbt, ntx,
// macro and format. Tables, memo files and indexes are made by the engine itself (small and
// larger ones, with deleted records, memos, descending, unique and conditional orders);
// expression texts and picture/text pairs are the kinds the program uses.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/area/areas.h"
#include "engine/area/dbfunc.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_tables.h"
#include "runtime/macro/macro.h"

namespace fs = std::filesystem;
using kv::Value;

namespace {

Value structure(std::vector<std::vector<Value>> rows) {
  Value s = Value::newArray();
  for (auto& r : rows) {
    Value row = Value::newArray();
    row.arr()->items.assign(r.begin(), r.end());
    s.arr()->items.push_back(row);
  }
  return s;
}

std::vector<Value> field(const char* name, const char* type, int len, int dec) {
  return {Value(name), Value(type), Value::integer(len), Value::integer(dec)};
}

void copyInto(const fs::path& dir, const std::string& name, const std::string& as) {
  fs::copy_file(kvfuzz::scratchPath(name), dir / as, fs::copy_options::overwrite_existing);
}

void put(const fs::path& dir, const std::string& name, const std::string& bytes) {
  kvfuzz::writeBytes((dir / name).string(), bytes.data(), bytes.size());
}

// The work-order table: every field type, `count` records, every seventh deleted, memos of
// growing length.
void makeOrders(int count) {
  kv::engine::DBCREATE(
      Value("WO.DBF"),
      structure({field("NUMBER", "N", 6, 0), field("CLIENT", "C", 30, 0),
                 field("PHONE", "C", 15, 0), field("PRICE", "N", 10, 2), field("TAKEN", "D", 8, 0),
                 field("DONE", "L", 1, 0), field("NOTES", "M", 10, 0)}),
      Value("DBF"));
  kv::engine::WorkArea* wa = kvfuzz::openTable("WO.DBF", "DBFNTX", false, false);
  if (wa == nullptr) std::exit(1);
  for (int i = 1; i <= count; ++i) {
    (void)wa->append(false);
    (void)wa->putValue(1, Value::integer(i));
    (void)wa->putValue(2, Value("Cliente " + std::to_string((i * 37) % 101)));
    (void)wa->putValue(3, Value("06" + std::to_string(1000000 + i * 13)));
    (void)wa->putValue(4, Value::number(i * 12.75, 0, 2));
    (void)wa->putValue(5, Value::date(2460000 + i * 3));
    (void)wa->putValue(6, Value(i % 2 == 0));
    if (i % 3 != 0) (void)wa->putValue(7, Value(std::string(static_cast<std::size_t>(i * 9), 'n')));
    if (i % 7 == 0) (void)wa->deleteRec();
  }
  (void)wa->flush();
}

void makeIndexes(const fs::path& ntx, const std::string& suffix) {
  struct Order {
    const char* bag;
    const char* key;
    const char* forText;
    bool unique;
    bool descending;
  } orders[] = {
      {"BYCLIENT", "UPPER(CLIENT)", nullptr, false, false},
      {"BYNUMBER", "NUMBER", nullptr, false, false},
      {"BYDATE", "DTOS(TAKEN)+STR(NUMBER,6)", nullptr, false, true},
      {"BYPHONE", "PHONE", "!DONE", true, false},
  };
  for (const Order& o : orders) {
    if (o.forText != nullptr || o.descending) {
      Value args[11];
      if (o.forText != nullptr) {
        args[0] = Value(o.forText);
        args[1] = kv::compileBlock(Value(o.forText)).block;
      }
      args[2] = Value(true);
      args[10] = Value(o.descending);
      kv::engine::ORDCONDSET(kv::Args(args, 11));
    }
    const std::string file = std::string(o.bag) + ".NTX";
    kv::engine::ORDCREATE(Value(file), Value(o.bag), Value(o.key), Value(), Value(o.unique));
    copyInto(ntx, file, std::string(o.bag) + suffix + ".ntx");
  }
  kv::engine::ORDLISTCLEAR();
}

const char* const kExpressions[] = {
    "1 + 2 * 3 - 4 / 5",
    "UPPER(\"abc\") + LOWER('DEF') + SUBSTR(\"hello\", 2, 3)",
    "IIF(1 > 2, \"a\", \"b\")",
    "{|x, y| x * y}",
    "EVAL({|x| x + 1}, 41)",
    "DTOS(CTOD(\"09/12/2026\")) == \"20261209\"",
    "STR(12.345, 10, 2) + STRZERO(7, 4)",
    "TRANSFORM(1234.5, \"@E 9,999.99\")",
    "PADR(\"x\", 10) $ \"xyz\"",
    "{1, \"two\", .T., NIL, {3}}[2]",
    "LEN(ARRAY(5)) + ASCAN({1, 2, 3}, 2)",
    "&(\"1 + 1\")",
    "TYPE(\"UNDEFINED_NAME\")",
    "x := 5, x += 2, x ** 2",
    "!(.T. .AND. .F.) .OR. .NOT. .F.",
    "VAL(\"  -12.50\") % 3",
    "CHR(65) + ASC(\"A\")",
    "DATE() - CTOD(\"01/01/2000\")",
    "ROUND(SQRT(2), 4) <= MAX(1, 2)",
    "AEVAL({1, 2}, {|n| n * 2})",
    "STRTRAN(\"a-b-c\", \"-\", \"+\")",
    "ALLTRIM(\"  x  \") != RTRIM(\"x \")",
    "EMPTY(\"\") .AND. VALTYPE(NIL) = \"U\"",
    "@func()",
    "(1, 2, 3)",
    "a->b",
    "\"unclosed",
    "1 ++",
};

struct FormatSeed {
  unsigned mode;
  const char* picture;
  const char* text;
};
const FormatSeed kFormats[] = {
    {0, "@E 999,999.99", "1234.5"},
    {0, "@( 9999.99", "-12.3"},
    {0, "@Z 999", "0"},
    {0, "@C 99.9", "5"},
    {0, "@X 99.9", "-5"},
    {0, "@B 9999", "42"},
    {0, "$$$,$$$.99", "1234"},
    {0, "***.**", "-1.5"},
    {16, "", "3.14159"},
    {1, "@! NNNNNN", "abc123"},
    {1, "@R (999) 999-9999", "0611234567"},
    {1, "@A", "x"},
    {1, "XXXX-XXXX", "abcdefgh"},
    {2, "@D", "09/12/2026"},
    {2 + 4, "@E", "31/12/1999"},
    {2 + 8, "", "1.2.49"},
    {2 + 32, "", "12/09/26"},
    {2 + 64, "", "2026.12.09"},
    {2 + 128, "YY-MM-DD", "26-12-09"},
    {3, "Y", "T"},
    {3, "L", "F"},
    {0, "@S5 999", "12"},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds OUTDIR\n");
    return 2;
  }
  const fs::path out = argv[1];
  for (const char* d : {"dbf", "dbt", "ntx", "macro", "format", "profile"})
    fs::create_directories(out / d);
  kvfuzz::startRun();
  kvfuzz::guarded([&] {
    // Two sizes of the work-order table: one page of index keys, and several levels.
    for (int count : {12, 400}) {
      makeOrders(count);
      const std::string suffix = "-" + std::to_string(count);
      makeIndexes(out / "ntx", suffix);
      kv::engine::closeAllAreas();
      copyInto(out / "dbf", "WO.DBF", "wo" + suffix + ".dbf");
      // Memo seeds: a record's memo field, then the memo file.
      const std::string table = kvfuzz::readBytes(kvfuzz::scratchPath("WO.DBF"));
      const std::string memo = kvfuzz::readBytes(kvfuzz::scratchPath("WO.DBT"));
      if (count == 12) {
        const std::size_t header =
            static_cast<unsigned char>(table[8]) | (static_cast<unsigned char>(table[9]) << 8);
        const std::size_t length =
            static_cast<unsigned char>(table[10]) | (static_cast<unsigned char>(table[11]) << 8);
        for (int r : {1, 2, 4, 5}) {
          const std::size_t at = header + (r - 1) * length + length - 10;
          put(out / "dbt", "memo-" + std::to_string(r), table.substr(at, 10) + memo);
        }
      }
    }
    // An empty table and one without memo.
    kv::engine::DBCREATE(Value("EMPTY.DBF"),
                         structure({field("NAME", "C", 10, 0), field("WHEN", "D", 8, 0)}),
                         Value("DBF"));
    copyInto(out / "dbf", "EMPTY.DBF", "empty.dbf");
  });
  for (std::size_t i = 0; i < std::size(kExpressions); ++i) {
    put(out / "macro", "expr-" + std::to_string(i), kExpressions[i]);
  }
  for (std::size_t i = 0; i < std::size(kFormats); ++i) {
    std::string bytes(1, static_cast<char>(kFormats[i].mode));
    bytes += kFormats[i].picture;
    bytes += '\0';
    bytes += kFormats[i].text;
    put(out / "format", "format-" + std::to_string(i), bytes);
  }
  // Settings files as the stations write them: CR LF, LF, no final line end, quotes, comments.
  static const char* const kProfiles[] = {
      "[Stampa]\r\nIzbor Stampaca=.F.\r\nBroj primeraka=1\r\nJezik=Srpski\r\n\r\n"
      "[Pregled]\r\nBoja=.T.\r\nBoja-na Cekanju=16777215\r\n",
      "; comment\n[zaglavlje]\nNaziv firme=\"Servis \xE8\"\n[Stampa]\njezik = Hrvatski",
      "key before any section\n[Stampa\n[]\n=\n[Stampa]\n"};
  for (std::size_t i = 0; i < std::size(kProfiles); ++i)
    put(out / "profile", "profile-" + std::to_string(i), kProfiles[i]);
  return 0;
}
