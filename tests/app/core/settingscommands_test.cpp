// The settings commands below the window: a first start with no settings file, the language
// flags, the printer choice, copies, the header lines with their placeholders.
#include "app/core/settingscommands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/core/settingsfile.h"
#include "runtime/lang/memvars.h"
#include "support/files.h"

using namespace kv;
using namespace kv::app;
namespace fs = std::filesystem;

namespace {

class SettingsCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = fs::current_path();
    dir_ = kvtest::freshTempDir("setcmd");
    fs::current_path(dir_);
    setSettingsDir(dir_.string());
  }
  void TearDown() override {
    setSettingsDir("");
    fs::current_path(home_);
    fs::remove_all(dir_);
    for (const char* n : {"lIzborStampaca", "lColorPregled", "lJezikSrpski", "lJezikHrvatski"})
      RELEASE(n);
  }
  bool flag(const char* name) { return memvarGet(name).asBool(); }
  void store(const std::string& text) { kvtest::writeFile(settingsFileName(), text); }
  fs::path home_, dir_;
};

TEST_F(SettingsCommandsTest, NoSettingsFileGivesTheDefaults) {
  readSettingFlags();
  EXPECT_FALSE(flag("lIzborStampaca"));
  EXPECT_FALSE(flag("lColorPregled"));
  EXPECT_TRUE(flag("lJezikSrpski"));
  EXPECT_FALSE(flag("lJezikHrvatski"));
  EXPECT_EQ(readCopies().asInt(), 1);
  EXPECT_EQ(readHeaderLines(),
            (std::array<std::string, 4>{"[naziv firme]", "[delatnost, reklamni slogan]",
                                        "[mesto, ulica i broj, telefon]",
                                        "[kontakt, web adresa, mail]"}));
  EXPECT_FALSE(fs::exists(settingsFileName()));
}

TEST_F(SettingsCommandsTest, StoredFlagsAreReadExactly) {
  struct Case {
    const char* file;
    bool color, srpski, hrvatski;
  } cases[] = {
      {"[Pregled]\r\nBoja=.T.\r\n[Stampa]\r\nJezik=Hrvatski\r\n", true, false, true},
      {"[Pregled]\r\nBoja=TRUE\r\n[Stampa]\r\nJezik=hrvatski\r\n", false, false, false},
      {"[Stampa]\r\nJezik=\r\n", false, true, false},
  };
  for (const auto& c : cases) {
    store(c.file);
    readSettingFlags();
    EXPECT_EQ(flag("lColorPregled"), c.color) << c.file;
    EXPECT_EQ(flag("lJezikSrpski"), c.srpski) << c.file;
    EXPECT_EQ(flag("lJezikHrvatski"), c.hrvatski) << c.file;
  }
}

TEST_F(SettingsCommandsTest, CommandsWriteWhatTheyChange) {
  EXPECT_TRUE(toggleIzborStampaca());
  EXPECT_TRUE(flag("lIzborStampaca"));
  setJezik(Value("Hrvatski"));
  EXPECT_FALSE(flag("lJezikSrpski"));
  EXPECT_TRUE(flag("lJezikHrvatski"));
  writeCopies(Value(0));
  EXPECT_EQ(readCopies().asInt(), 0);
  EXPECT_FALSE(toggleIzborStampaca());
  EXPECT_EQ(kvtest::readFile(settingsFileName()),
            "[Stampa]\r\nIzbor Stampaca=.F.\r\nJezik=Hrvatski\r\nBroj primeraka=0\r\n");
}

TEST_F(SettingsCommandsTest, EmptyHeaderLineReadsAsItsPlaceholderAgain) {
  writeHeaderLines({"", "Servis telefona", "Novi Sad", "tel. 021/123"});
  EXPECT_EQ(kvtest::readFile(settingsFileName()),
            "[Zaglavlje]\r\nNaziv firme=\r\nDrugi red=Servis telefona\r\nTreci red=Novi Sad\r\n"
            "Cetvrti red=tel. 021/123\r\n");
  EXPECT_EQ(readHeaderLines()[0], "[naziv firme]");
  EXPECT_EQ(readHeaderLines()[3], "tel. 021/123");
}

}  // namespace
