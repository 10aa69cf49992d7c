#include "app/core/errorsys.h"

#include <string>

#include "platform/msgbox.h"
#include "runtime/error/callstack.h"
#include "runtime/error/error.h"
#include "runtime/error/errorchannel.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/lifecycle.h"
#include "runtime/lang/symbols.h"

namespace kv::app {

namespace {

struct CodeText {
  int code;
  const char* text;
};

constexpr CodeText kCodeTexts[] = {
    {0, "Q7 argument error"},
    {1, "Argument error"},
    {2, "Bound/limit error"},
    {3, "String overflow"},
    {4, "Numeric overflow"},
    {7, "Syntax error"},
    {12, "Function does not exist"},
    {13, "Method does not exist"},
    {14, "Variable does not exist"},
    {15, "Undefined alias"},
    {16, "Method variable does not exist"},
    {17, "Illegal characters in alias"},
    {18, "Alias already in uses"},
    {20, "Create error"},
    {21, "Open error"},
    {22, "Close error"},
    {23, "Read error"},
    {24, "Write error"},
    {25, "Print error"},
    {30, "Unsupported"},
    {31, "Limit exceeded"},
    {32, "Corruption detected"},
    {33, "Data type error"},
    {34, "Data width error"},
    {35, "No work area in use"},
    {36, "No index in use"},
    {37, "Exclusive required"},
    {38, "Unlocked error"},
    {39, "Readonly error"},
    {40, "Append lock failed"},
    {41, "Lock required"},
};

// A number as text without blanks; whole numbers without decimals.
std::string numberText(const Value& v) {
  if (v.isInteger()) return std::to_string(v.asInt());
  double d = v.asDouble();
  if (d == static_cast<double>(static_cast<long long>(d))) {
    return std::to_string(static_cast<long long>(d));
  }
  std::string s = std::to_string(d);
  while (!s.empty() && s.back() == '0') s.pop_back();
  return s;
}

std::string rtrim(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

int number(const Value& e, const char* message) {
  return send(e, message).deref().asInt();
}

bool flag(const Value& e, const char* message) {
  return send(e, message).deref().asBool();
}

Value fnErrorSys(Args) {
  ERRORSYS();
  return Value();
}
Value fnDefError(Args args) {
  return DEFERROR(arg(args, 0));
}
Value fnErrorMessage(Args args) {
  return ERRORMESSAGE(arg(args, 0));
}

}  // namespace

std::string errorCodeText(int genCode) {
  for (const auto& c : kCodeTexts) {
    if (c.code == genCode) return c.text;
  }
  return "Undefined error code (Error.ch (EG_ " + std::to_string(genCode) + "))";
}

void ERRORSYS() {
  ERRORBLOCK(makeBlock([](Args args) { return DEFERROR(arg(args, 0)); }, 1));
}

Value DEFERROR(const Value& e) {
  const int gen = number(e, "GENCODE");
  if (gen == EG_ZERODIV) return Value(0);
  if (gen == EG_OPEN && number(e, "OSCODE") == 32 && flag(e, "CANDEFAULT")) {
    NETERR(Value(true));
    return Value(false);
  }
  if (gen == EG_APPENDLOCK && flag(e, "CANDEFAULT")) {
    NETERR(Value(true));
    return Value(false);
  }
  if (gen == EG_NOFUNC) {
    platform::showMessageBox("Error", "Procedura koju pozivate nije pronadjena!",
                             platform::kBoxError);
    return Value(0);
  }
  std::string text(ERRORMESSAGE(e).deref().str());
  const Value os = send(e, "OSCODE").deref();
  if (os.asDouble() != 0) text += " (DOS Error " + numberText(os) + ") ";
  text += "\r\n";
  for (int level = 0; !PROCNAME(level).empty(); ++level) {
    text += "\r\nCalled from " + rtrim(PROCNAME(level)) + " (" + std::to_string(PROCLINE(level)) +
            ")  ";
  }
  writeErrorChannel(text);
  setErrorLevel(1);
  QUIT();
}

Value ERRORMESSAGE(const Value& e) {
  std::string text = number(e, "SEVERITY") > 1 ? "Error " : "Warning ";
  const Value subsystem = send(e, "SUBSYSTEM").deref();
  text += subsystem.isString() ? std::string(subsystem.str()) : std::string("???");
  const Value subcode = send(e, "SUBCODE").deref();
  text += '/';
  text += subcode.isNumber() ? numberText(subcode) : std::string("???");
  send(e, "_DESCRIPTION", {Value(errorCodeText(number(e, "GENCODE")))});
  text += "  " + std::string(send(e, "DESCRIPTION").deref().str());
  const Value fileName = send(e, "FILENAME").deref();
  const Value operation = send(e, "OPERATION").deref();
  if (!EMPTY(fileName)) {
    text += ": \r\n" + std::string(fileName.str());
  } else if (!EMPTY(operation)) {
    text += ": " + std::string(operation.str());
  }
  return Value(text);
}

void registerErrorSysFunctions() {
  registerFunction("ERRORSYS", fnErrorSys);
  registerFunction("DEFERROR", fnDefError);
  registerFunction("ERRORMESSAGE", fnErrorMessage);
}

}  // namespace kv::app
