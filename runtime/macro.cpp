#include "runtime/macro.h"

#include "runtime/error.h"
#include "runtime/macrolex.h"
#include "runtime/macronodes.h"
#include "runtime/macroparse.h"

namespace kv {

CompileResult compileExpression(std::string_view text) {
  CompileResult r;
  try {
    r.block = macro::makeMacroBlock(macro::parseProgram(text), nullptr);
  } catch (const macro::CompileError& e) {
    r.status = 2;
    r.message = e.message;
  }
  return r;
}

CompileResult compileBlock(const Value& text) {
  const Value& t = text.deref();
  if (!t.isString()) internalError(1254);
  if (t.str().size() > kMaxExpressionText) internalError(1255);
  return compileExpression(t.str());
}

Value evalMacroText(const Value& text) {
  const Value& t = text.deref();
  if (!t.isString()) {
    ErrorSpec e;
    e.genCode = EG_ARG;
    e.subCode = 1065;
    e.subsystem = "BASE";
    e.flags = kCanSubstitute;
    e.operation.push_back(
        '&');  // (a one-character assignment trips a GCC 12 -Wrestrict false alarm)
    e.args.push_back(t);
    return raiseError(e).value;
  }
  CompileResult r = compileExpression(t.str());
  if (r.status != 0) {
    ErrorSpec e;
    e.genCode = EG_SYNTAX;
    e.subCode = 1449;
    e.subsystem = "BASE";
    e.flags = kCanSubstitute;
    e.operation = r.message;
    e.operation += ": ";
    e.operation += t.str();
    return raiseError(e).value;
  }
  return r.block.blk()->eval({});
}

namespace macro {
Value evalMacroText(const Value& text) {
  return kv::evalMacroText(text);
}
}  // namespace macro

}  // namespace kv
