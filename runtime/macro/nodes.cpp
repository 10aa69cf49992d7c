// Names, calls, blocks and literals of compiled expressions.
#include "runtime/macro/nodes.h"

#include <utility>

#include "runtime/error/error.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/fieldaccess.h"
#include "runtime/lang/memvars.h"
#include "runtime/macro/macro.h"

namespace kv::macro {

namespace {

// "No existe la variable": answers only when the handler asks for a retry.
void noVariable(const Symbol& sym, int tries) {
  raiseError(baseError(EG_NOVAR, kBaseNoVariable, sym.name).allow(kCanRetry).attempt(tries));
}

class Literal final : public Node {
 public:
  explicit Literal(Value v) : v_(std::move(v)) {}
  Value eval(Env&) const override { return v_; }

 private:
  Value v_;
};

class CellPlace final : public Place {
 public:
  explicit CellPlace(Value* slot) : slot_(slot) {}
  Value get() override { return *slot_; }
  void put(const Value& v) override { *slot_ = v.deref(); }

 private:
  Value* slot_;
};

Env* outer(Env& env, int depth) {
  Env* e = &env;
  while (depth-- > 0 && e) e = e->parent;
  return e;
}

class Local final : public LvalueNode {
 public:
  Local(int depth, int index) : depth_(depth), index_(index) {}
  Value eval(Env& env) const override { return *outer(env, depth_)->locals[index_]; }
  Value withPlace(Env& env, Value (*use)(Place&, void*), void* ctx) const override {
    Cell keep = refCell(env);
    CellPlace p(keep.get());
    return use(p, ctx);
  }
  Cell refCell(Env& env) const override { return outer(env, depth_)->locals[index_]; }

 private:
  int depth_;
  int index_;
};

class NamePlace final : public Place {
 public:
  NamePlace(Symbol* sym, NameMode mode) : sym_(sym), mode_(mode) {}
  Value get() override { return lookup(*sym_, mode_); }
  void put(const Value& v) override {
    if (mode_ != NameMode::MemvarOnly && fieldPut(*sym_, v)) return;
    if (mode_ == NameMode::FieldOnly) {
      for (int tries = 0;; ++tries) {
        noVariable(*sym_, tries);
        if (fieldPut(*sym_, v)) return;
      }
    }
    if (sym_->memvar) {
      *sym_->memvar = v.deref();
    } else {
      memvarPut(sym_->name, v);
    }
  }

  static Value lookup(const Symbol& sym, NameMode mode) {
    for (int tries = 0;; ++tries) {
      Value v;
      if (mode != NameMode::MemvarOnly && fieldGet(sym, v)) return v;
      if (mode != NameMode::FieldOnly && sym.memvar) return *sym.memvar;
      noVariable(sym, tries);
    }
  }

 private:
  Symbol* sym_;
  NameMode mode_;
};

class Name final : public LvalueNode {
 public:
  Name(Symbol* sym, NameMode mode) : sym_(sym), mode_(mode) {}
  Value eval(Env&) const override {
    // Fast path of the common case: no field, a visible memory variable.
    if (mode_ == NameMode::Any && !fieldResolver() && sym_->memvar) return *sym_->memvar;
    return NamePlace::lookup(*sym_, mode_);
  }
  Value withPlace(Env&, Value (*use)(Place&, void*), void* ctx) const override {
    NamePlace p(sym_, mode_);
    return use(p, ctx);
  }
  Cell refCell(Env&) const override {
    if (mode_ == NameMode::FieldOnly) return nullptr;
    if (mode_ == NameMode::Any) {
      Value ignored;
      if (fieldGet(*sym_, ignored)) return nullptr;
    }
    if (!sym_->memvar) NamePlace::lookup(*sym_, NameMode::MemvarOnly);
    return sym_->memvar;
  }

 private:
  Symbol* sym_;
  NameMode mode_;
};

class AliasFieldPlace final : public Place {
 public:
  AliasFieldPlace(Symbol* alias, Symbol* field) : alias_(alias), field_(field) {}
  Value get() override {
    AliasGuard g(*alias_);
    return NamePlace::lookup(*field_, NameMode::FieldOnly);
  }
  void put(const Value& v) override {
    AliasGuard g(*alias_);
    NamePlace(field_, NameMode::FieldOnly).put(v);
  }

