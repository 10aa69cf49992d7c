#include "app/kalvedo.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "runtime/format/dates.h"
#include "runtime/lang/memvars.h"
#include "runtime/lang/settings.h"
#include "runtime/lang/symbols.h"
#include "support/datadir_fixture.h"

using namespace kv;
namespace fs = std::filesystem;

namespace {
// MAIN creates the data files in the current directory: each case runs in its own.
class MainTest : public kvtest::DataDirTest {};
}  // namespace

TEST_F(MainTest, DeclaresTheGlobalsAndSetsTheDateFormat) {
  resetSettings();
  app::MAIN();
  EXPECT_EQ(memvarGet("VER").str(), "1.04");
  for (const char* name :
       {"aPregled", "aKorisnici", "lIzborStampaca", "nIzborStampaca", "nColorPregled",
        "lColorPregled", "nJezikSrpski", "lJezikSrpski", "nJezikHrvatski", "lJezikHrvatski"}) {
    EXPECT_TRUE(memvarExists(name)) << name;
    EXPECT_TRUE(memvarGet(name).isNil()) << name;
  }
  EXPECT_TRUE(setFlag(kSetDeleted));
  EXPECT_EQ(setText(kSetDateFormat), "DD.MM.YYYY");
  EXPECT_EQ(DTOC(Value::date(julianFromCalendar(13, 2, 2013))).str(), "13.02.2013");
  // The data files are made and opened in the current directory.
  for (const char* f : {"Nalozi.dbf", "Nalozi.dbt", "ProizTel.dbf", "Korisnici.dbf"})
    EXPECT_TRUE(fs::exists(f)) << f;
  EXPECT_FALSE(memvarExists("aDbf"));
  EXPECT_TRUE(errors.empty());
  resetSettings();
  releaseAllMemvars();
}

TEST_F(MainTest, DateFormatStaysTheSameWhenTheCenturyIsAlreadyOn) {
  resetSettings();
  __SETCENTURY(Value(true));
  app::MAIN();
  EXPECT_EQ(setText(kSetDateFormat), "dd.mm.yyyy");  // no rewrite needed, so as written
  EXPECT_EQ(activeDateFormat(), "DD.MM.YYYY");
  resetSettings();
  releaseAllMemvars();
}

TEST(Main, RegistersTheRuntimeFunctions) {
  app::registerModules();
  for (const char* name : {"STR", "STRZERO", "VAL", "DTOC", "CTOD", "DTOS", "TRANSFORM", "UPPER",
                           "PADR", "ROUND", "__SETCENTURY", "VALTYPE", "SET"}) {
    const Symbol* s = findSymbol(name);
    ASSERT_NE(s, nullptr) << name;
    EXPECT_NE(s->fn, nullptr) << name;
  }
  Value args[] = {Value(42), Value(6)};
  EXPECT_EQ(findSymbol("STRZERO")->fn(Args(args)).str(), "000042");
}

TEST(Main, ProgramExitsWithZero) {
  const char* env = std::getenv("KV_BIN_DIR");
  const fs::path bin = fs::path(env ? env : KV_BIN_DIR) / "kalvedo";
  ASSERT_TRUE(fs::exists(bin)) << bin;
  const fs::path dir = fs::temp_directory_path() / ("kv_main_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  fs::copy_file(bin, dir / "kalvedo", fs::copy_options::overwrite_existing);
  const std::string cmd = "cd '" + dir.string() + "' && ./kalvedo >out.txt 2>&1";
  const int status = std::system(cmd.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  // A clean run writes nothing to the error log.
  EXPECT_FALSE(fs::exists(dir / "Error.txt") && fs::file_size(dir / "Error.txt") > 0);
  // It made its data files and indexes in its current directory.
  for (const char* f : {"Nalozi.dbf", "Nalozi.dbt", "Nalozi.ntx", "ProizTel.dbf", "ProizTel.ntx",
                        "Korisnici.dbf", "Korisnici.ntx"})
    EXPECT_TRUE(fs::exists(dir / f)) << f;
  fs::remove_all(dir);
}
