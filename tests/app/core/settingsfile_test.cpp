// The program's settings through READINI and WRITEINI: conversions by the kind of the
// default, the texts written for each kind, the base name, and files that another station
// or Debian's Python configparser wrote or must read.
#include "app/core/settingsfile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "runtime/format/dates.h"
#include "runtime/lang/settings.h"
#include "support/error_expect.h"
#include "support/files.h"

using namespace kv;
using namespace kv::app;
namespace fs = std::filesystem;

namespace {

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = kvtest::freshTempDir("settings");
    setSettingsDir(dir_.string());
    oldFormat_ = SET(kSetDateFormat, Value("DD.MM.YYYY"));
  }
  void TearDown() override {
    SET(kSetDateFormat, oldFormat_);
    setSettingsDir("");
    fs::remove_all(dir_);
  }
  std::string file() const { return settingsFileName(); }
  fs::path dir_;
  Value oldFormat_;
};

TEST_F(SettingsFileTest, FileIsNamedAfterTheExecutableOrTheBaseName) {
  EXPECT_EQ(settingsFileName(), dir_.string() + "/app_tests.ini");
  EXPECT_EQ(settingsFileName(Value("Drugi")), dir_.string() + "/Drugi.ini");
  WRITEINI(Value("A"), Value("k"), Value("1"), Value("Drugi"));
  EXPECT_TRUE(fs::exists(dir_ / "Drugi.ini"));
  EXPECT_FALSE(fs::exists(file()));
  EXPECT_EQ(READINI(Value("A"), Value("k"), Value(""), Value("Drugi")).str(), "1");
}

TEST_F(SettingsFileTest, ReadConvertsByTheKindOfTheDefault) {
  struct Case {
    const char* stored;  // nullptr: key missing
    Value deflt;
    const char* type;
    Value expect;
  } cases[] = {
      {"16777215", Value(16777215), "N", Value(16777215)},
      {"12abc", Value(1), "N", Value(12)},
      {"abc", Value(1), "N", Value(0)},
      {nullptr, Value(1), "N", Value(1)},
      {"   ", Value(7), "N", Value(7)},
      {"", Value(7), "N", Value(7)},
      {".T.", Value(false), "L", Value(true)},
      {".t.", Value(false), "L", Value(false)},
      {"TRUE", Value(false), "L", Value(false)},
      {"T", Value(true), "L", Value(false)},
      {nullptr, Value(true), "L", Value(true)},
      {"Hrvatski", Value("Srpski"), "C", Value("Hrvatski")},
      {"", Value("[naziv firme]"), "C", Value("[naziv firme]")},
      {nullptr, Value("[naziv firme]"), "C", Value("[naziv firme]")},
      {"24.12.2025", Value::date(0), "D", Value::date(dayNumber(24, 12, 2025))},
      {"nonsense", Value::date(5), "D", Value::date(0)},
  };
  for (const auto& c : cases) {
    fs::remove(file());
    if (c.stored) kvtest::writeFile(file(), std::string("[S]\r\nk=") + c.stored + "\r\n");
    const Value got = READINI(Value("S"), Value("k"), c.deflt);
    const std::string what = c.stored ? c.stored : "(missing)";
    EXPECT_STREQ(VALTYPE(got), c.type) << what;
    if (got.isNumber()) {
      EXPECT_EQ(got.asDouble(), c.expect.asDouble()) << what;
    }
    if (got.isLogical()) {
      EXPECT_EQ(got.asBool(), c.expect.asBool()) << what;
    }
    if (got.isString()) {
      EXPECT_EQ(got.str(), c.expect.str()) << what;
    }
    if (got.isDate()) {
      EXPECT_EQ(got.julian(), c.expect.julian()) << what;
    }
  }
}

