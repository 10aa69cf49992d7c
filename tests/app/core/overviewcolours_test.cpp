// The overview's colours by state, read from the settings file once and kept until this station
// writes the file or the file itself changes (another station, an editor).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/core/appsettings.h"
#include "app/core/overviewcolours.h"
#include "app/core/settingsfile.h"
#include "support/files.h"

using namespace kv;
namespace fs = std::filesystem;

namespace {

class StatusColoursTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = kvtest::freshTempDir("colours");
    app::setSettingsDir(dir_.string());
  }
  void TearDown() override {
    app::setSettingsDir("");
    fs::remove_all(dir_);
  }
  void writeFile(const std::string& text) {
    std::ofstream(app::settingsFileName(), std::ios::binary | std::ios::trunc) << text;
  }
  fs::path dir_;
};

}  // namespace

TEST_F(StatusColoursTest, EachStatusHasItsKeyAndAnyOtherTextTheInProgressColour) {
  writeFile("[Pregled]\r\nBoja-na Cekanju=255\r\nBoja-u Obradi=65280\r\nBoja-Zavrsen=16711680\r\n");
  const struct {
    const char* status;
    int colour;
  } cases[] = {{"Zavrsen", 16711680}, {"na Cekanju", 255}, {"u Obradi", 65280},
               {"(Zavrsen)", 65280},  {"zavrsen", 65280},  {"", 65280}};
  app::StatusColours c;
  for (const auto& k : cases) EXPECT_EQ(c.colourOf(k.status), k.colour) << k.status;
  EXPECT_EQ(c.reads(), 1);
}

TEST_F(StatusColoursTest, AMissingFileOrKeyIsWhite) {
  app::StatusColours c;
  EXPECT_EQ(c.colourOf("Zavrsen"), app::kWhite);
  writeFile("[Pregled]\r\nBoja-Zavrsen=\r\n");
  EXPECT_EQ(c.colourOf("Zavrsen"), app::kWhite);
  EXPECT_EQ(c.colourOf("na Cekanju"), app::kWhite);
}

TEST_F(StatusColoursTest, AWriteOfThisStationIsSeenAtTheNextQuestion) {
  app::StatusColours c;
  EXPECT_EQ(c.colourOf("Zavrsen"), app::kWhite);
  for (int i = 0; i < 100; ++i) c.colourOf("u Obradi");
  EXPECT_EQ(c.reads(), 1);
  app::writeSetting(app::Setting::BojaZavrsen, Value(123));
  EXPECT_EQ(c.colourOf("Zavrsen"), 123);
  EXPECT_EQ(c.reads(), 2);
  // Another key of the file counts as well: the file is read again, not guessed.
  app::writeSetting(app::Setting::Boja, Value(true));
  EXPECT_EQ(c.colourOf("Zavrsen"), 123);
  EXPECT_EQ(c.reads(), 3);
}

TEST_F(StatusColoursTest, AFileChangedFromOutsideIsReadAgain) {
  writeFile("[Pregled]\r\nBoja-na Cekanju=1\r\n");
  app::StatusColours c;
  EXPECT_EQ(c.colourOf("na Cekanju"), 1);
  // Rewritten in place with the same size: only the modification time tells.
  const auto before = fs::last_write_time(app::settingsFileName());
  writeFile("[Pregled]\r\nBoja-na Cekanju=2\r\n");
  fs::last_write_time(app::settingsFileName(), before + std::chrono::seconds(1));
  EXPECT_EQ(c.colourOf("na Cekanju"), 2);
  // Replaced by a rename, as the program itself writes it.
  const std::string other = (dir_ / "other.ini").string();
  std::ofstream(other, std::ios::binary) << "[Pregled]\r\nBoja-na Cekanju=33\r\n";
  fs::rename(other, app::settingsFileName());
  EXPECT_EQ(c.colourOf("na Cekanju"), 33);
  // Deleted: white again.
  fs::remove(app::settingsFileName());
  EXPECT_EQ(c.colourOf("na Cekanju"), app::kWhite);
  EXPECT_EQ(c.reads(), 4);
}

TEST_F(StatusColoursTest, AnotherSettingsDirectoryIsAnotherFile) {
  writeFile("[Pregled]\r\nBoja-u Obradi=7\r\n");
  app::StatusColours c;
  EXPECT_EQ(c.colourOf("u Obradi"), 7);
  const fs::path second = kvtest::freshTempDir("colours2");
  app::setSettingsDir(second.string());
  EXPECT_EQ(c.colourOf("u Obradi"), app::kWhite);
  app::setSettingsDir(dir_.string());
  fs::remove_all(second);
}
