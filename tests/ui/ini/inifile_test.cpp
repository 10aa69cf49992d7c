// TIniFile through its messages, as the language sends them, and the file-name and program
// functions by name.
#include "uitest.h"

#include <filesystem>

#include "runtime/lang/symbols.h"
#include "tests/support/files.h"
#include "ui/ini/filefunctions.h"
#include "ui/ini/inifile.h"

using namespace kv;
using namespace kv::ui;
using namespace kv::ui::test;
namespace fs = std::filesystem;

namespace {

class IniFileTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    dir_ = kvtest::freshTempDir("inifile");
    path_ = (dir_ / "Kalvedo.ini").string();
  }
  void TearDown() override {
    fs::remove_all(dir_);
    UiTest::TearDown();
  }
  Value make(const Value& name = Value()) { return send(TIniFile(), "Create", {name}); }
  fs::path dir_;
  std::string path_;
};

TEST_F(IniFileTest, ReadsWritesAndDeletesThroughTheFile) {
  Value ini = make(Value(path_));
  EXPECT_EQ(send(ini, "FileName").str(), path_);
  EXPECT_EQ(send(ini, "ReadString", {Value("Stampa"), Value("Jezik"), Value("Srpski")}).str(),
            "Srpski");
  EXPECT_FALSE(fs::exists(path_));
  send(ini, "WriteString", {Value("Stampa"), Value("Jezik"), Value("Hrvatski")});
  // A second object sees the value at once: nothing is cached.
  Value other = make(Value(path_));
  EXPECT_EQ(send(other, "ReadString", {Value("STAMPA"), Value("jezik"), Value("")}).str(),
            "Hrvatski");
  send(other, "DeleteIdent", {Value("Stampa"), Value("nema")});
  EXPECT_EQ(kvtest::readFile(path_), "[Stampa]\r\nJezik=Hrvatski\r\n");
  send(other, "DeleteIdent", {Value("stampa"), Value("JEZIK")});
  EXPECT_EQ(send(ini, "ReadString", {Value("Stampa"), Value("Jezik"), Value("d")}).str(), "d");
  send(ini, "Destroy");
  send(other, "Destroy");
  EXPECT_TRUE(raised.empty());
}

TEST_F(IniFileTest, FileNameStartsEmptyAndItsSetterWantsText) {
  Value ini = make();
  EXPECT_EQ(send(ini, "FileName").str(), "");
  send(ini, "_FileName", {Value(5)});
  ASSERT_EQ(raised.size(), 1u);
  EXPECT_EQ(raised[0].genCode, 1);
  EXPECT_EQ(send(ini, "FileName").str(), "");
  send(ini, "_FileName", {Value(path_)});
  send(ini, "WriteString", {Value("A"), Value("k"), Value(3)});  // not text: refused
  EXPECT_EQ(raised.size(), 2u);
  EXPECT_FALSE(fs::exists(path_));
  send(ini, "Destroy");
}

TEST_F(IniFileTest, FunctionsByName) {
  Symbol* s = findSymbol("EXTRACTFILEPATH");
  ASSERT_TRUE(s && s->fn);
  std::vector<Value> a = {Value("C:\\Radionica\\Kalvedo.exe")};
  EXPECT_EQ(s->fn(a).str(), "C:\\Radionica\\");
  s = findSymbol("EXTRACTFILENAME");
  ASSERT_TRUE(s && s->fn);
  EXPECT_EQ(s->fn(a).str(), "Kalvedo");
  s = findSymbol("TINIFILE");
  ASSERT_TRUE(s && s->fn);
  EXPECT_TRUE(libraryAs<IniFile>(send(s->fn({}), "Create")) != nullptr);
  EXPECT_EQ(EXTRACTFILEPATH(Value()).str(), "");
  EXPECT_EQ(EXTRACTFILENAME(Value()).str(), "");
}

TEST_F(IniFileTest, WinExecStartsAProgramAndWaitsWhenAsked) {
  const std::string mark = (dir_ / "ran").string();
  EXPECT_TRUE(WINEXEC(Value("touch " + mark), Value(1), Value(true)).asBool());
  EXPECT_TRUE(fs::exists(mark));
  EXPECT_FALSE(WINEXEC(Value("/nonexistent/program"), Value(1), Value(true)).asBool());
  EXPECT_FALSE(WINEXEC(Value(""), Value(1), Value(true)).asBool());
  // Without waiting the call comes back while the program still runs.
  const std::string late = (dir_ / "late").string();
  EXPECT_TRUE(
      WINEXEC(Value("sleep 0.3; touch " + late + " 2>/dev/null"), Value(1), Value(false)).asBool());
  EXPECT_FALSE(fs::exists(late));
}

}  // namespace
