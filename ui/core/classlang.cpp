#include "ui/core/classlang.h"

#include <string>
#include <vector>

#include "runtime/error/error.h"
#include "ui/core/guierror.h"
#include "ui/core/libclass.h"

namespace kv::ui {

namespace {

std::vector<MethodFn>& targets() {
  static std::vector<MethodFn> t;
  return t;
}

ClassDef* classOfHandle(const Value& handle, std::string_view operation) {
  const Value& h = handle.deref();
  ClassDef* cls = h.isNumber() && h.asInt() > 0 && h.asInt() <= 0xFFFF
                      ? classByHandle(static_cast<std::uint16_t>(h.asInt()))
                      : nullptr;
  if (!cls) {
    Value given = h;
    guiError(kGuiArgument, operation, Args(&given, 1));
  }
  return cls;
}

Value fnClassDef(Args a) {
  return __CLASSDEF(arg(a, 0), arg(a, 1), arg(a, 2));
}
Value fnClassDat(Args a) {
  __CLASSDAT(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3), arg(a, 4));
  return Value();
}
Value fnClassMet(Args a) {
  __CLASSMET(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3), arg(a, 4), arg(a, 5));
  return Value();
}
Value fnClassObj(Args a) {
  return __CLASSOBJ(arg(a, 0));
}

}  // namespace

Value __CLASSDEF(const Value& name, const Value& id, const Value& superObject) {
  const Value& n = name.deref();
  const Value& i = id.deref();
  if (!n.isString() || n.str().empty() || !(i.isBlock() || i.isNumber())) return Value(0);
  std::uint32_t classId = i.isBlock() ? kProgramModule : static_cast<std::uint32_t>(i.asInt());
  const ClassDef* parent = classOf(superObject);
  ClassDef* cls = defineClass(n.str(), parent, classId);
  if (parent) setPendingObject(cls, libraryOf(superObject));
  return Value(static_cast<int>(cls->handle));
}

void __CLASSDAT(const Value& handle, const Value& kind, const Value& scope, const Value& names,
                const Value& init) {
  ClassDef* cls = classOfHandle(handle, "__CLASSDAT");
  if (!cls) return;
  const Value& list = names.deref();
  if (!list.isArray() || list.isObject()) {
    Value given = list;
    guiError(kGuiArgument, "__CLASSDAT", Args(&given, 1));
    return;
  }
  const bool classWide = kind.deref().asInt() == 1;
  const int sc = scope.deref().asInt();
  for (const Value& item : list.arr()->items) {
    const Value& nm = item.deref();
    if (!nm.isString()) continue;
    if (classWide) {
      addClassVar(cls, nm.str(), init, sc);
    } else {
      addInstanceVar(cls, nm.str(), init, sc);
    }
  }
}

void __CLASSMET(const Value& handle, const Value& kind, const Value& scope, const Value& name,
                const Value& target, const Value& function) {
  ClassDef* cls = classOfHandle(handle, "__CLASSMET");
  if (!cls) return;
  const Value& n = name.deref();
  const Value& t = target.deref();
  MethodFn body;
  if (t.isBlock()) {
    const Value& f = function.deref();
    const Symbol* sym = f.isString() ? findSymbol(f.str()) : nullptr;
    if (!sym || !sym->fn) {
      noFunctionError(f.isString() ? f.str() : std::string_view("__CLASSMET"));
      return;
    }
    NativeFn fn = sym->fn;
    body = [fn](const Value& self, Args args) -> Value {
      std::vector<Value> argv;
      argv.reserve(args.size() + 1);
      argv.push_back(self);
      argv.insert(argv.end(), args.begin(), args.end());
      return fn(Args(argv));
    };
  } else if (t.isNumber() && t.asInt() >= 1 &&
             static_cast<std::size_t>(t.asInt()) <= targets().size()) {
    body = targets()[static_cast<std::size_t>(t.asInt()) - 1];
  }
  if (!n.isString() || n.str().empty() || !body) {
    Value given[2] = {n, t};
    guiError(kGuiArgument, "__CLASSMET", Args(given, 2));
    return;
  }
  const bool answersSelf = kind.deref().asInt() == 0;
  addMethod(
      cls, upperName(n.str()),
      [body, answersSelf](const Value& self, Args args) -> Value {
        Value r = body(self, args);
        return answersSelf ? self.deref() : r;
      },
      scope.deref().asInt());
}

Value __CLASSOBJ(const Value& handle) {
  ClassDef* cls = classOfHandle(handle, "__CLASSOBJ");
  return cls ? instantiate(cls) : Value();
}

int registerMethodTarget(MethodFn fn) {
  targets().push_back(std::move(fn));
  return static_cast<int>(targets().size());
}

Value superSend(const Value& self, std::string_view message, Args args) {
  const ClassDef* context = runningClass();
  return sendSuper(self, context ? context : classOf(self), message, args);
}

Value superSend(const Value& self, std::string_view message, std::initializer_list<Value> args) {
  std::vector<Value> a(args);
  return superSend(self, message, Args(a));
}

void registerClassDeclarations() {
  registerFunction("__CLASSDEF", &fnClassDef);
  registerFunction("__CLASSDAT", &fnClassDat);
  registerFunction("__CLASSMET", &fnClassMet);
  registerFunction("__CLASSOBJ", &fnClassObj);
}

}  // namespace kv::ui
