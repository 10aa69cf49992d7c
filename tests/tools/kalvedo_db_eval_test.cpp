// kalvedo-db eval end to end: the executable is copied into a fresh directory (its error log
// lives beside it) and run there with that directory as the data directory.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/process_run.h"

namespace fs = std::filesystem;
using kvtest::Outcome;
using kvtest::readFile;

namespace {

class DbEvalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = kvtest::freshTempDir("dbeval");
    fs::copy_file(fs::path(KV_BIN_DIR) / "kalvedo-db", dir_ / "kalvedo-db");
  }
  void TearDown() override { fs::remove_all(dir_); }

  Outcome run(std::vector<std::string> args) {
    return kvtest::runProgramIn(dir_, dir_ / "kalvedo-db", std::move(args));
  }

  fs::path dir_;
};

}  // namespace

TEST_F(DbEvalTest, EachKindPrintsItsOwnWay) {
  Outcome r = run({"eval", "\"[\" + STR(-0.5, 5, 0) + \"]\"", "10", "-2.5", "1/4", "7 % 0", ".T.",
                   "1 > 2", "NIL", "{1, \"a\", {.F., NIL}}", "{}", "CTOD(\"\")",
                   "STOD(\"20250102\")", "{|x| x}", "UPPER(\"čaj\")", "SPACE(2) + \"x\""});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "[   -1]\n10\n-2.5\n0.25\n0\n.T.\n.F.\nNIL\n{1, a, {.F., NIL}}\n{}\n  /  /  \n"
            "01/02/25\n{|| ... }\nČAJ\n  x\n");
  EXPECT_FALSE(fs::exists(dir_ / "Error.txt"));
}

TEST_F(DbEvalTest, OptionsSetTheDateFormatAndCentury) {
  Outcome r =
      run({"eval", "--date", "dd.mm.yy", "--century", "STOD(\"20251231\")", "SET(4)", "SET(11)"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "31.12.2025\nDD.MM.YYYY\n.F.\n");
  r = run({"eval", "--deleted", "SET(11)"});
  EXPECT_EQ(r.out, ".T.\n");
}

TEST_F(DbEvalTest, LaterExpressionsSeeEarlierVariables) {
  Outcome r = run({"eval", "n := 6", "s := \"ab\"", "n * 7", "s + s", "n++", "n"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "6\nab\n42\nabab\n6\n7\n");
}

TEST_F(DbEvalTest, UnhandledErrorsEndWithCodeOneAfterEarlierResults) {
  struct Case {
    const char* expr;
    const char* logged;
  };
  const Case cases[] = {
      {"1 + \"a\"", "+"},
      {"(1 + ", "1449"},
      {"undefinedvar", "UNDEFINEDVAR"},
  };
  for (const Case& c : cases) {
    Outcome r = run({"eval", "1 + 1", c.expr, "3"});
    EXPECT_EQ(r.exitCode, 1) << c.expr;
    EXPECT_EQ(r.out, "2\n") << c.expr;  // the first result printed, the third never reached
    std::string log = readFile(dir_ / "Error.txt");
    EXPECT_NE(log.find(c.logged), std::string::npos) << c.expr << "\n" << log;
    EXPECT_NE(r.err.find(c.logged), std::string::npos) << c.expr << "\n" << r.err;
  }
}

// The report of an unhandled error names the expression that failed: its text, on one line
// and cut to 60 characters, and its position among the expressions as the line.
TEST_F(DbEvalTest, ErrorReportNamesTheFailedExpression) {
  struct Case {
    std::vector<std::string> args;
    std::string report;
  };
  const std::string longText = "\"" + std::string(70, 'x') + "\" + 1";
  const Case cases[] = {
      {{"eval", "1 + 1", "1 + \"a\"", "3"},
       "Error BASE/1081  Argument error: +\r\n\r\nCalled from EVAL: 1 + \"a\" (2)  "},
      {{"eval", "--date", "dd.mm.yy", "1", "x := 2", "\"a\" -\n 1"},
       "Error BASE/1082  Argument error: -\r\n\r\nCalled from EVAL: \"a\" -  1 (3)  "},
      {{"eval", longText},
       "Error BASE/1081  Argument error: +\r\n\r\nCalled from EVAL: \"" + std::string(56, 'x') +
           "... (1)  "},
      {{"eval", "(1 + "},
       "Error BASE/1449  Syntax error: unexpected end of text at column 6: (1 + \r\n\r\n"
       "Called from EVAL: (1 + (1)  "},  // the name's trailing blank is not shown
  };
  for (const Case& c : cases) {
    Outcome r = run(c.args);
    EXPECT_EQ(r.exitCode, 1) << c.args.back();
    EXPECT_EQ(readFile(dir_ / "Error.txt"), c.report) << c.args.back();
  }
}

// A call of a function nobody defined shows the application's box and goes on with 0.
TEST_F(DbEvalTest, MissingFunctionAnswersZeroAndGoesOn) {
  Outcome r = run({"eval", "NOSUCHFUNCTION(1) + 5", "1"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "5\n1\n");
  EXPECT_NE(r.err.find("Procedura koju pozivate nije pronadjena!"), std::string::npos) << r.err;
}

TEST_F(DbEvalTest, UsageErrors) {
  EXPECT_EQ(run({"eval"}).exitCode, 2);
  EXPECT_EQ(run({"eval", "--bogus", "1"}).exitCode, 2);
}

// A table made and filled through expressions, then printed back by dump and read by an
// independent peer.
TEST_F(DbEvalTest, TableWrittenByExpressionsReadsBack) {
  Outcome r = run({"eval",
                   "DBCREATE(\"shop\", {{\"NAME\",\"C\",10,0}, {\"PRICE\",\"N\",8,2}, "
                   "{\"DAY\",\"D\",8,0}, {\"OK\",\"L\",1,0}, {\"NOTE\",\"M\",10,0}}, \"DBF\")",
                   "DBUSEAREA(.T., \"DBF\", \"shop\", , .T.)", "DBAPPEND()", "NAME := \"Čaša\"",
                   "PRICE := -12.5", "DAY := STOD(\"20240229\")", "OK := .T.",
                   "NOTE := \"line1\" + CHR(13) + CHR(10) + \"line2\"", "DBAPPEND()",
                   "FIELDPUT(1, \"two\")", "DBDELETE()", "DBCOMMIT()", "RECCOUNT()", "shop->NAME",
                   "DBCLOSEAREA()"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("\n2\ntwo       \nNIL\n"), std::string::npos) << r.out;
  r = run({"dump", "shop", "--deleted"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "1 Čaša|-12.50|20240229|T|line1\\r\\nline2\n2*two|||F|\n");
  if (std::system("/usr/bin/python3 -c 'import dbfread' >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "python3-dbfread not installed";
  std::ofstream(dir_ / "r.py")
      << "import dbfread\n"
         "for r in dbfread.DBF('"
      << (dir_ / "shop.dbf").string()
      << "', encoding='cp1250', load=True):\n"
         "    print(r['NAME'], r['PRICE'], r['DAY'], r['OK'], repr(r['NOTE']))\n";
  std::string cmd = "/usr/bin/python3 " + (dir_ / "r.py").string();
  std::string out;
  if (FILE* p = popen(cmd.c_str(), "r")) {
    char buf[512];
    while (std::size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    pclose(p);
  }
  EXPECT_EQ(out, "Čaša -12.5 2024-02-29 True 'line1\\r\\nline2'\n");
}
