#pragma once
// The symbol table: one entry per name, shared by functions, memory variables and table
// fields. A function symbol carries the C++ function behind the name, so the expression
// compiler and the error handler can call any runtime or application function by name; a
// variable symbol carries the variable's storage cell; a field symbol carries the head of
// the chain of fields of that name across all work areas (linked in by the engine).
// Names are case-insensitive and stored upper case.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/value/value.h"

namespace kv {

// Arguments of a call as the callee sees them. A by-reference argument is a Ref value; use
// arg() to read through it.
using Args = std::span<Value>;
// A function callable by name. Missing arguments read as nil.
using NativeFn = Value (*)(Args args);

// A table field as the symbol of its name sees it. The engine's fields are FieldLinks
// (engine/area/workarea.h): every open work area's field of a name is linked from the
// name's symbol through `nextSameName`, so an expression finds the field without knowing
// work areas.
struct FieldLink {
  FieldLink* nextSameName = nullptr;
};

struct Symbol {
  std::string name;                 // upper case
  NativeFn fn = nullptr;            // function behind the name, or null
  Cell memvar;                      // visible memory variable (public or private), or null
  FieldLink* fieldChain = nullptr;  // the first field of any work area with this name
};

// The symbol of a name, or null when the name was never registered.
Symbol* findSymbol(std::string_view name);
// The symbol of a name, created (without function or variable) when new. The pointer stays
// valid for the whole run.
Symbol* getSymbol(std::string_view name);
// Registers (or replaces) the function behind a name.
void registerFunction(std::string_view name, NativeFn fn);

// Argument i (0-based) read through a reference; nil when absent.
const Value& arg(Args args, std::size_t i);
// Number of arguments passed.
inline std::size_t argc(Args args) {
  return args.size();
}

// Upper-cases ASCII letters only (names are ASCII).
std::string upperName(std::string_view name);

}  // namespace kv
