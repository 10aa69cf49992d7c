// The application's data files: first start, upgrades of older structures, the default
// manufacturer list, the indexes, and the record lock every writer takes.
#include "app/core/datafiles.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>

#include "runtime/format/dates.h"
#include "runtime/lang/symbols.h"
#include "support/datadir_fixture.h"

extern char** environ;

using namespace kv;
using namespace kv::engine;
using kvtest::DataDirTest;
using kvtest::kDefaultMakers;
namespace fs = std::filesystem;

namespace {

// The structure of the current area as "NAME T LEN DEC" lines.
std::vector<std::string> structureLines(const Value& rows) {
  std::vector<std::string> out;
  for (const Value& r : rows.arr()->items) {
    const auto& it = r.arr()->items;
    out.push_back(upperName(it[0].str()) + " " + std::string(it[1].str()) + " " +
                  std::to_string(it[2].asInt()) + " " + std::to_string(it[3].asInt()));
  }
  return out;
}

using DataFilesTest = DataDirTest;

}  // namespace

TEST_F(DataFilesTest, FirstStartCreatesTheTablesAndFillProizvWritesTheDefaultList) {
  app::INITDBF();
  EXPECT_TRUE(errors.empty());
  EXPECT_FALSE(memvarExists("aDbf"));  // released once all tables are done
  for (const char* f : {"Nalozi.dbf", "Nalozi.dbt", "ProizTel.dbf", "Korisnici.dbf"})
    EXPECT_TRUE(exists(f)) << f;
  EXPECT_FALSE(exists("ProizTel.dbt"));
  EXPECT_FALSE(exists("Korisnici.dbt"));
  for (const char* t : {"Nalozi", "ProizTel", "Korisnici"}) {
    use((std::string(t) + ".dbf").c_str());
    EXPECT_EQ(structureLines(DBSTRUCT()), structureLines(app::StrukturaTabele(t))) << t;
    EXPECT_EQ(__LASTREC().asInt(), 0) << t;
    DBCLOSEAREA();
  }
  ASSERT_EQ(app::StrukturaTabele("Nalozi").arrayLen(), 25u);

  // The default manufacturers, written under record locks that were all released again.
  use("ProizTel.dbf", "ProizTel");
  app::FILLPROIZV();
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(makersInRecordOrder(), kDefaultMakers);
  EXPECT_EQ(DBRLOCKLIST().arrayLen(), 0u);
}

TEST_F(DataFilesTest, NaloziOfTwentyFourFieldsIsUpgradedWithEveryRecord) {
  const std::string longText = std::string(700, 'x') + "\r\nkraj\r\n";
  makeTable("Nalozi.dbf", firstRows("Nalozi", 24), [&] {
    const char* numbers[] = {"00001", "00002", "00003"};
    for (int i = 0; i < 3; ++i) {
      DBAPPEND();
      put("BRNAL", Value(numbers[i]));
      put("DATNAL", Value::date(julianFromCalendar(10 + i, 3, 2012)));
      put("KORISNIK", Value("Kupac " + std::to_string(i + 1)));
      put("PUNJAC", Value(i == 1));
      put("OPIS_KVARA", Value(i == 2 ? longText : "ne radi\r\n"));
      put("ZAVRSEN", Value(i == 0));
      put("OKV_CENA", Value::number(1234.5 + i, 10, 2));
    }
    DBGOTO(Value(2));
    DBRLOCK();
    DBDELETE();
    DBUNLOCK();
    DBCOMMIT();
  });
  const std::string oldDbf = bytes("Nalozi.dbf"), oldDbt = bytes("Nalozi.dbt");

  app::INITDBF();
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(bytes("Nalozi_K24.dbf"), oldDbf);
  EXPECT_EQ(bytes("Nalozi_K24.dbt"), oldDbt);
  EXPECT_FALSE(exists("Nalozi.K24"));

  EXPECT_TRUE(setFlag(kSetDeleted));  // hidden again after the copy

  setSetting(kSetDeleted, Value(false));
  use("Nalozi.dbf");
  EXPECT_EQ(structureLines(DBSTRUCT()), structureLines(app::StrukturaTabele("Nalozi")));
  ASSERT_EQ(__LASTREC().asInt(), 3);
  for (int r = 1; r <= 3; ++r) {
    DBGOTO(Value(r));
    SCOPED_TRACE(r);
    EXPECT_EQ(field("BRNAL").str(), "0000" + std::to_string(r));
    EXPECT_EQ(field("DATNAL").julian(), julianFromCalendar(9 + r, 3, 2012));
    EXPECT_EQ(trimmed(field("KORISNIK")), "Kupac " + std::to_string(r));
    EXPECT_EQ(field("PUNJAC").asBool(), r == 2);
    EXPECT_EQ(field("ZAVRSEN").asBool(), r == 1);
    EXPECT_EQ(field("OPIS_KVARA").str(), r == 3 ? longText : "ne radi\r\n");
    EXPECT_DOUBLE_EQ(field("OKV_CENA").asDouble(), 1233.5 + r);
    EXPECT_DOUBLE_EQ(field("KON_CENA").asDouble(), 0);  // the new field starts at zero
    EXPECT_EQ(__DELETED().asBool(), r == 2);
  }
}

