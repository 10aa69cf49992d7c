// Operators, assignments, indexing and message sends of compiled expressions.
#include <utility>

#include "runtime/error/error.h"
#include "runtime/lang/classes.h"
#include "runtime/macro/nodes.h"
#include "runtime/value/arith.h"

namespace kv::macro {

namespace {

Value operandError(const char* op, int subCode, int gen, std::initializer_list<Value> args) {
  return raiseForSubstitute(baseError(gen, subCode, op).with(args));
}

class Binary final : public Node {
 public:
  Binary(BinaryFn fn, NodePtr a, NodePtr b) : fn_(fn), a_(std::move(a)), b_(std::move(b)) {}
  Value eval(Env& env) const override {
    Value a = a_->eval(env);
    return fn_(a, b_->eval(env));
  }

 private:
  BinaryFn fn_;
  NodePtr a_, b_;
};

class Unary final : public Node {
 public:
  Unary(UnaryFn fn, NodePtr a) : fn_(fn), a_(std::move(a)) {}
  Value eval(Env& env) const override { return fn_(a_->eval(env)); }

 private:
  UnaryFn fn_;
  NodePtr a_;
};

// Reads an operand of a logical operator; anything but a logical is an argument error whose
// substitute is taken as the operator's result.
bool logicalOperand(const Value& v, const char* op, int subCode, Value& substitute) {
  if (v.deref().isLogical()) return true;
  substitute = operandError(op, subCode, EG_ARG, {v.deref()});
  return false;
}

// ".AND." and ".OR." stop as soon as the first operand decides the result.
class AndOr final : public Node {
 public:
  AndOr(bool isAnd, NodePtr a, NodePtr b) : and_(isAnd), a_(std::move(a)), b_(std::move(b)) {}
  Value eval(Env& env) const override {
    const char* op = and_ ? ".AND." : ".OR.";
    int sub = and_ ? 1078 : 1079;
    Value sub1;
    Value a = a_->eval(env);
    if (!logicalOperand(a, op, sub, sub1)) return sub1;
    if (a.deref().asBool() != and_) return a.deref();
    Value b = b_->eval(env);
    if (!logicalOperand(b, op, sub, sub1)) return sub1;
    return b.deref();
  }

 private:
  bool and_;
  NodePtr a_, b_;
};

class Not final : public Node {
 public:
  explicit Not(NodePtr a) : a_(std::move(a)) {}
  Value eval(Env& env) const override {
    Value a = a_->eval(env);
    Value substitute;
    if (!logicalOperand(a, ".NOT.", 1077, substitute)) return substitute;
    return Value(!a.deref().asBool());
  }

 private:
  NodePtr a_;
};

const LvalueNode& lv(const NodePtr& n) {
  return static_cast<const LvalueNode&>(*n);
}

class Assign final : public Node {
 public:
  Assign(NodePtr target, BinaryFn op, NodePtr rhs)
      : target_(std::move(target)), op_(op), rhs_(std::move(rhs)) {}
  Value eval(Env& env) const override {
    struct Ctx {
      const Assign* self;
      Env* env;
    } ctx{this, &env};
    return lv(target_).withPlace(
        env,
        [](Place& p, void* c) {
          auto* x = static_cast<Ctx*>(c);
          Value r;
          if (x->self->op_) {
            Value old = p.get();
            r = x->self->op_(old, x->self->rhs_->eval(*x->env));
          } else {
            r = x->self->rhs_->eval(*x->env).deref();
          }
          p.put(r);
          return r;
        },
        &ctx);
  }

 private:
  NodePtr target_;
  BinaryFn op_;
  NodePtr rhs_;
};

class IncDec final : public Node {
 public:
  IncDec(NodePtr target, bool inc, bool prefix)
      : target_(std::move(target)), inc_(inc), prefix_(prefix) {}
  Value eval(Env& env) const override {
    return lv(target_).withPlace(
        env, prefix_ ? (inc_ ? &pre<true> : &pre<false>) : (inc_ ? &post<true> : &post<false>),
        nullptr);
  }

 private:
  template <bool Inc>
  static Value pre(Place& p, void*) {
    Value r = Inc ? opIncrement(p.get()) : opDecrement(p.get());
    p.put(r);
    return r;
  }
  template <bool Inc>
  static Value post(Place& p, void*) {
    Value old = p.get();
    p.put(Inc ? opIncrement(old) : opDecrement(old));
    return old;
  }

