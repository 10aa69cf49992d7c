// The program's settings as the settings file holds them: every default with no file at all
// (white overview, one copy, no printer dialog, Serbian, the bracketed header placeholders),
// what each setting writes into the file, the language flags of each "Jezik" text, the
// colouring switch, a stored 0 copies, and header lines saved empty.
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
  const app::PrintLanguage lang = app::readPrintLanguage();
  EXPECT_TRUE(lang.srpski);
  EXPECT_FALSE(lang.hrvatski);
  EXPECT_EQ(app::readHeaderLines(),
            (app::HeaderTexts{"[naziv firme]", "[delatnost, reklamni slogan]",
                              "[mesto, ulica i broj, telefon]", "[kontakt, web adresa, mail]"}));
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

TEST_F(AppSettingsTest, TheLanguageFlagsOfEachText) {
  struct Case {
    const char* stored;
    bool srpski, hrvatski;
  } cases[] = {{"Jezik=Srpski", true, false},     {"Jezik=Hrvatski", false, true},
               {"Jezik=hrvatski", false, false},  {"Jezik=SRPSKI", false, false},
               {"Jezik=Slovenski", false, false}, {"Jezik=", true, false},
               {"Jezik=   ", true, false},        {"Nesto=1", true, false}};
  for (const Case& c : cases) {
    storeRaw("Stampa", c.stored);
    const app::PrintLanguage lang = app::readPrintLanguage();
    EXPECT_EQ(lang.srpski, c.srpski) << c.stored;
    EXPECT_EQ(lang.hrvatski, c.hrvatski) << c.stored;
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

TEST_F(AppSettingsTest, HeaderLinesSavedEmptyReadAsTheirPlaceholders) {
  app::writeHeaderLines({"", "Popravka telefona", "   ", "kalvedo@example.com"});
  const std::string text = file();
  // The empty line is stored empty; it reads as missing.
  EXPECT_NE(text.find("Naziv firme=\r\n"), std::string::npos) << text;
  EXPECT_LT(text.find("Naziv firme="), text.find("Drugi red="));
  EXPECT_LT(text.find("Drugi red="), text.find("Treci red="));
  EXPECT_LT(text.find("Treci red="), text.find("Cetvrti red="));
  EXPECT_EQ(app::readHeaderLines(),
            (app::HeaderTexts{"[naziv firme]", "Popravka telefona",
                              "[mesto, ulica i broj, telefon]", "kalvedo@example.com"}));
}
