#include "runtime/error/error.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/msgbox.h"
#include "runtime/error/callstack.h"
#include "runtime/error/errorchannel.h"
#include "runtime/error/errorobject.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/lifecycle.h"
#include "support/files.h"

using namespace kv;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> g_boxes;

void captureBox(std::string_view caption, std::string_view text) {
  g_boxes.push_back(std::string(caption) + "|" + std::string(text));
}

// Each test logs to its own file and collects the boxes instead of showing them.
class ErrorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = kvtest::freshTempDir("error_test");
    setErrorLogPath((dir_ / "Error.txt").string());
    platform::setMessageBoxHook(captureBox);
    g_boxes.clear();
    resetErrorSystem();
    setErrorLevel(0);
  }
  void TearDown() override {
    platform::setMessageBoxHook(nullptr);
    resetErrorSystem();
    setErrorLevel(0);
    fs::remove_all(dir_);
  }
  std::string log() const { return kvtest::readFile(dir_ / "Error.txt"); }
  bool logExists() const { return fs::exists(dir_ / "Error.txt"); }
  fs::path dir_;
};

ErrorRecord record(int flags) {
  return ErrorRecord(EG_OPEN, 1001)
      .in("DBFNTX")
      .allow(flags)
      .op("DBUSEAREA")
      .file("Nalozi.dbf")
      .os(32);
}

}  // namespace

// What the runtime does with each handler answer under each combination of flags.
TEST_F(ErrorTest, HandlerAnswersAgainstFlags) {
  enum Outcome { kRetry, kDefault, kSubstitute, kFatal };
  struct Case {
    Value answer;
    int flags;
    Outcome expected;
  } cases[] = {
      {Value(true), kCanRetry, kRetry},
      {Value(true), kCanRetry | kCanSubstitute, kRetry},
      {Value(true), kCanDefault, kFatal},
      {Value(true), kCanSubstitute, kSubstitute},
      {Value(true), 0, kFatal},
      {Value(false), kCanDefault, kDefault},
      {Value(false), kCanDefault | kCanSubstitute, kDefault},
      {Value(false), kCanRetry, kFatal},
      {Value(false), kCanSubstitute, kSubstitute},
      {Value(false), 0, kFatal},
      {Value(0), kCanSubstitute, kSubstitute},
      {Value(0), kCanRetry | kCanDefault, kFatal},
      {Value("x"), kCanSubstitute | kCanRetry | kCanDefault, kSubstitute},
      {Value(), kCanRetry | kCanDefault, kFatal},
      {Value(), kCanSubstitute, kSubstitute},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(n++);
    resetErrorSystem();
    Value answer = c.answer;
    ERRORBLOCK(makeBlock([answer](Args) { return answer; }, 1));
    KV_PROC("NAPRAVI");
    KV_LINE();
    const int line = __LINE__ - 1;
    if (c.expected == kFatal) {
      setErrorLogPath((dir_ / "Error.txt").string());
      EXPECT_THROW(raiseError(record(c.flags)), QuitRequest);
      EXPECT_EQ(errorLevel(), 1);
      EXPECT_EQ(log(), "\r\nFallo en la recuperaci\xF3n de un error, NAPRAVI (" +
                           std::to_string(line) + ")");
      setErrorLevel(0);
      continue;
    }
    ErrorResult r = raiseError(record(c.flags));
    EXPECT_EQ(static_cast<int>(r.answer), static_cast<int>(c.expected));
    if (c.expected == kSubstitute) {
      EXPECT_EQ(VALTYPE(r.value), std::string(VALTYPE(c.answer)));
    }
  }
}

TEST_F(ErrorTest, HandlerSeesTheRaisersRecord) {
  Value seen;
  ERRORBLOCK(makeBlock([&seen](Args args) {
    seen = arg(args, 0);
    return Value(false);
  }));
  ErrorRecord e = record(kCanDefault | kCanRetry);
  e.tries = 2;
  e.args = {Value("Nalozi"), Value(1)};
  EXPECT_EQ(raiseError(e).answer, ErrorAnswer::Default);
  ASSERT_TRUE(isErrorObject(seen));
  EXPECT_EQ(send(seen, "CLASSNAME").str(), "ERROR");
  EXPECT_EQ(send(seen, "GENCODE").asInt(), 21);
  EXPECT_EQ(send(seen, "SUBCODE").asInt(), 1001);
  EXPECT_EQ(send(seen, "OSCODE").asInt(), 32);
  EXPECT_EQ(send(seen, "SEVERITY").asInt(), 2);
  EXPECT_EQ(send(seen, "TRIES").asInt(), 2);
  EXPECT_TRUE(send(seen, "CANDEFAULT").asBool());
  EXPECT_TRUE(send(seen, "CANRETRY").asBool());
  EXPECT_FALSE(send(seen, "CANSUBSTITUTE").asBool());
  EXPECT_EQ(send(seen, "SUBSYSTEM").str(), "DBFNTX");
  EXPECT_EQ(send(seen, "OPERATION").str(), "DBUSEAREA");
  EXPECT_EQ(send(seen, "FILENAME").str(), "Nalozi.dbf");
  EXPECT_EQ(send(seen, "DESCRIPTION").str(), "Error de apertura");  // filled from the table
  EXPECT_EQ(send(seen, "CARGO").str(), "");
  Value args = send(seen, "ARGS");
  ASSERT_EQ(args.arrayLen(), 2u);
  EXPECT_EQ(args.arr()->items[0].str(), "Nalozi");
  EXPECT_FALSE(logExists());  // a handled error writes nothing
}