 private:
  Symbol* alias_;
  Symbol* field_;
};

class AliasField final : public LvalueNode {
 public:
  AliasField(Symbol* alias, Symbol* field) : alias_(alias), field_(field) {}
  Value eval(Env&) const override { return AliasFieldPlace(alias_, field_).get(); }
  Value withPlace(Env&, Value (*use)(Place&, void*), void* ctx) const override {
    AliasFieldPlace p(alias_, field_);
    return use(p, ctx);
  }

 private:
  Symbol* alias_;
  Symbol* field_;
};

Value evalList(const std::vector<NodePtr>& list, Env& env) {
  Value last;
  for (const auto& n : list) last = n->eval(env);
  return last;
}

class List final : public Node {
 public:
  explicit List(std::vector<NodePtr> list) : list_(std::move(list)) {}
  Value eval(Env& env) const override { return evalList(list_, env); }

 private:
  std::vector<NodePtr> list_;
};

class AliasExpr final : public Node {
 public:
  AliasExpr(Symbol* alias, std::vector<NodePtr> list) : alias_(alias), list_(std::move(list)) {}
  Value eval(Env& env) const override {
    AliasGuard g(*alias_);
    return evalList(list_, env);
  }

 private:
  Symbol* alias_;
  std::vector<NodePtr> list_;
};

// "@name" in an argument list: the variable's cell, or the value when it has none.
class ByRef final : public Node {
 public:
  explicit ByRef(NodePtr lv) : lv_(std::move(lv)) {}
  Value eval(Env& env) const override {
    Cell c = static_cast<const LvalueNode&>(*lv_).refCell(env);
    return c ? Value::reference(std::move(c)) : lv_->eval(env);
  }

 private:
  NodePtr lv_;
};

// Evaluates argument nodes into a small buffer on the stack (or the heap for long lists).
class ArgBuffer {
 public:
  ArgBuffer(const std::vector<NodePtr>& nodes, std::size_t from, Env& env) {
    std::size_t n = nodes.size() - from;
    Value* out = inline_;
    if (n > kInline) {
      heap_.resize(n);
      out = heap_.data();
    }
    for (std::size_t i = 0; i < n; ++i) out[i] = nodes[from + i]->eval(env);
    args_ = Args(out, n);
  }
  Args args() const { return args_; }

 private:
  static constexpr std::size_t kInline = 6;
  Value inline_[kInline];
  std::vector<Value> heap_;
  Args args_;
};

class Call final : public Node {
 public:
  Call(Symbol* sym, std::vector<NodePtr> args) : sym_(sym), args_(std::move(args)) {}
  Value eval(Env& env) const override {
    ArgBuffer buf(args_, 0, env);
    return callSymbol(sym_, buf.args());
  }

 private:
  Symbol* sym_;
  std::vector<NodePtr> args_;
};

class EvalCall final : public Node {
 public:
  explicit EvalCall(std::vector<NodePtr> args) : args_(std::move(args)) {}
  Value eval(Env& env) const override {
    Value block = args_[0]->eval(env);
    ArgBuffer buf(args_, 1, env);
    return EVAL(block, buf.args());
  }

 private:
  std::vector<NodePtr> args_;
};

class Break final : public Node {
 public:
  explicit Break(NodePtr arg) : arg_(std::move(arg)) {}
  Value eval(Env& env) const override { throw BreakException{arg_->eval(env).deref()}; }

 private:
  NodePtr arg_;
};

class PCount final : public Node {
 public:
  Value eval(Env& env) const override { return Value(env.pcount); }
};

class Iif final : public Node {
 public:
  Iif(NodePtr c, NodePtr a, NodePtr b) : c_(std::move(c)), a_(std::move(a)), b_(std::move(b)) {}
  Value eval(Env& env) const override {
    Value c = c_->eval(env).deref();
    if (!c.isLogical()) {
      c = raiseForSubstitute(baseError(EG_ARG, kBaseIifCondition, "IIF").with({c})).deref();
    }
    return c.asBool() ? a_->eval(env) : b_->eval(env);
  }

 private:
  NodePtr c_, a_, b_;
};

class ArrayLit final : public Node {
 public:
  explicit ArrayLit(std::vector<NodePtr> elems) : elems_(std::move(elems)) {}
  Value eval(Env& env) const override {
    ArrayPtr a = newArrayData(elems_.size());
    for (std::size_t i = 0; i < elems_.size(); ++i) a->items[i] = elems_[i]->eval(env).deref();
    return Value::array(std::move(a));
  }

