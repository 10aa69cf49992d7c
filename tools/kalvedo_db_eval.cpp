#include "tools/kalvedo_db_eval.h"

#include <iostream>

#include "platform/codepage.h"
#include "runtime/dates.h"
#include "runtime/macro.h"
#include "runtime/numfmt.h"
#include "runtime/settings.h"
#include "runtime/strings.h"

namespace kv::tools {

namespace {

void usage() {
  std::cerr << "kalvedo-db: usage: kalvedo-db eval [--date FORMAT] [--century] [--deleted] "
               "EXPR...\n";
}

}  // namespace

std::string formatEvalResult(const Value& value) {
  const Value& v = value.deref();
  if (v.isString()) return std::string(v.str());
  if (v.isNumber()) return LTRIM(STR(v)).toStdString();
  if (v.isDate()) return DTOC(v).toStdString();
  if (v.isLogical()) return v.asBool() ? ".T." : ".F.";
  if (v.isBlock()) return "{|| ... }";
  if (v.isObject()) return "<object>";
  if (v.isArray()) {
    std::string out = "{";
    for (std::size_t i = 0; i < v.arrayLen(); ++i) {
      if (i > 0) out += ", ";
      out += formatEvalResult(v.arr()->items[i]);
    }
    return out + "}";
  }
  return "NIL";
}

int dbEvalCommand(const std::vector<std::string>& args) {
  std::vector<std::string> expressions;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!expressions.empty() || a.rfind("--", 0) != 0) {
      expressions.push_back(a);
    } else if (a == "--date" && i + 1 < args.size()) {
      setSetting(kSetDateFormat, Value(platform::utf8ToCp1250(args[++i])));
    } else if (a == "--century") {
      __SETCENTURY(Value(true));
    } else if (a == "--deleted") {
      setSetting(kSetDeleted, Value(true));
    } else {
      usage();
      return 2;
    }
  }
  if (expressions.empty()) {
    usage();
    return 2;
  }
  for (const std::string& text : expressions) {
    // A text that does not compile raises the syntax error; a run-time error raises its
    // own. Either goes to the installed handler, which ends the run when nobody handles it.
    Value result = evalMacroText(Value(platform::utf8ToCp1250(text)));
    std::cout << platform::cp1250ToUtf8(formatEvalResult(result)) << '\n' << std::flush;
  }
  return 0;
}

}  // namespace kv::tools
