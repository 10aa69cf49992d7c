// Process-level tests of the error system: each case copies the probe program into a fresh
// directory (the log lives beside the executable) and runs it there.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "support/process_run.h"

namespace fs = std::filesystem;
using kvtest::Outcome;
using kvtest::readFile;

namespace {

class ProbeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = kvtest::freshTempDir("probe");
    fs::copy_file(fs::path(KV_BIN_DIR) / "errorprobe", dir_ / "errorprobe");
  }
  void TearDown() override { fs::remove_all(dir_); }

  Outcome run(const std::string& mode) {
    return kvtest::runProgramIn(dir_, dir_ / "errorprobe", {mode});
  }
  bool hasLog() const { return fs::exists(dir_ / "Error.txt"); }
  std::string log() const { return readFile(dir_ / "Error.txt"); }

  fs::path dir_;
};

}  // namespace

TEST_F(ProbeTest, UnhandledErrorIsLoggedAndEndsWithCodeOne) {
  Outcome r = run("unhandled");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find("exit procedure"), std::string::npos);  // the end sequence ran
  const std::string text = log();
  EXPECT_EQ(text.rfind("Error DBFNTX/1001  Open error: \r\nNalozi.dbf (DOS Error 2) \r\n", 0), 0u)
      << text;
  EXPECT_NE(text.find("\r\n\r\nCalled from OTVORI ("), std::string::npos);
  EXPECT_NE(text.find(")  \r\nCalled from MAIN ("), std::string::npos);
  EXPECT_NE(r.err.find("Error: Error DBFNTX/1001  Open error"), std::string::npos);  // the box
}

TEST_F(ProbeTest, CleanRunLeavesTheLastReportAlone) {
  EXPECT_EQ(run("clean").exitCode, 0);
  EXPECT_FALSE(hasLog());
  run("unhandled");
  const std::string first = log();
  Outcome clean = run("clean");
  EXPECT_EQ(clean.exitCode, 0);
  EXPECT_EQ(clean.err, "");
  EXPECT_EQ(log(), first);
  run("unhandled");
  EXPECT_EQ(log(), first);  // a new report starts the file afresh
}

TEST_F(ProbeTest, WithoutHandlerTheRaisePointIsLogged) {
  Outcome r = run("noblock");
  EXPECT_EQ(r.exitCode, 1);
  const std::string text = log();
  EXPECT_EQ(text.rfind("\r\nNo ERRORBLOCK() for error at: OTVORI (", 0), 0u) << text;
}

TEST_F(ProbeTest, DivisionByZeroYieldsZeroQuietly) {
  Outcome r = run("zerodiv");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.out.find("quotient 0"), std::string::npos);
  EXPECT_FALSE(hasLog());
  EXPECT_EQ(r.err, "");
}

TEST_F(ProbeTest, MissingProcedureShowsOneBoxAndGoesOn) {
  Outcome r = run("nofunc");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.out.find("result 0"), std::string::npos);
  EXPECT_EQ(r.err, "Error: Procedura koju pozivate nije pronadjena!\n");
  EXPECT_FALSE(hasLog());
}

TEST_F(ProbeTest, CrashWritesProtectionFaultAndTrace) {
  Outcome r = run("crash");
  EXPECT_EQ(r.signal, SIGSEGV);
  const std::string text = log();
  EXPECT_EQ(text.rfind("General Protection Fault.\r\n- Llamado desde SRUSI (", 0), 0u) << text;
  EXPECT_NE(text.find(")\r\n- Llamado desde MAIN ("), std::string::npos) << text;
  EXPECT_NE(r.err.find("Error de Protecci\xC3\xB3n General: - Llamado desde SRUSI"),
            std::string::npos)
      << r.err;
}

TEST_F(ProbeTest, LeakIsReportedAtTheEnd) {
  Outcome r = run("leak");
  EXPECT_EQ(r.exitCode, 0);
  const std::string text = log();
  EXPECT_EQ(text.rfind("Bytes sin liberar: ", 0), 0u) << text;
  EXPECT_GE(std::stoi(text.substr(19)), 100);
}

TEST_F(ProbeTest, StrayBreakAndCppFailuresEndInOrder) {
  Outcome b = run("break");
  EXPECT_EQ(b.exitCode, 0);
  EXPECT_NE(b.out.find("exit procedure"), std::string::npos);
  EXPECT_FALSE(hasLog());
  Outcome t = run("throw");
  EXPECT_EQ(t.exitCode, 1);
  EXPECT_NE(t.out.find("exit procedure"), std::string::npos);
  EXPECT_EQ(log(), "\r\nError interno: kvar");
}