TEST_F(SettingsFileTest, WriteEncodesEachKind) {
  struct Case {
    Value value;
    const char* text;
  } cases[] = {
      {Value(16777215), "16777215"},
      {Value(0), "0"},
      {Value::number(2.5, 10, 2), "2.50"},
      {Value(-3), "-3"},
      {Value(true), ".T."},
      {Value(false), ".F."},
      {Value::date(dayNumber(1, 2, 2026)), "01.02.2026"},
      {Value("  Tel \x8A\x9A  "), "  Tel \x8A\x9A  "},
  };
  for (const auto& c : cases) {
    fs::remove(file());
    WRITEINI(Value("Pregled"), Value("Boja"), c.value);
    EXPECT_EQ(kvtest::readFile(file()), std::string("[Pregled]\r\nBoja=") + c.text + "\r\n");
  }
}

TEST_F(SettingsFileTest, ValueWrittenIsReadAtOnceAndOtherLinesStay) {
  kvtest::writeFile(file(),
                    "; shop settings\r\n[Stampa]\r\nJezik=Srpski\r\n[Zaglavlje]\r\n"
                    "Naziv firme=\xC8\xE8\r\n");
  EXPECT_EQ(READINI(Value("stampa"), Value("JEZIK"), Value("x")).str(), "Srpski");
  WRITEINI(Value("Stampa"), Value("Broj primeraka"), Value(2));
  EXPECT_EQ(READINI(Value("Stampa"), Value("Broj primeraka"), Value(1)).asInt(), 2);
  EXPECT_EQ(kvtest::readFile(file()),
            "; shop settings\r\n[Stampa]\r\nJezik=Srpski\r\nBroj primeraka=2\r\n[Zaglavlje]\r\n"
            "Naziv firme=\xC8\xE8\r\n");
}

TEST_F(SettingsFileTest, SectionAndKeyMustBeText) {
  EXPECT_TRUE(test::raisesArgError("READINI", kReadIniArg,
                                   [] { return READINI(Value(1), Value("k"), Value("d")); }));
  EXPECT_TRUE(test::raisesArgError("WRITEINI", kWriteIniArg, [] {
    WRITEINI(Value("s"), Value("k"), Value::newArray(1));
    return Value("substitute");
  }));
  EXPECT_FALSE(fs::exists(file()));
}

// Debian's own interpreter, whose configparser reads the file as another program would.
std::string runPython(const std::string& script) {
  std::string out;
  FILE* p = ::popen(("/usr/bin/python3 -c '" + script + "'").c_str(), "r");
  if (!p) return out;
  char buf[256];
  while (std::fgets(buf, sizeof buf, p)) out += buf;
  ::pclose(p);
  return out;
}

TEST_F(SettingsFileTest, ConfigparserReadsOurFileAndWeReadAStationsFile) {
  if (!fs::exists("/usr/bin/python3")) GTEST_SKIP() << "no /usr/bin/python3";
  WRITEINI(Value("Stampa"), Value("Broj primeraka"), Value(3));
  WRITEINI(Value("Pregled"), Value("Boja"), Value(true));
  WRITEINI(Value("Zaglavlje"), Value("Naziv firme"), Value("Servis \xE8"));
  const std::string got = runPython(
      "import configparser; c = configparser.ConfigParser(); "
      "c.read(\"" +
      file() +
      "\", encoding=\"cp1250\"); "
      "print(c[\"Stampa\"][\"broj primeraka\"], c[\"Pregled\"][\"Boja\"], "
      "c[\"Zaglavlje\"][\"Naziv firme\"].encode(\"utf-8\").hex())");
  EXPECT_EQ(got, "3 .T. " + std::string("536572766973") + "20c48d\n");

  // A file as the other kind of station writes it: CR LF lines, a blank line between
  // sections, capitals in the key names.
  fs::remove(file());
  runPython("f = open(\"" + file() +
            "\", \"wb\"); "
            "f.write(b\"[Stampa]\\r\\nIzbor Stampaca=.T.\\r\\n\\r\\n[Pregled]\\r\\n"
            "Boja-Zavrsen=255\\r\\n\"); f.close()");
  EXPECT_TRUE(READINI(Value("Stampa"), Value("Izbor Stampaca"), Value(false)).asBool());
  EXPECT_EQ(READINI(Value("Pregled"), Value("boja-zavrsen"), Value(16777215)).asInt(), 255);
}

}  // namespace