TEST_F(ErrorTest, ErrorNewAndSetters) {
  Value e = ERRORNEW();
  for (const char* m : {"GENCODE", "SUBCODE", "OSCODE", "SEVERITY", "TRIES"}) {
    EXPECT_EQ(send(e, m).asInt(), 0) << m;
  }
  for (const char* m : {"SUBSYSTEM", "DESCRIPTION", "OPERATION", "FILENAME", "CARGO"}) {
    EXPECT_EQ(send(e, m).str(), "") << m;
  }
  for (const char* m : {"CANDEFAULT", "CANRETRY", "CANSUBSTITUTE"}) {
    EXPECT_FALSE(send(e, m).asBool()) << m;
  }
  EXPECT_EQ(send(e, "_GENCODE", {Value(40)}).asInt(), 40);
  EXPECT_EQ(send(e, "_SUBCODE", {Value(6001)}).asInt(), 6001);
  send(e, "_SEVERITY", {Value(1)});
  send(e, "_CANSUBSTITUTE", {Value(true)});
  send(e, "_CANDEFAULT", {Value(true)});
  send(e, "_CANDEFAULT", {Value(false)});
  send(e, "_CARGO", {Value(12)});
  send(e, "_DESCRIPTION", {Value("opis")});
  send(e, "_GENCODE", {Value("not a number")});  // ignored
  EXPECT_EQ(send(e, "GENCODE").asInt(), 40);
  EXPECT_EQ(send(e, "SUBCODE").asInt(), 6001);
  EXPECT_EQ(send(e, "SEVERITY").asInt(), 1);
  EXPECT_TRUE(send(e, "CANSUBSTITUTE").asBool());
  EXPECT_FALSE(send(e, "CANDEFAULT").asBool());
  EXPECT_EQ(send(e, "CARGO").asInt(), 12);
  EXPECT_EQ(send(e, "DESCRIPTION").str(), "opis");
  Value other = ERRORNEW();
  EXPECT_EQ(send(other, "GENCODE").asInt(), 0);  // objects do not share their record
}

TEST_F(ErrorTest, NoHandlerWritesTheTraceAndEnds) {
  KV_PROC("MAIN");
  KV_LINE();
  const int line = __LINE__ - 1;
  std::vector<Value> args = {Value(1)};
  EXPECT_THROW(noFunctionError("NEPOSTOJI", Args(args)), QuitRequest);
  EXPECT_EQ(errorLevel(), 1);
  const std::string trace = "MAIN (" + std::to_string(line) + ")";
  EXPECT_EQ(log(), "\r\nNo ERRORBLOCK() for error at: " + trace);
  ASSERT_EQ(g_boxes.size(), 2u);
  EXPECT_EQ(g_boxes[0], "Error|\r\nNo ERRORBLOCK() for error at: ");
  EXPECT_EQ(g_boxes[1], "Error|" + trace);
}

TEST_F(ErrorTest, ChannelStartsAfreshEachRunAndAppendsWithinIt) {
  writeErrorChannel("first");
  writeErrorChannel("\r\n");
  writeErrorChannel("second");
  EXPECT_EQ(log(), "first\r\nsecond");
  EXPECT_EQ(g_boxes.size(), 2u);                   // the bare CR LF is not shown
  setErrorLogPath((dir_ / "Error.txt").string());  // as a new run would
  writeErrorChannel("third");
  EXPECT_EQ(log(), "third");
}

TEST_F(ErrorTest, RaiseInsideTheHandlerEndsTheProgram) {
  int calls = 0;
  ERRORBLOCK(makeBlock([&calls](Args) {
    ++calls;
    return argumentError("SUBSTR", 1110, {});
  }));
  EXPECT_THROW(argumentError("LEFT", 1124, {}), QuitRequest);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(errorLevel(), 1);
}

TEST_F(ErrorTest, BreakLeavesTheHandlerAndTheNextErrorIsHandledAgain) {
  ERRORBLOCK(makeBlock([](Args args) -> Value { BREAK(arg(args, 0)); }));
  try {
    argumentError("VAL", 1098, {});
    FAIL() << "BREAK did not leave the raiser";
  } catch (const BreakException& b) {
    EXPECT_EQ(send(b.value, "OPERATION").str(), "VAL");
  }
  ERRORBLOCK(makeBlock([](Args) { return Value(5); }));
  EXPECT_EQ(argumentError("VAL", 1098, {}).asInt(), 5);
}

