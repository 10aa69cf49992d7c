#include "ui/core/messages.h"

namespace kv::ui {

bool intArg(const Value& v, int& out, std::string_view operation, Args args) {
  const Value& d = v.deref();
  if (!d.isNumber()) {
    guiError(kGuiArgument, operation, args);
    return false;
  }
  out = d.asInt();
  return true;
}

bool boolArg(const Value& v, bool& out, std::string_view operation, Args args) {
  const Value& d = v.deref();
  if (!d.isLogical()) {
    guiError(kGuiArgument, operation, args);
    return false;
  }
  out = d.asBool();
  return true;
}

bool stringArg(const Value& v, std::string& out, std::string_view operation, Args args) {
  const Value& d = v.deref();
  if (!d.isString()) {
    guiError(kGuiArgument, operation, args);
    return false;
  }
  out = std::string(d.str());
  return true;
}

}  // namespace kv::ui
