#include "ui/ini/filefunctions.h"

#include "platform/pathsplit.h"
#include "platform/process.h"
#include "runtime/lang/symbols.h"
#include "ui/ini/inifile.h"

namespace kv::ui {

Value EXTRACTFILEPATH(const Value& name) {
  const Value& n = name.deref();
  return Value(n.isString() ? platform::extractFilePath(n.str()) : std::string());
}

Value EXTRACTFILENAME(const Value& name) {
  const Value& n = name.deref();
  return Value(n.isString() ? platform::extractFileName(n.str()) : std::string());
}

Value WINEXEC(const Value& commandLine, const Value&, const Value& wait) {
  const Value& c = commandLine.deref();
  if (!c.isString() || c.str().empty()) return Value(false);
  return Value(platform::startProgram(std::string(c.str()), wait.deref().asBool()));
}

void registerIniFunctions() {
  registerFunction("TINIFILE", [](Args) { return TIniFile(); });
  registerFunction("EXTRACTFILEPATH", [](Args a) { return EXTRACTFILEPATH(arg(a, 0)); });
  registerFunction("EXTRACTFILENAME", [](Args a) { return EXTRACTFILENAME(arg(a, 0)); });
  registerFunction("WINEXEC", [](Args a) { return WINEXEC(arg(a, 0), arg(a, 1), arg(a, 2)); });
}

}  // namespace kv::ui