TEST_F(DataFilesTest, TableWithoutMemoFileKeepsItsBackupUnderTheFieldCountExtension) {
  makeTable("Korisnici.dbf", firstRows("Korisnici", 1), [&] {
    for (const char* name : {"Petar", "Milica"}) {
      DBAPPEND();
      put("NAZIV", Value(name));
    }
    DBDELETE();  // Milica
    DBUNLOCK();
  });
  const std::string old = bytes("Korisnici.dbf");

  app::INITDBF();
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(bytes("Korisnici.K01"), old);
  EXPECT_FALSE(exists("Korisnici_K01.dbf"));
  EXPECT_TRUE(setFlag(kSetDeleted));

  setSetting(kSetDeleted, Value(false));
  use("Korisnici.dbf");
  ASSERT_EQ(fieldNames(), (std::vector<std::string>{"NAZIV", "KONTAKT"}));
  ASSERT_EQ(__LASTREC().asInt(), 2);
  DBGOTO(Value(1));
  EXPECT_EQ(trimmed(field("NAZIV")), "Petar");
  EXPECT_EQ(trimmed(field("KONTAKT")), "");
  EXPECT_FALSE(__DELETED().asBool());
  DBGOTO(Value(2));
  EXPECT_EQ(trimmed(field("NAZIV")), "Milica");
  EXPECT_TRUE(__DELETED().asBool());
}

TEST_F(DataFilesTest, TablesWithAsManyFieldsOrMoreAreLeftUnchanged) {
  struct Case {
    const char* file;
    Value structure;
  };
  const Case cases[] = {
      // as many fields, one of another width
      {"ProizTel.dbf", kvtest::DataDirTest::firstRows("ProizTel", 1)},
      {"Korisnici.dbf",
       [] {
         Value s = kvtest::DataDirTest::firstRows("Korisnici", 2);
         Value extra = Value::newArray();
         for (Value v : {Value("Telefon"), Value("C"), Value(20), Value(0)})
           extra.arr()->items.push_back(v);
         s.arr()->items.push_back(extra);  // one field more than the current structure
         return s;
       }()},
  };
  std::vector<std::string> before;
  for (const Case& c : cases) {
    makeTable(c.file, c.structure, [] {
      DBAPPEND();
      put("NAZIV", Value("Nokia"));
      DBUNLOCK();
    });
    before.push_back(bytes(c.file));
  }
  app::INITDBF();
  EXPECT_TRUE(errors.empty());
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(bytes(cases[i].file), before[i]) << cases[i].file;
  for (const char* backup : {"ProizTel.K01", "Korisnici.K02", "Korisnici.K03"})
    EXPECT_FALSE(exists(backup)) << backup;
}

TEST_F(DataFilesTest, FunctionsAreRegisteredByName) {
  for (const char* name : {"INITDBF", "CREATEDBF", "REC_LOCK", "FILLPROIZV", "OTVORIBAZE"}) {
    const Symbol* s = findSymbol(name);
    ASSERT_NE(s, nullptr) << name;
    EXPECT_NE(s->fn, nullptr) << name;
  }
  // CREATEDBF by name reads the structure from the public aDbf.
  PUBLIC("aDbf", firstRows("Korisnici", 2));
  Value args[] = {Value("Korisnici.dbf")};
  findSymbol("CREATEDBF")->fn(Args(args));
  EXPECT_TRUE(errors.empty());
  use("Korisnici.dbf");
  EXPECT_EQ(fieldNames(), (std::vector<std::string>{"NAZIV", "KONTAKT"}));
}