  NodePtr target_;
  bool inc_;
  bool prefix_;
};

class ElementPlace final : public Place {
 public:
  ElementPlace(Value array, Value index) : array_(std::move(array)), index_(std::move(index)) {}
  Value get() override {
    const Value& a = array_.deref();
    const Value& i = index_.deref();
    if (!a.isArray() || !i.isNumber()) {
      return operandError("array access", 1068, EG_ARG, {a, i});
    }
    double n = i.asDouble();
    if (n < 1 || n > static_cast<double>(a.arrayLen())) {
      return operandError("array access", 1132, EG_BOUND, {a, i});
    }
    return a.arr()->items[static_cast<std::size_t>(n) - 1];
  }
  void put(const Value& v) override {
    const Value& a = array_.deref();
    const Value& i = index_.deref();
    if (!a.isArray() || !i.isNumber()) {
      operandError("array assign", 1069, EG_ARG, {a, i});
      return;
    }
    double n = i.asDouble();
    if (n < 1 || n > static_cast<double>(a.arrayLen())) {
      operandError("array assign", 1133, EG_BOUND, {a, i});
      return;
    }
    a.arr()->items[static_cast<std::size_t>(n) - 1] = v.deref();
  }

 private:
  Value array_;  // holds the array alive while the element is in use
  Value index_;
};

class Index final : public LvalueNode {
 public:
  Index(NodePtr base, NodePtr index) : base_(std::move(base)), index_(std::move(index)) {}
  Value eval(Env& env) const override {
    Value a = base_->eval(env);
    return ElementPlace(std::move(a), index_->eval(env)).get();
  }
  Value withPlace(Env& env, Value (*use)(Place&, void*), void* ctx) const override {
    Value a = base_->eval(env);
    ElementPlace p(std::move(a), index_->eval(env));
    return use(p, ctx);
  }

 private:
  NodePtr base_, index_;
};

class PropertyPlace final : public Place {
 public:
  PropertyPlace(Value receiver, const Symbol* getter, const Symbol* setter)
      : receiver_(std::move(receiver)), getter_(getter), setter_(setter) {}
  Value get() override { return send(receiver_, getter_, Args()); }
  void put(const Value& v) override {
    Value arg = v.deref();
    send(receiver_, setter_, Args(&arg, 1));
  }

 private:
  Value receiver_;
  const Symbol* getter_;
  const Symbol* setter_;
};

class Send final : public LvalueNode {
 public:
  Send(NodePtr receiver, const std::string& message, std::vector<NodePtr> args, bool hasArgs)
      : receiver_(std::move(receiver)),
        getter_(getSymbol(message)),
        setter_(getSymbol("_" + message)),
        args_(std::move(args)),
        hasArgs_(hasArgs) {}
  bool isLvalue() const override { return !hasArgs_; }
  Value eval(Env& env) const override {
    Value r = receiver_->eval(env).deref();
    std::vector<Value> args;
    args.reserve(args_.size());
    for (const auto& a : args_) args.push_back(a->eval(env));
    return send(r, getter_, Args(args));
  }
  Value withPlace(Env& env, Value (*use)(Place&, void*), void* ctx) const override {
    PropertyPlace p(receiver_->eval(env).deref(), getter_, setter_);
    return use(p, ctx);
  }

 private:
  NodePtr receiver_;
  const Symbol* getter_;
  const Symbol* setter_;
  std::vector<NodePtr> args_;
  bool hasArgs_;
};

}  // namespace

NodePtr makeBinary(BinaryFn fn, NodePtr a, NodePtr b) {
  return std::make_unique<Binary>(fn, std::move(a), std::move(b));
}
NodePtr makeUnary(UnaryFn fn, NodePtr a) {
  return std::make_unique<Unary>(fn, std::move(a));
}
NodePtr makeAnd(NodePtr a, NodePtr b) {
  return std::make_unique<AndOr>(true, std::move(a), std::move(b));
}
NodePtr makeOr(NodePtr a, NodePtr b) {
  return std::make_unique<AndOr>(false, std::move(a), std::move(b));
}
NodePtr makeNot(NodePtr a) {
  return std::make_unique<Not>(std::move(a));
}
NodePtr makeAssign(NodePtr target, BinaryFn op, NodePtr rhs) {
  return std::make_unique<Assign>(std::move(target), op, std::move(rhs));
}
NodePtr makeIncDec(NodePtr target, bool increment, bool prefix) {
  return std::make_unique<IncDec>(std::move(target), increment, prefix);
}
NodePtr makeIndex(NodePtr base, NodePtr index) {
  return std::make_unique<Index>(std::move(base), std::move(index));
}
NodePtr makeSend(NodePtr receiver, std::string message, std::vector<NodePtr> args, bool hasArgs) {
  return std::make_unique<Send>(std::move(receiver), std::move(message), std::move(args), hasArgs);
}

}  // namespace kv::macro