 private:
  std::vector<NodePtr> elems_;
};

class MacroBlock final : public BlockData {
 public:
  MacroBlock(ProgramPtr program, std::shared_ptr<Env> captured)
      : program_(std::move(program)), captured_(std::move(captured)) {
    params = program_->params;
  }

  Value eval(std::span<Value> args) override {
    if (program_->heapEnv) {
      auto env = std::make_shared<Env>();
      env->parentKeep = captured_;
      return run(*env, args);
    }
    Env env;
    return run(env, args);
  }

  void traverse(void (*visit)(const Value&, void*), void* ctx) const override {
    for (const Env* e = captured_.get(); e; e = e->parent) {
      for (const Cell& c : e->locals) {
        if (c) visit(*c, ctx);
      }
    }
  }

 private:
  Value run(Env& env, std::span<Value> args) {
    env.parent = captured_.get();
    env.pcount = static_cast<int>(args.size());
    if (program_->params > 0) {
      env.locals.reserve(program_->params);
      for (int i = 0; i < program_->params; ++i) {
        if (static_cast<std::size_t>(i) < args.size() && args[i].isRef()) {
          env.locals.push_back(args[i].cell());
        } else {
          env.locals.push_back(
              newCell(static_cast<std::size_t>(i) < args.size() ? args[i] : Value()));
        }
      }
    }
    const auto& body = program_->body;
    if (body.size() == 1) return body[0]->eval(env).deref();
    return evalList(body, env).deref();
  }

  ProgramPtr program_;
  std::shared_ptr<Env> captured_;
};

class BlockLit final : public Node {
 public:
  explicit BlockLit(ProgramPtr program) : program_(std::move(program)) {}
  Value eval(Env& env) const override { return makeMacroBlock(program_, env.shared_from_this()); }

 private:
  ProgramPtr program_;
};

class Macro final : public Node {
 public:
  explicit Macro(NodePtr text) : text_(std::move(text)) {}
  // The "&" operator: compiles and evaluates the text at run time.
  Value eval(Env& env) const override { return kv::evalMacroText(text_->eval(env)); }

 private:
  NodePtr text_;
};

}  // namespace

Value makeMacroBlock(ProgramPtr program, std::shared_ptr<Env> captured) {
  auto b = std::allocate_shared<MacroBlock>(CountingAllocator<MacroBlock>(), std::move(program),
                                            std::move(captured));
  return Value::block(std::move(b));
}

Value callSymbol(Symbol* sym, Args args) {
  if (sym->fn) return sym->fn(args);
  return noFunctionError(sym->name, args);
}

NodePtr makeLiteral(Value v) {
  return std::make_unique<Literal>(std::move(v));
}
NodePtr makeLocal(int depth, int index) {
  return std::make_unique<Local>(depth, index);
}
NodePtr makeName(Symbol* sym, NameMode mode) {
  return std::make_unique<Name>(sym, mode);
}
NodePtr makeAliasField(Symbol* alias, Symbol* field) {
  return std::make_unique<AliasField>(alias, field);
}
NodePtr makeAliasExpr(Symbol* alias, std::vector<NodePtr> list) {
  return std::make_unique<AliasExpr>(alias, std::move(list));
}
NodePtr makeList(std::vector<NodePtr> list) {
  if (list.size() == 1) return std::move(list[0]);
  return std::make_unique<List>(std::move(list));
}
NodePtr makeCall(Symbol* sym, std::vector<NodePtr> args) {
  return std::make_unique<Call>(sym, std::move(args));
}
NodePtr makeByRef(NodePtr lvalue) {
  return std::make_unique<ByRef>(std::move(lvalue));
}
NodePtr makeEvalCall(std::vector<NodePtr> args) {
  return std::make_unique<EvalCall>(std::move(args));
}
NodePtr makeBreak(NodePtr arg) {
  return std::make_unique<Break>(std::move(arg));
}
NodePtr makePCount() {
  return std::make_unique<PCount>();
}
NodePtr makeIif(NodePtr c, NodePtr a, NodePtr b) {
  return std::make_unique<Iif>(std::move(c), std::move(a), std::move(b));
}
NodePtr makeArray(std::vector<NodePtr> elems) {
  return std::make_unique<ArrayLit>(std::move(elems));
}
NodePtr makeBlock(ProgramPtr program) {
  return std::make_unique<BlockLit>(std::move(program));
}
NodePtr makeMacro(NodePtr text) {
  return std::make_unique<Macro>(std::move(text));
}

}  // namespace kv::macro
