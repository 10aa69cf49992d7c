#include "app/core/errorsys.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/msgbox.h"
#include "runtime/error/callstack.h"
#include "runtime/error/error.h"
#include "runtime/error/errorchannel.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/lifecycle.h"
#include "support/files.h"

using namespace kv;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> g_boxes;

void captureFatal(std::string_view caption, std::string_view text) {
  g_boxes.push_back(std::string(caption) + "|" + std::string(text));
}
void captureDialog(std::string_view caption, std::string_view text, int kind) {
  g_boxes.push_back(std::string(caption) + "|" + std::string(text) + "|" + std::to_string(kind));
}

Value makeError(int gen, int severity = 2, const char* subsystem = "BASE", int sub = 1001) {
  Value e = ERRORNEW();
  send(e, "_GENCODE", {Value(gen)});
  send(e, "_SEVERITY", {Value(severity)});
  send(e, "_SUBSYSTEM", {Value(subsystem)});
  send(e, "_SUBCODE", {Value(sub)});
  return e;
}

class ErrorSysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = kvtest::freshTempDir("errorsys");
    setErrorLogPath((dir_ / "Error.txt").string());
    platform::setMessageBoxHook(captureFatal);
    platform::setDialogBoxHook(captureDialog);
    g_boxes.clear();
    resetErrorSystem();
    setErrorLevel(0);
  }
  void TearDown() override {
    platform::setMessageBoxHook(nullptr);
    platform::setDialogBoxHook(nullptr);
    resetErrorSystem();
    setErrorLevel(0);
    fs::remove_all(dir_);
  }
  std::string log() const { return kvtest::readFile(dir_ / "Error.txt"); }
  fs::path dir_;
};

}  // namespace

TEST(ErrorMessage, DescriptionOfEveryCode) {
  struct Case {
    int code;
    const char* text;
  } cases[] = {
      {0, "Q7 argument error"},
      {1, "Argument error"},
      {2, "Bound/limit error"},
      {4, "Numeric overflow"},
      {5, "Undefined error code (Error.ch (EG_ 5))"},
      {6, "Undefined error code (Error.ch (EG_ 6))"},
      {7, "Syntax error"},
      {8, "Undefined error code (Error.ch (EG_ 8))"},
      {11, "Undefined error code (Error.ch (EG_ 11))"},
      {12, "Function does not exist"},
      {16, "Method variable does not exist"},
      {18, "Alias already in uses"},
      {19, "Undefined error code (Error.ch (EG_ 19))"},
      {21, "Open error"},
      {25, "Print error"},
      {26, "Undefined error code (Error.ch (EG_ 26))"},
      {29, "Undefined error code (Error.ch (EG_ 29))"},
      {30, "Unsupported"},
      {35, "No work area in use"},
      {39, "Readonly error"},
      {41, "Lock required"},
      {42, "Undefined error code (Error.ch (EG_ 42))"},
      {9997, "Undefined error code (Error.ch (EG_ 9997))"},
  };
  for (const auto& c : cases) {
    Value e = makeError(c.code);
    EXPECT_EQ(app::ERRORMESSAGE(e).str(), std::string("Error BASE/1001  ") + c.text) << c.code;
    EXPECT_EQ(send(e, "DESCRIPTION").str(), c.text);  // the raiser's description is replaced
  }
}

TEST(ErrorMessage, Parts) {
  struct Case {
    int severity;
    Value subsystem;
    const char* fileName;
    const char* operation;
    std::string expected;
  } cases[] = {
      {2, Value("DBFNTX"), "Nalozi.dbf", "DBUSEAREA",
       "Error DBFNTX/1001  Open error: \r\nNalozi.dbf"},
      {2, Value("DBFNTX"), "", "DBUSEAREA", "Error DBFNTX/1001  Open error: DBUSEAREA"},
      {2, Value("DBFNTX"), "", "", "Error DBFNTX/1001  Open error"},
      {1, Value("BASE"), "", "", "Warning BASE/1001  Open error"},
      {0, Value("BASE"), "", "", "Warning BASE/1001  Open error"},
      {3, Value(7), "", "",
       "Error ???"
       "/1001  Open error"},
  };
  for (const auto& c : cases) {
    Value e = makeError(EG_OPEN, c.severity);
    send(e, "_SUBSYSTEM", {c.subsystem});
    send(e, "_FILENAME", {Value(c.fileName)});
    send(e, "_OPERATION", {Value(c.operation)});
    send(e, "_DESCRIPTION", {Value("Error de apertura")});
    EXPECT_EQ(app::ERRORMESSAGE(e).str(), c.expected);
  }
}

