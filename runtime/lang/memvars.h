#pragma once
// Memory variables. Public variables live for the whole run (the application's globals are
// publics, looked up by name); a private variable belongs to the procedure that declares it
// and hides any variable of the same name until that procedure ends, when PrivateScope puts
// the previous one back. Both are reached through the name's symbol, so expressions compiled
// at run time see them.
#include <string_view>
#include <vector>

#include "runtime/lang/symbols.h"
#include "runtime/value/value.h"

namespace kv {

// Declares a public variable (nil unless `init` is given). An existing variable of that name
// keeps its value.
void PUBLIC(std::string_view name, const Value& init = Value());

// True when a memory variable of that name is visible.
bool memvarExists(std::string_view name);
// The variable's value; nil when there is none (callers that must fail use memvarCell()).
Value memvarGet(std::string_view name);
// Assigns the variable, creating a private of the current procedure... or a public when no
// procedure scope is open.
void memvarPut(std::string_view name, const Value& v);
// The variable's storage cell (for by-reference passing), null when there is none.
Cell memvarCell(std::string_view name);

// RELEASE of one variable: a private variable of a running procedure is set to nil and stays
// declared until its procedure ends; a public variable is removed, so that the name no longer
// names a variable. A name without a visible variable is ignored.
void RELEASE(std::string_view name);

// Private variables of one procedure: declare() hides the current variable of the name until
// the scope ends.
class PrivateScope {
 public:
  PrivateScope();
  ~PrivateScope();
  PrivateScope(const PrivateScope&) = delete;
  PrivateScope& operator=(const PrivateScope&) = delete;
  void declare(std::string_view name, const Value& init = Value());
  // True when this scope or an enclosing one declared the name's visible variable.
  static bool declaresVisible(const Symbol* sym);

 private:
  struct Saved {
    Symbol* sym;
    Cell previous;
  };
  std::vector<Saved> saved_;
  PrivateScope* outer_;
};

// Drops every memory variable (end of the program, tests).
void releaseAllMemvars();

}  // namespace kv
