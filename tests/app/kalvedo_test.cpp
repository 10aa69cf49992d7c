// The program's start procedure and its main form on the window library (Qt's offscreen
// platform): MAIN runs in this process until a timer closes the main window as its user would.
#include "app/kalvedo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/fkalvedo.h"
#include "runtime/format/dates.h"
#include "runtime/lang/memvars.h"
#include "runtime/lang/settings.h"
#include "runtime/lang/symbols.h"
#include "support/datadir_fixture.h"
#include "support/window_program.h"
#include "ui/core/libclass.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"
#include "ui/forms/screen.h"

using namespace kv;
namespace fs = std::filesystem;

namespace {

constexpr const char* kTitle = "Kalvedo 1.04 - radionica Kalvedo";

// MAIN creates the data files in the current directory: each case runs in its own, with the
// window library started as the program starts it.
class MainTest : public kvtest::DataDirTest {
 protected:
  void SetUp() override {
    DataDirTest::SetUp();
    program_ = std::make_unique<kvtest::WindowProgram>();
  }
  void TearDown() override {
    program_.reset();
    releaseAllMemvars();
    DataDirTest::TearDown();
  }
  bool runMain(const std::function<void(ui::Form&)>& whileShown) {
    return program_->runMain(whileShown);
  }

  std::unique_ptr<kvtest::WindowProgram> program_;
};

std::vector<std::string> openAliases() {
  std::vector<std::string> out;
  for (int area = 1; area <= 4; ++area) {
    engine::DBSELECTAREA(Value(area));
    if (engine::USED().asBool()) out.emplace_back(engine::ALIAS().str());
  }
  return out;
}

}  // namespace

TEST_F(MainTest, MakesTheDataFilesThenShowsTheMainFormUntilItIsClosed) {
  resetSettings();
  std::vector<std::string> aliases;
  int makers = 0;
  std::size_t forms = 0;
  const bool shown = runMain([&](ui::Form& main) {
    const Value form = main.language();
    EXPECT_EQ(CLASSNAME(form), "TFKALVEDO");
    EXPECT_EQ(send(form, "Caption").str(), kTitle);
    EXPECT_EQ(send(memvarGet("Application"), "Title").str(), kTitle);
    EXPECT_EQ(send(memvarGet("Application"), "Language").asInt(), 2);
    // The window's size is fixed by its limits.
    for (const char* limit : {"MinWidth", "MaxWidth"}) EXPECT_EQ(send(form, limit).asInt(), 810);
    for (const char* limit : {"MinHeight", "MaxHeight"}) EXPECT_EQ(send(form, limit).asInt(), 610);
    EXPECT_EQ(send(form, "Position").asInt(), 4);
    EXPECT_FALSE(send(send(form, "BorderIcons"), "Maximize").asBool());
    // The creation handler has opened the tables and filled the manufacturers.
    aliases = openAliases();
    engine::DBSELECTAREA(Value("ProizTel"));
    makers = engine::__LASTREC().asInt();
    // The data files' wait box is gone: the main form is the only form.
    forms = ui::screenForms().size();
  });
  ASSERT_TRUE(shown);
  EXPECT_EQ(aliases, (std::vector<std::string>{"NALOZI", "PROIZTEL", "KORISNICI"}));
  EXPECT_EQ(makers, 22);
  EXPECT_EQ(forms, 1u);

  EXPECT_EQ(memvarGet("VER").str(), "1.04");
  // Every global exists; the main window's creation has set each one (lists, item numbers,
  // options).
  for (const char* name :
       {"aPregled", "aKorisnici", "lIzborStampaca", "nIzborStampaca", "nColorPregled",
        "lColorPregled", "nJezikSrpski", "lJezikSrpski", "nJezikHrvatski", "lJezikHrvatski"}) {
    EXPECT_TRUE(memvarExists(name)) << name;
    const char want = name[0] == 'a' ? 'A' : name[0] == 'n' ? 'N' : 'L';
    EXPECT_EQ(VALTYPE(memvarGet(name))[0], want) << name;
  }
  EXPECT_TRUE(setFlag(kSetDeleted));
  EXPECT_EQ(setText(kSetDateFormat), "DD.MM.YYYY");
  EXPECT_EQ(DTOC(Value::date(julianFromCalendar(13, 2, 2013))).str(), "13.02.2013");
  for (const char* f : {"Nalozi.dbf", "Nalozi.dbt", "Nalozi.ntx", "ProizTel.dbf", "ProizTel.ntx",
                        "Korisnici.dbf", "Korisnici.ntx"})
    EXPECT_TRUE(fs::exists(f)) << f;
  EXPECT_FALSE(memvarExists("aDbf"));
  EXPECT_TRUE(errors.empty());
  EXPECT_TRUE(boxes.empty());
  // The loop ended, the window library and the tables are still there for the end sequence.
  EXPECT_FALSE(ui::running());
  EXPECT_EQ(openAliases().size(), 3u);
}

TEST_F(MainTest, DateFormatStaysTheSameWhenTheCenturyIsAlreadyOn) {
  resetSettings();
  __SETCENTURY(Value(true));
  ASSERT_TRUE(runMain([](ui::Form&) {}));
  EXPECT_EQ(setText(kSetDateFormat), "dd.mm.yyyy");  // no rewrite needed, so as written
  EXPECT_EQ(activeDateFormat(), "DD.MM.YYYY");
}

TEST_F(MainTest, EveryCallOfTheClassFunctionAnswersANewUncreatedForm) {
  const Value first = app::TFKalvedo();
  const Value second = app::TFKalvedo();
  ASSERT_NE(ui::libraryAs<ui::Form>(first), nullptr);
  ASSERT_NE(ui::libraryAs<ui::Form>(second), nullptr);
  EXPECT_NE(ui::libraryOf(first), ui::libraryOf(second));
  EXPECT_EQ(send(first, "CLASSH").asInt(), send(second, "CLASSH").asInt());
  EXPECT_EQ(CLASSNAME(second), "TFKALVEDO");
  // The components are instance variables of each form, nil until the window's controls exist.
  for (const char* component : {"ColorDialog1", "eBrojNaloga", "Panel1", "sgPregled"}) {
    EXPECT_TRUE(send(first, component).isNil()) << component;
  }
  send(first, "_Panel1", {Value(7)});
  EXPECT_TRUE(send(second, "Panel1").isNil());
  // Not created: no caption, no creation handler yet.
  EXPECT_EQ(send(first, "Caption").str(), "");
  EXPECT_TRUE(send(first, "OnCreate").isNil());
  send(first, "Destroy");
  send(second, "Destroy");
  EXPECT_TRUE(errors.empty());
}

TEST(Main, RegistersTheRuntimesAndTheWindowLibrarysFunctions) {
  app::registerModules();
  for (const char* name :
       {"STR", "STRZERO", "VAL", "DTOC", "CTOD", "DTOS", "TRANSFORM", "UPPER", "PADR", "ROUND",
        "__SETCENTURY", "VALTYPE", "SET", "TFORM", "MESSAGEDLG", "__CLASSDEF"}) {
    const Symbol* s = findSymbol(name);
    ASSERT_NE(s, nullptr) << name;
    EXPECT_NE(s->fn, nullptr) << name;
  }
  Value args[] = {Value(42), Value(6)};
  EXPECT_EQ(findSymbol("STRZERO")->fn(Args(args)).str(), "000042");
}
