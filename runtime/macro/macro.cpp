#include "runtime/macro/macro.h"

#include <memory>

#include "runtime/error/error.h"
#include "runtime/error/errorobject.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/functions.h"
#include "runtime/macro/lexer.h"
#include "runtime/macro/nodes.h"
#include "runtime/macro/parser.h"

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
    return raiseForSubstitute(baseError(EG_ARG, kBaseMacroNotText, "&").with({t}));
  }
  CompileResult r = compileExpression(t.str());
  if (r.status != 0) {
    const std::string what = r.message + ": " + std::string(t.str());
    return raiseForSubstitute(baseError(EG_SYNTAX, kBaseMacroSyntax, what));
  }
  return r.block.blk()->eval({});
}

namespace {

// While it lives, the first error raised abandons the evaluation: its handler records the
// general code and leaves by BREAK. The previous handler comes back at the end of the scope.
class AbandonOnError {
 public:
  AbandonOnError() : genCode_(std::make_shared<int>(0)) {
    std::shared_ptr<int> code = genCode_;
    saved_ = ERRORBLOCK(makeBlock(
        [code](Args a) -> Value {
          const Value& e = arg(a, 0);
          *code = isErrorObject(e) ? send(e, "GENCODE").deref().asInt() : -1;
          BREAK(e);
        },
        1));
  }
  ~AbandonOnError() { restoreErrorBlock(saved_); }
  AbandonOnError(const AbandonOnError&) = delete;
  AbandonOnError& operator=(const AbandonOnError&) = delete;

  // The general code of the error that abandoned the evaluation (-1 for a raise without an
  // error object), 0 when none was raised.
  int genCode() const { return *genCode_; }

 private:
  std::shared_ptr<int> genCode_;  // shared with the handler block, which may outlive the scope
  Value saved_;
};

}  // namespace

Value TYPE(const Value& text) {
  const Value& t = text.deref();
  if (!t.isString()) return raiseArgError("TYPE", 1121, {text});
  CompileResult r = compileExpression(t.str());
  if (r.status != 0) return Value("UE");
  AbandonOnError trap;
  try {
    const Value v = r.block.blk()->eval({});
    return Value(VALTYPE(v.deref()));
  } catch (const BreakException&) {
    switch (trap.genCode()) {
      case EG_SYNTAX:
        return Value("UE");
      case EG_NOVAR:
      case EG_NOALIAS:
        return Value("U");
      default:
        return Value("UI");
    }
  }
}

void registerMacroFunctions() {
  registerFunction("TYPE", [](Args a) { return TYPE(arg(a, 0)); });
}

}  // namespace kv
