// The program `kalvedo` as a process: each case copies it into a fresh data directory (the
// error log lives beside the executable) and runs it there on Qt's offscreen platform, unless
// the case is about the display.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "support/process_run.h"
#include "support/tool_runner.h"

namespace fs = std::filesystem;
using kvtest::Outcome;

namespace {

constexpr int kPatience = 60;  // seconds a run may take before it counts as hung

const char* const kTables[][2] = {{"Nalozi.dbf", "Nalozi.ntx"},
                                  {"ProizTel.dbf", "ProizTel.ntx"},
                                  {"Korisnici.dbf", "Korisnici.ntx"}};

class ProgramProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    dir_ = fs::temp_directory_path() / ("kv_program_" + std::to_string(::getpid()) + "_" + name);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Copies the program (or a test program) into the data directory and starts it there.
  kvtest::Child start(const char* program, const std::vector<std::string>& env) {
    fs::copy_file(fs::path(KV_BIN_DIR) / program, dir_ / program);
    return kvtest::startProgramIn(dir_, dir_ / program, {}, env);
  }
  Outcome run(const char* program, const std::vector<std::string>& env) {
    bool hung = false;
    Outcome o = kvtest::finishProgramWithin(start(program, env), kPatience, &hung);
    EXPECT_FALSE(hung) << program << " did not end";
    return o;
  }

  // Waits until every table and index exists: the main form's OnCreate has opened them.
  bool waitForTheTables() const {
    for (int i = 0; i < kPatience * 20; ++i) {
      bool all = true;
      for (auto& t : kTables) all = all && fs::exists(dir_ / t[0]) && fs::exists(dir_ / t[1]);
      if (all) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  // The companion finds every table and index clean, and the manufacturers all there.
  void expectCleanTables() const {
    for (auto& t : kTables) {
      kvtest::ToolRun check = kvtest::runTool(dir_.string(), {"check", t[0], t[1]});
      EXPECT_EQ(check.code, 0) << check.out;
      EXPECT_EQ(check.out.rfind("clean:", 0), 0u) << check.out;
    }
    kvtest::ToolRun count = kvtest::runTool(
        dir_.string(), {"eval", "DBUSEAREA(.T., , \"ProizTel\", , .T., .T.)", "LASTREC()"});
    EXPECT_EQ(count.out, "NIL\n22\n");
  }
  std::string log() const { return kvtest::readFile(dir_ / "Error.txt"); }

  fs::path dir_;
};

const std::vector<std::string> kOffscreen = {"QT_QPA_PLATFORM=offscreen"};

class StopSignal : public ProgramProcess, public ::testing::WithParamInterface<int> {};

}  // namespace

TEST_P(StopSignal, EndsTheProgramAsClosingTheWindowDoes) {
  kvtest::Child child = start("kalvedo", kOffscreen);
  ASSERT_GT(child.pid, 0);
  ASSERT_TRUE(waitForTheTables());
  // Give the program the moment it needs to reach its message loop.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  ::kill(child.pid, GetParam());
  bool hung = false;
  Outcome r = kvtest::finishProgramWithin(child, kPatience, &hung);
  EXPECT_FALSE(hung);
  EXPECT_EQ(r.signal, 0);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(log(), "");
  expectCleanTables();
}

INSTANTIATE_TEST_SUITE_P(TermIntHup, StopSignal, ::testing::Values(SIGTERM, SIGINT, SIGHUP));

TEST_F(ProgramProcess, ClosingTheMainWindowEndsWithZero) {
  Outcome r = run("kalvedo_closeprobe", kOffscreen);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "title: Kalvedo 1.04 - radionica Kalvedo\n"
            "caption: Kalvedo 1.04 - radionica Kalvedo\n");
  EXPECT_EQ(log(), "");
  expectCleanTables();
}

TEST_F(ProgramProcess, WithoutADisplayItSaysSoAndEndsWithTwo) {
  Outcome r = run("kalvedo", {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
  EXPECT_EQ(r.signal, 0);
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err,
            "kalvedo: no display to open the window on (DISPLAY, WAYLAND_DISPLAY and "
            "QT_QPA_PLATFORM are not set); start it in a desktop session, or with "
            "QT_QPA_PLATFORM=offscreen to run it without a screen\n");
  EXPECT_EQ(r.out, "");
  EXPECT_FALSE(fs::exists(dir_ / "Nalozi.dbf"));  // it ended before the data files
  EXPECT_FALSE(fs::exists(dir_ / "Error.txt"));
}

TEST_F(ProgramProcess, ADisplayThatCannotBeOpenedEndsWithTwoInsteadOfAnAbort) {
  ASSERT_FALSE(fs::exists("/tmp/.X11-unix/X4097"));
  Outcome r = run("kalvedo", {"DISPLAY=:4097", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM=xcb"});
  EXPECT_EQ(r.signal, 0);
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("kalvedo: the display named (DISPLAY=:4097, QT_QPA_PLATFORM=xcb) cannot "
                       "be opened; start it in a desktop session, or with "
                       "QT_QPA_PLATFORM=offscreen to run it without a screen\n"),
            std::string::npos)
      << r.err;
  EXPECT_FALSE(fs::exists(dir_ / "Nalozi.dbf"));
}

TEST_F(ProgramProcess, AnUnhandledErrorLeavesTheLogAndEndsWithOne) {
  // A table that is not one: the start-up's check of the data files fails.
  std::ofstream(dir_ / "Nalozi.dbf") << "this is not a table, only a line of text\n";
  Outcome r = run("kalvedo", kOffscreen);
  EXPECT_EQ(r.exitCode, 1);
  const std::string text = log();
  EXPECT_EQ(text.rfind("Error DBFNTX/1012  Corruption detected: \r\nNalozi.dbf", 0), 0u) << text;
  EXPECT_NE(text.find("\r\nCalled from INITDBF ("), std::string::npos);
  EXPECT_NE(text.find("\r\nCalled from MAIN ("), std::string::npos);
  // Without a screen the box's text goes to standard error.
  EXPECT_NE(r.err.find("Error: Error DBFNTX/1012  Corruption detected"), std::string::npos)
      << r.err;
}