// Rules 1 to 4: the answer, the network flag and the box.
TEST_F(ErrorSysTest, QuietRules) {
  struct Case {
    int gen;
    int os;
    bool canDefault;
    Value answer;
    bool netErr;
    bool box;
  } cases[] = {
      {EG_ZERODIV, 0, false, Value(0), false, false},
      {EG_ZERODIV, 32, true, Value(0), false, false},
      {EG_OPEN, 32, true, Value(false), true, false},
      {EG_APPENDLOCK, 0, true, Value(false), true, false},
      {EG_APPENDLOCK, 33, true, Value(false), true, false},
      {EG_NOFUNC, 0, false, Value(0), false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.gen);
    NETERR(Value(false));
    g_boxes.clear();
    Value e = makeError(c.gen);
    send(e, "_OSCODE", {Value(c.os)});
    send(e, "_CANDEFAULT", {Value(c.canDefault)});
    Value r = app::DEFERROR(e);
    EXPECT_EQ(VALTYPE(r), std::string(VALTYPE(c.answer)));
    EXPECT_EQ(r.asInt(), c.answer.asInt());
    EXPECT_EQ(r.asBool(), c.answer.asBool());
    EXPECT_EQ(NETERR(), c.netErr);
    if (c.box) {
      ASSERT_EQ(g_boxes.size(), 1u);
      EXPECT_EQ(g_boxes[0], "Error|Procedura koju pozivate nije pronadjena!|2");
    } else {
      EXPECT_TRUE(g_boxes.empty());
    }
  }
  EXPECT_FALSE(fs::exists(dir_ / "Error.txt"));
}

// Errors that miss rules 2 and 3 by one condition fall through to the report.
TEST_F(ErrorSysTest, NearMissesAreReported) {
  struct Case {
    int gen;
    int os;
    bool canDefault;
  } cases[] = {{EG_OPEN, 32, false},
               {EG_OPEN, 5, true},
               {EG_APPENDLOCK, 0, false},
               {EG_CREATE, 32, true},
               {EG_NOALIAS, 0, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.gen);
    setErrorLogPath((dir_ / "Error.txt").string());
    Value e = makeError(c.gen);
    send(e, "_OSCODE", {Value(c.os)});
    send(e, "_CANDEFAULT", {Value(c.canDefault)});
    EXPECT_THROW(app::DEFERROR(e), QuitRequest);
    EXPECT_EQ(errorLevel(), 1);
    EXPECT_FALSE(NETERR());
    setErrorLevel(0);
  }
}

TEST_F(ErrorSysTest, ReportNamesEveryCallingProcedure) {
  app::ERRORSYS();
  KV_PROC("MAIN");
  KV_LINE();
  const int mainLine = __LINE__ - 1;
  int innerLine = 0;
  auto inner = [&] {
    KV_METHOD("TFKALVEDO", "BSNIMINALOGONCLICK");
    KV_LINE();
    innerLine = __LINE__ - 1;
    raiseError(baseError(EG_NOALIAS, 1002, "NALOZI").os(3));
  };
  EXPECT_THROW(inner(), QuitRequest);
  EXPECT_EQ(errorLevel(), 1);
  EXPECT_EQ(log(),
            "Error BASE/1002  Undefined alias: NALOZI (DOS Error 3) \r\n"
            "\r\nCalled from TFKALVEDO:BSNIMINALOGONCLICK (" +
                std::to_string(innerLine) + ")  \r\nCalled from MAIN (" + std::to_string(mainLine) +
                ")  ");
  ASSERT_EQ(g_boxes.size(), 1u);  // one box with the whole report
}

TEST_F(ErrorSysTest, HandlerInstalledByErrorSysGivesZeroForDivision) {
  app::ERRORSYS();
  EXPECT_EQ(zeroDivisionError(Value(7), Value(0)).asInt(), 0);
  EXPECT_EQ(noFunctionError("NEPOSTOJI").asInt(), 0);
  EXPECT_EQ(g_boxes.size(), 1u);
}