TEST_F(ErrorTest, ErrorBlockAnswersThePreviousHandler) {
  EXPECT_TRUE(ERRORBLOCK().isNil());
  Value a = makeBlock([](Args) { return Value(1); });
  Value b = makeBlock([](Args) { return Value(2); });
  EXPECT_TRUE(ERRORBLOCK(a).isNil());
  EXPECT_EQ(ERRORBLOCK(b).blk(), a.blk());
  EXPECT_EQ(ERRORBLOCK(Value(3)).blk(), b.blk());  // a non-block installs nothing
  EXPECT_EQ(ERRORBLOCK().blk(), b.blk());
}

TEST_F(ErrorTest, StandardRaisers) {
  Value seen;
  ERRORBLOCK(makeBlock([&seen](Args args) {
    seen = arg(args, 0);
    return Value(0);
  }));
  struct Case {
    std::function<Value()> raise;
    int gen, sub;
    const char* operation;
  } cases[] = {
      {[] { return zeroDivisionError(Value(1), Value(0)); }, 5, 1340, "/"},
      {[] { return zeroDivisionError(Value(1), Value(0), "%"); }, 5, 1341, "%"},
      {[] { return noFunctionError("NEPOSTOJI"); }, 12, 1001, "NEPOSTOJI"},
      {[] { return noVariableError("NBROJ"); }, 14, 1003, "NBROJ"},
      {[] { return noAliasError("NALOZI"); }, 15, 1002, "NALOZI"},
      {[] { return readOnlyPropertyError(Value(), "_HANDLE", Value(1)); }, 39, 1005, "_HANDLE"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.raise().asInt(), 0);
    EXPECT_EQ(send(seen, "GENCODE").asInt(), c.gen);
    EXPECT_EQ(send(seen, "SUBCODE").asInt(), c.sub);
    EXPECT_EQ(send(seen, "SUBSYSTEM").str(), "BASE");
    EXPECT_EQ(send(seen, "OPERATION").str(), c.operation);
    EXPECT_TRUE(send(seen, "CANSUBSTITUTE").asBool());
  }
}

TEST_F(ErrorTest, InternalErrors) {
  KV_PROC("PREGLED");
  KV_LINE();
  const std::string trace = "PREGLED (" + std::to_string(__LINE__ - 1) + ")  ";
  struct Case {
    int n;
    std::string text;
  } cases[] = {
      {9997, "Error no recuperable 9997: Fallo en la recuperaci\xF3n de un error"},
      {667, "Error no recuperable 667: Fallo en la pila de evaluaci\xF3n"},
      {5, "Error no recuperable 5: Divisi\xF3n por cero"},
      {1234, "Error interno 1234"},
  };
  for (const auto& c : cases) {
    setErrorLogPath((dir_ / "Error.txt").string());
    EXPECT_THROW(internalError(c.n), QuitRequest);
    EXPECT_EQ(log(), trace + c.text);
  }
}

TEST(ErrorTable, Descriptions) {
  struct Case {
    int code;
    const char* text;
  } cases[] = {{1, "Error de argumento"},      {4, "Desbordamiento num\xE9rico"},
               {13, "No existe el m\xE9todo"}, {17, "Alias con caracteres no v\xE1lidos"},
               {31, "L\xEDmite excedido"},     {32, "Se detect\xF3 corrupci\xF3n"},
               {41, "Fallo en bloqueo"},       {668, "Fallo en la pila de evaluaci\xF3n"},
               {9998, "Error no recuperable"}, {0, "Error interno"},
               {9, "Error interno"},           {19, "Error interno"},
               {42, "Error interno"}};
  for (const auto& c : cases) EXPECT_EQ(genCodeDescription(c.code), c.text) << c.code;
}

// NETERR answers the flag as it stood before the call; only a logical argument changes it.
// The steps run through the function registered by name, as an expression calls it.
TEST_F(ErrorTest, NetErrAnswersTheFlagBeforeTheCall) {
  registerErrorFunctions();
  const Symbol* netErr = findSymbol("NETERR");
  ASSERT_TRUE(netErr && netErr->fn);
  struct Step {
    Value arg;
    bool answer;  // what the call gives
    bool after;   // the flag once the call is done
  } steps[] = {
      {Value(), false, false},      {Value(true), false, true}, {Value(false), true, false},
      {Value(true), false, true},   {Value(true), true, true},  {Value(), true, true},
      {Value(1), true, true},       {Value("F"), true, true},   {Value(false), true, false},
      {Value(false), false, false},
  };
  int i = 0;
  for (Step& s : steps) {
    SCOPED_TRACE(i++);
    Value args[] = {s.arg};
    const Value r = s.arg.isNil() ? netErr->fn(Args()) : netErr->fn(Args(args));
    ASSERT_TRUE(r.isLogical());
    EXPECT_EQ(r.asBool(), s.answer);
    EXPECT_EQ(NETERR(), s.after);
  }
}
