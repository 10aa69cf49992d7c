// The program's settings as the settings file holds them: every default with no file at all
// (white overview, one copy, no printer dialog, Serbian, the bracketed header placeholders),
// what each setting writes into the file, the colouring switch, and a stored 0 copies.
#include "app/core/appsettings.h"
#include "app/core/settingsfile.h"
#include "support/datadir_fixture.h"

using namespace kv;
using kvtest::DataDirTest;
namespace fs = std::filesystem;

namespace {

class AppSettingsTest : public DataDirTest {
 protected:
  void SetUp() override {
    DataDirTest::SetUp();
    app::setSettingsDir(dir_.string());
  }
  void TearDown() override {
    app::setSettingsDir("");
    DataDirTest::TearDown();
  }
  // The settings file's text.
  std::string file() { return bytes(app::settingsFileName()); }
  // Writes `line` under `section` as a person editing the file would.
  void storeRaw(const char* section, const std::string& line) {
    kvtest::writeFile(app::settingsFileName(),
                      std::string("[") + section + "]\r\n" + line + "\r\n");
  }
};

}  // namespace

TEST_F(AppSettingsTest, WithoutASettingsFileEverySettingIsItsDefault) {
  ASSERT_FALSE(fs::exists(app::settingsFileName()));
  EXPECT_FALSE(app::readSetting(app::Setting::IzborStampaca).asBool());
  EXPECT_EQ(app::printCopies(), 1);
  EXPECT_FALSE(app::readSetting(app::Setting::Boja).asBool());
  for (app::Setting s :
       {app::Setting::BojaNaCekanju, app::Setting::BojaUObradi, app::Setting::BojaZavrsen})
    EXPECT_EQ(app::readSetting(s).asInt(), 16777215);
  EXPECT_EQ(app::readSetting(app::Setting::Jezik).str(), "Srpski");
  for (auto [s, text] : {std::pair{app::Setting::NazivFirme, "[naziv firme]"},
                         {app::Setting::DrugiRed, "[delatnost, reklamni slogan]"},
                         {app::Setting::TreciRed, "[mesto, ulica i broj, telefon]"},
                         {app::Setting::CetvrtiRed, "[kontakt, web adresa, mail]"}})
    EXPECT_EQ(app::readSetting(s).str(), text);
  // Reading creates nothing.
  EXPECT_FALSE(fs::exists(app::settingsFileName()));
}

TEST_F(AppSettingsTest, EachSettingIsWrittenUnderItsSectionAndKey) {
  struct Case {
    app::Setting setting;
    Value value;
    const char* section;
    const char* line;
  } cases[] = {
      {app::Setting::IzborStampaca, Value(true), "Stampa", "Izbor Stampaca=.T."},
      {app::Setting::BrojPrimeraka, Value(3), "Stampa", "Broj primeraka=3"},
      {app::Setting::Jezik, Value("Hrvatski"), "Stampa", "Jezik=Hrvatski"},
      {app::Setting::Boja, Value(false), "Pregled", "Boja=.F."},
      {app::Setting::BojaNaCekanju, Value(255), "Pregled", "Boja-na Cekanju=255"},
      {app::Setting::BojaUObradi, Value(16777215), "Pregled", "Boja-u Obradi=16777215"},
      {app::Setting::BojaZavrsen, Value(65280), "Pregled", "Boja-Zavrsen=65280"},
      {app::Setting::NazivFirme, Value("Servis Zvono"), "Zaglavlje", "Naziv firme=Servis Zvono"},
      {app::Setting::DrugiRed, Value("Popravke"), "Zaglavlje", "Drugi red=Popravke"},
      {app::Setting::TreciRed, Value("Novi Sad"), "Zaglavlje", "Treci red=Novi Sad"},
      {app::Setting::CetvrtiRed, Value("mail"), "Zaglavlje", "Cetvrti red=mail"},
  };
  for (const Case& c : cases) {
    fs::remove(app::settingsFileName());
    app::writeSetting(c.setting, c.value);
    EXPECT_EQ(std::string(app::settingKey(c.setting).section), c.section);
    const std::string text = file();
    EXPECT_NE(text.find(std::string("[") + c.section + "]"), std::string::npos) << c.line;
    EXPECT_NE(text.find(c.line), std::string::npos) << text;
    // It reads back as the value, of the default's kind.
    const Value back = app::readSetting(c.setting);
    if (c.value.isLogical()) {
      EXPECT_EQ(back.asBool(), c.value.asBool()) << c.line;
    } else if (c.value.isNumber()) {
      EXPECT_EQ(back.asInt(), c.value.asInt()) << c.line;
    } else {
      EXPECT_EQ(back.str(), c.value.str()) << c.line;
    }
  }
}

TEST_F(AppSettingsTest, ColouringIsOnOnlyForExactlyDotTDot) {
  struct Case {
    const char* stored;
    bool on;
  } cases[] = {{"Boja=.T.", true}, {"Boja=TRUE", false}, {"Boja=.t.", false},
               {"Boja=T", false},  {"Boja=.F.", false},  {"Boja=", false}};
  for (const Case& c : cases) {
    storeRaw("Pregled", c.stored);
    EXPECT_EQ(app::readSetting(app::Setting::Boja).asBool(), c.on) << c.stored;
  }
}

TEST_F(AppSettingsTest, ACopyCountBelowOneMeansOneCopy) {
  struct Case {
    const char* stored;
    int copies;
  } cases[] = {{"Broj primeraka=0", 1},     {"Broj primeraka=-4", 1},  {"Broj primeraka=2", 2},
               {"Broj primeraka=999", 999}, {"Broj primeraka=abc", 1}, {"Broj primeraka=", 1},
               {"Broj primeraka=5000", 999}};
  for (const Case& c : cases) {
    storeRaw("Stampa", c.stored);
    EXPECT_EQ(app::printCopies(), c.copies) << c.stored;
  }
  struct Entry {
    Value v;
    bool ok;
  } entries[] = {{Value(0), false},  {Value(1), true},    {Value(999), true}, {Value(1000), false},
                 {Value(-1), false}, {Value(2.5), false}, {Value(), false},   {Value("3"), false}};
  for (const Entry& e : entries) EXPECT_EQ(app::acceptCopies(e.v), e.ok) << e.v.asDouble();
}
