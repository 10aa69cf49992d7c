#pragma once
// The compiled form of an expression: a tree of nodes, each evaluating itself against the
// environment of the running block (its parameters and those of the blocks around it). Names
// that are not block parameters are looked up when the block runs: a field of the current
// work area, then a memory variable. Function names are bound to their symbols at compile
// time and the function behind the symbol is taken when the call runs.
#include <memory>
#include <string>
#include <vector>

#include "runtime/lang/symbols.h"
#include "runtime/value/value.h"

namespace kv::macro {

// Parameters of one running block. Each parameter is a cell, so it can be passed on by
// reference and captured by blocks created inside the block; a parameter passed by
// reference shares the caller's cell.
struct Env : std::enable_shared_from_this<Env> {
  Env* parent = nullptr;            // the block that created this block, if any
  std::shared_ptr<Env> parentKeep;  // keeps `parent` alive for environments on the heap
  std::vector<Cell> locals;
  int pcount = 0;  // number of arguments passed
};

class Node {
 public:
  virtual ~Node() = default;
  virtual Value eval(Env& env) const = 0;
  // True for nodes that can be assigned (names, parameters, elements, fields, properties).
  virtual bool isLvalue() const { return false; }
};
using NodePtr = std::unique_ptr<Node>;

// A location found once and then read and/or written.
class Place {
 public:
  virtual ~Place() = default;
  virtual Value get() = 0;
  virtual void put(const Value& v) = 0;
};

class LvalueNode : public Node {
 public:
  bool isLvalue() const override { return true; }
  // Locates the target (evaluating sub-expressions once) and hands it to `use`.
  virtual Value withPlace(Env& env, Value (*use)(Place&, void*), void* ctx) const = 0;
  // The variable's cell for passing by reference; null when the target has none (a field,
  // an element), which then is passed by value.
  virtual Cell refCell(Env&) const { return nullptr; }
};

// A compiled block: parameter count, body (an expression list whose value is the last) and
// whether its environment must live on the heap because blocks inside it capture it.
struct Program {
  int params = 0;
  bool heapEnv = false;
  std::vector<NodePtr> body;
};
using ProgramPtr = std::shared_ptr<const Program>;

// A block value that runs `program` with `captured` as its enclosing environment.
Value makeMacroBlock(ProgramPtr program, std::shared_ptr<Env> captured);

// How a name is looked up.
enum class NameMode { Any, FieldOnly, MemvarOnly };

// Node factories used by the parser.
NodePtr makeLiteral(Value v);
NodePtr makeLocal(int depth, int index);
NodePtr makeName(Symbol* sym, NameMode mode);
NodePtr makeAliasField(Symbol* alias, Symbol* field);
NodePtr makeAliasExpr(Symbol* alias, std::vector<NodePtr> list);
NodePtr makeList(std::vector<NodePtr> list);
// A call through the symbol table; argument nodes made by makeByRef pass a reference.
NodePtr makeCall(Symbol* sym, std::vector<NodePtr> args);
NodePtr makeByRef(NodePtr lvalue);
NodePtr makeEvalCall(std::vector<NodePtr> args);
NodePtr makeBreak(NodePtr arg);
NodePtr makePCount();
NodePtr makeIif(NodePtr cond, NodePtr a, NodePtr b);
NodePtr makeArray(std::vector<NodePtr> elems);
NodePtr makeBlock(ProgramPtr program);
NodePtr makeMacro(NodePtr text);

using BinaryFn = Value (*)(const Value&, const Value&);
using UnaryFn = Value (*)(const Value&);
NodePtr makeBinary(BinaryFn fn, NodePtr a, NodePtr b);
NodePtr makeUnary(UnaryFn fn, NodePtr a);
NodePtr makeAnd(NodePtr a, NodePtr b);
NodePtr makeOr(NodePtr a, NodePtr b);
NodePtr makeNot(NodePtr a);
// `op` null for a plain assignment, else the operator of a compound assignment.
NodePtr makeAssign(NodePtr lvalue, BinaryFn op, NodePtr rhs);
NodePtr makeIncDec(NodePtr lvalue, bool increment, bool prefix);
NodePtr makeIndex(NodePtr base, NodePtr index);
NodePtr makeSend(NodePtr receiver, std::string message, std::vector<NodePtr> args, bool hasArgs);

// Comparison operators (the runtime's comparison rules) and "$".
Value cmpEqual(const Value& a, const Value& b);
Value cmpExactEqual(const Value& a, const Value& b);
Value cmpNotEqual(const Value& a, const Value& b);
Value cmpLess(const Value& a, const Value& b);
Value cmpLessEqual(const Value& a, const Value& b);
Value cmpGreater(const Value& a, const Value& b);
Value cmpGreaterEqual(const Value& a, const Value& b);
Value cmpContains(const Value& a, const Value& b);

// Calls the function behind a symbol; a name without function raises "Función no definida"
// (gen 12, subcode 1001) and answers the handler's substitute.
Value callSymbol(Symbol* sym, Args args);

}  // namespace kv::macro
