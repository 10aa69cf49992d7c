// The raise path: error object, handler protocol, internal errors, and the network and
// operating-system error flags.
#include "runtime/error/error.h"

#include <string>

#include "runtime/error/callstack.h"
#include "runtime/error/errorchannel.h"
#include "runtime/error/errorobject.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/lifecycle.h"

namespace kv {

namespace {

Value g_handler;
bool g_handling = false;
int g_dosError = 0;
bool g_netErr = false;

struct Description {
  int code;
  const char* text;
};

// Texts in the Windows code page (the accented letters are the same bytes as in Latin-1).
constexpr Description kDescriptions[] = {
    {1, "Error de argumento"},
    {2, "Error de rango"},
    {3, "Desbordamiento en cadena de caracteres"},
    {4, "Desbordamiento num\xE9rico"},
    {5, "Divisi\xF3n por cero"},
    {6, "Error num\xE9rico"},
    {7, "Error de sintaxis"},
    {8, "Operaci\xF3n demasiado compleja"},
    {11, "Poca memoria"},
    {12, "Funci\xF3n no definida"},
    {13, "No existe el m\xE9todo"},
    {14, "No existe la variable"},
    {15, "No existe el alias"},
    {16, "No existe la variable de instancia"},
    {17, "Alias con caracteres no v\xE1lidos"},
    {18, "Alias actualmente en uso"},
    {20, "Error de creaci\xF3n"},
    {21, "Error de apertura"},
    {22, "Error de cierre"},
    {23, "Error de lectura"},
    {24, "Error de escritura"},
    {25, "Error de impresi\xF3n"},
    {30, "Operaci\xF3n no soportada"},
    {31, "L\xEDmite excedido"},
    {32, "Se detect\xF3 corrupci\xF3n"},
    {33, "Error de tipo de datos"},
    {34, "Error de anchura de datos"},
    {35, "Area de trabajo no usada"},
    {36, "Area de trabajo no indexada"},
    {37, "Se requiere uso exclusivo"},
    {38, "Se requiere bloqueo"},
    {39, "Escritura no autorizada"},
    {40, "Fallo en el bloqueo de adici\xF3n"},
    {41, "Fallo en bloqueo"},
    {667, "Fallo en la pila de evaluaci\xF3n"},
    {668, "Fallo en la pila de evaluaci\xF3n"},
    {669, "Fallo en la pila de evaluaci\xF3n"},
    {9997, "Fallo en la recuperaci\xF3n de un error"},
    {9998, "Error no recuperable"},
};

const char* findDescription(int code) {
  for (const auto& d : kDescriptions) {
    if (d.code == code) return d.text;
  }
  return nullptr;
}

// "NAME (LINE)" of the innermost active procedure.
std::string traceLine() {
  return PROCNAME(0) + " (" + std::to_string(PROCLINE(0)) + ")";
}

[[noreturn]] void endWithError() {
  setErrorLevel(1);
  QUIT();
}

// Marks the handler as running for its lifetime, also when it leaves by BREAK or QUIT.
class HandlingGuard {
 public:
  HandlingGuard() { g_handling = true; }
  ~HandlingGuard() { g_handling = false; }
  HandlingGuard(const HandlingGuard&) = delete;
  HandlingGuard& operator=(const HandlingGuard&) = delete;
};

}  // namespace

ErrorRecord baseError(int genCode, int subCode, std::string_view operation) {
  return ErrorRecord(genCode, subCode).in("BASE").op(operation).allow(kCanSubstitute);
}

Value raiseForSubstitute(const ErrorRecord& record) {
  return raiseError(record).value;
}

std::string genCodeDescription(int genCode) {
  const char* d = findDescription(genCode);
  return d ? d : "Error interno";
}

bool hasGenCodeDescription(int genCode) {
  return findDescription(genCode) != nullptr;
}

ErrorResult raiseError(const ErrorRecord& record) {
  // A raise while the handler runs: the handler itself failed; no second chance.
  if (g_handling) endWithError();
  Value error = makeErrorObject(record);
  if (!g_handler.isBlock()) {
    writeErrorChannel("\r\nNo ERRORBLOCK() for error at: ");
    writeErrorChannel(traceLine());
    endWithError();
  }
  Value answer;
  {
    HandlingGuard guard;
    Value handler = g_handler;  // the handler may install another block while it runs
    Value args[1] = {error};
    answer = EVAL(handler, Args(args)).deref();
  }
  if (answer.isLogical()) {
    if (answer.asBool() && (record.flags & kCanRetry)) return {ErrorAnswer::Retry, Value()};
    if (!answer.asBool() && (record.flags & kCanDefault)) return {ErrorAnswer::Default, Value()};
  }
  if (record.flags & kCanSubstitute) return {ErrorAnswer::Substitute, answer};
  writeErrorChannel("\r\n");
  writeErrorChannel(std::string(genCodeDescription(9997)) + ", " + traceLine());
  endWithError();
}

Value argumentError(std::string_view operation, int subCode, Args args) {
  return raiseForSubstitute(baseError(EG_ARG, subCode, operation).with(args));
}

Value noFunctionError(std::string_view name, Args args) {
  return raiseForSubstitute(baseError(EG_NOFUNC, kBaseNoFunction, name).with(args));
}

Value noMethodError(const Value& receiver, std::string_view message, Args args) {
  return raiseForSubstitute(
      baseError(EG_NOMETHOD, kBaseNoMethod, message).with({receiver}).with(args));
}

Value noVariableError(std::string_view name) {
  return raiseForSubstitute(baseError(EG_NOVAR, kBaseNoVariable, name));
}

Value noAliasError(std::string_view alias) {
  return raiseForSubstitute(baseError(EG_NOALIAS, kBaseNoAlias, alias));
}

Value readOnlyPropertyError(const Value& receiver, std::string_view message, const Value& value) {
  return raiseForSubstitute(
      baseError(EG_READONLY, kBaseReadOnlyProperty, message).with({receiver, value}));
}

Value zeroDivisionError(const Value& dividend, const Value& divisor, std::string_view operation) {
  const int sub = operation == "%" ? kBaseModulus : kBaseDivide;
  return raiseForSubstitute(baseError(EG_ZERODIV, sub, operation).with({dividend, divisor}));
}

void internalError(int n) {
  std::string text = traceLine() + "  ";
  if (const char* d = findDescription(n)) {
    text += "Error no recuperable " + std::to_string(n) + ": " + d;
  } else {
    text += "Error interno " + std::to_string(n);
  }
  writeErrorChannel(text);
  endWithError();
}

Value ERRORBLOCK(const Value& block) {
  Value old = g_handler;
  if (block.deref().isBlock()) g_handler = block.deref();
  return old;
}

void restoreErrorBlock(const Value& saved) {
  const Value& v = saved.deref();
  g_handler = v.isBlock() ? v : Value();
}

int DOSERROR() {
  return g_dosError;
}
void setDosError(int code) {
  g_dosError = code;
}
bool NETERR(const Value& flag) {
  const bool before = g_netErr;
  if (flag.deref().isLogical()) g_netErr = flag.deref().asBool();
  return before;
}

void BREAK(const Value& value) {
  throw BreakException{value.deref()};
}

void resetErrorSystem() {
  g_handler = Value();
  g_handling = false;
  g_dosError = 0;
  g_netErr = false;
}

}  // namespace kv
