#include "tools/kalvedo_db_eval.h"

#include <iostream>
#include <string_view>

#include "platform/codepage.h"
#include "runtime/error/callstack.h"
#include "runtime/format/dates.h"
#include "runtime/format/numfmt.h"
#include "runtime/lang/settings.h"
#include "runtime/lib/strings.h"
#include "runtime/macro/macro.h"

namespace kv::tools {

namespace {

// Longest expression text a call-chain line shows; a longer one is cut and ends in "...".
constexpr std::size_t kTracedTextLength = 60;

// The name of an expression's frame in the call trace: "EVAL: " and the expression text on
// one line (line breaks and other control characters become blanks), cut to a readable
// length.
std::string frameName(std::string_view text) {
  std::string shown(text);
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  if (shown.size() > kTracedTextLength) shown = shown.substr(0, kTracedTextLength - 3) + "...";
  return "EVAL: " + shown;
}

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
  for (std::size_t i = 0; i < expressions.size(); ++i) {
    const std::string text = platform::utf8ToCp1250(expressions[i]);
    // Each expression runs in a frame of its own, so an error report's call chain names it:
    // "EVAL: " and its text, with its position among the expressions as the line.
    const std::string name = frameName(text);
    Value result;
    {
      FrameGuard frame(name.c_str(), static_cast<int>(i + 1));
      // A text that does not compile raises the syntax error; a run-time error raises its
      // own. Either goes to the installed handler, which ends the run when nobody handles it.
      result = evalMacroText(Value(text));
    }
    std::cout << platform::cp1250ToUtf8(formatEvalResult(result)) << '\n' << std::flush;
  }
  return 0;
}

}  // namespace kv::tools
