#include "runtime/lang/classes.h"

#include <algorithm>
#include <memory>

#include "runtime/error/error.h"

namespace kv {

namespace {

constexpr std::size_t kTableStep = 64;  // the class table grows by this many records
constexpr std::size_t kMaxVarName = 58;

std::vector<std::unique_ptr<ClassDef>>& table() {
  static std::vector<std::unique_ptr<ClassDef>> t;
  return t;
}

bool bySymbol(const MessageEntry& e, const Symbol* s) {
  return std::less<const Symbol*>()(e.message, s);
}

void enter(ClassDef* cls, MessageEntry entry) {
  auto& m = cls->messages;
  auto it = std::lower_bound(m.begin(), m.end(), entry.message, bySymbol);
  entry.declaringClass = cls->handle;
  if (it != m.end() && it->message == entry.message) {
    *it = std::move(entry);
  } else {
    m.insert(it, std::move(entry));
  }
}

Value deepCopy(const Value& v) {
  const Value& d = v.deref();
  ArrayData* a = d.arr();
  if (!a || a->cls) return d;
  Value copy = Value::newArray(a->items.size());
  for (std::size_t i = 0; i < a->items.size(); ++i) copy.arr()->items[i] = deepCopy(a->items[i]);
  return copy;
}

// Getter and setter of an instance-variable slot.
void enterSlotMessages(ClassDef* cls, const std::string& name, int slot, int scope) {
  MessageEntry get;
  get.message = getSymbol(name);
  get.slot = slot;
  get.scope = scope;
  get.handler = [slot](const Value& self, Args) -> Value {
    ArrayData* a = self.deref().arr();
    if (!a || static_cast<std::size_t>(slot) > a->items.size()) return Value();
    return a->items[slot - 1];
  };
  enter(cls, std::move(get));
  MessageEntry set;
  set.message = getSymbol("_" + name);
  set.slot = slot;
  set.scope = scope;
  set.handler = [slot](const Value& self, Args args) -> Value {
    ArrayData* a = self.deref().arr();
    Value v = arg(args, 0);
    if (a && static_cast<std::size_t>(slot) <= a->items.size()) a->items[slot - 1] = v;
    return v;
  };
  enter(cls, std::move(set));
}

// Getter and setter of a class-wide variable; the class outlives every message.
void enterClassVarMessages(ClassDef* cls, const std::string& name, std::size_t index, int scope) {
  MessageEntry get;
  get.message = getSymbol(name);
  get.scope = scope;
  get.handler = [cls, index](const Value&, Args) -> Value { return cls->classData[index]; };
  enter(cls, std::move(get));
  MessageEntry set;
  set.message = getSymbol("_" + name);
  set.scope = scope;
  set.handler = [cls, index](const Value&, Args args) -> Value {
    Value v = arg(args, 0);
    cls->classData[index] = v;
    return v;
  };
  enter(cls, std::move(set));
}

std::string varName(std::string_view name) {
  std::string n = upperName(name);
  if (n.size() > kMaxVarName) n.resize(kMaxVarName);
  return n;
}

// The running method, innermost first; each frame lives on the stack of dispatch().
struct RunningMethod {
  Value self;
  const ClassDef* cls;
  RunningMethod* outer;
};
RunningMethod* g_running = nullptr;

// Makes a handler's receiver and declaring class the running method for its lifetime, also
// when the handler leaves by an error, BREAK or QUIT.
class MethodScope {
 public:
  MethodScope(const Value& self, const ClassDef* cls) : frame_{self.deref(), cls, g_running} {
    g_running = &frame_;
  }
  ~MethodScope() { g_running = frame_.outer; }
  MethodScope(const MethodScope&) = delete;
  MethodScope& operator=(const MethodScope&) = delete;

 private:
  RunningMethod frame_;
};

// The classes of superclass references, one per parent class, made when first needed. They
// stay out of the class table (no name or handle lookup finds them) and live for the run.
const ClassDef* superReferenceClass(const ClassDef* parent) {
  static std::vector<std::unique_ptr<ClassDef>> made;
  for (const auto& c : made) {
    if (c->answersAs == parent) return c.get();
  }
  auto cls = std::make_unique<ClassDef>();
  cls->name = parent->name;
  cls->handle = parent->handle;
  cls->superHandle = parent->superHandle;
  cls->classId = parent->classId;
  cls->answersAs = parent;
  made.push_back(std::move(cls));
  return made.back().get();
}

Value dispatch(const Value& receiver, const ClassDef* cls, const Symbol* message, Args args) {
  if (cls && cls->answersAs) {
    // A superclass reference: the parent's message, run on the object it holds.
    ArrayData* ref = receiver.deref().arr();
    const Value self = ref && !ref->items.empty() ? ref->items[0] : Value();
    return dispatch(self, cls->answersAs, message, args);
  }
  if (cls) {
    if (const MessageEntry* e = findMessage(cls, message)) {
      if (e->scope != 0 && !scopeAllows(classOf(receiver), *e)) {
        return noMethodError(receiver, message->name, args);
      }
      MethodScope running(receiver, classByHandle(e->declaringClass));
      return e->handler(receiver, args);
    }
  }
  const std::string& name = message->name;
  if (name == "CLASSNAME") return Value(CLASSNAME(receiver));
  if (name == "CLASSH") return Value(CLASSH(receiver));
  const Value& r = receiver.deref();
  if (!cls && name == "EVAL" && r.isBlock()) return r.blk()->eval(args);
  return noMethodError(receiver, name, args);
}

}  // namespace

ClassDef* defineClass(std::string_view name, const ClassDef* parent, std::uint32_t classId) {
  auto& t = table();
  if (t.size() == t.capacity()) t.reserve(t.size() + kTableStep);
  auto cls = std::make_unique<ClassDef>();
  cls->name = upperName(name);
  cls->handle = static_cast<std::uint16_t>(t.size() + 1);
  cls->classId = classId;
  if (parent) {
    cls->superHandle = parent->handle;
    cls->messages = parent->messages;
    for (const Value& v : parent->instanceTemplate) cls->instanceTemplate.push_back(deepCopy(v));
    cls->classData = parent->classData;
    cls->postCreate = parent->postCreate;
    cls->userData = parent->userData;
  }
  t.push_back(std::move(cls));
  return t.back().get();
}

ClassDef* findClass(std::string_view name) {
  std::string key = upperName(name);
  auto& t = table();
  for (auto it = t.rbegin(); it != t.rend(); ++it) {
    if ((*it)->name == key) return it->get();
  }
  return nullptr;
}

ClassDef* classByHandle(std::uint16_t handle) {
  auto& t = table();
  if (handle == 0 || handle > t.size()) return nullptr;
  return t[handle - 1].get();
}

const ClassDef* superClass(const ClassDef* cls) {
  return cls ? classByHandle(cls->superHandle) : nullptr;
}

void addMethod(ClassDef* cls, std::string_view message, MethodFn fn, int scope) {
  MessageEntry e;
  e.message = getSymbol(message);
  e.handler = std::move(fn);
  e.scope = scope;
  enter(cls, std::move(e));
}

int addInstanceVar(ClassDef* cls, std::string_view name, const Value& init, int scope) {
  cls->instanceTemplate.push_back(init.deref());
  int slot = static_cast<int>(cls->instanceTemplate.size());
  enterSlotMessages(cls, varName(name), slot, scope);
  return slot;
}

int addClassVar(ClassDef* cls, std::string_view name, const Value& init, int scope) {
  cls->classData.push_back(init.deref());
  enterClassVarMessages(cls, varName(name), cls->classData.size() - 1, scope);
  return static_cast<int>(cls->classData.size());
}

bool scopeAllows(const ClassDef* receiverClass, const MessageEntry& entry) {
  if (entry.scope == 0) return true;
  const ClassDef* declaring = classByHandle(entry.declaringClass);
  if (!declaring || !receiverClass) return false;
  if (entry.scope == 1) return receiverClass->classId == declaring->classId;
  for (const ClassDef* c = receiverClass; c; c = superClass(c)) {
    if (c->classId == declaring->classId) return true;
  }
  return false;
}

const MessageEntry* findMessage(const ClassDef* cls, const Symbol* message) {
  if (!cls || !message) return nullptr;
  const auto& m = cls->messages;
  auto it = std::lower_bound(m.begin(), m.end(), message, bySymbol);
  return it != m.end() && it->message == message ? &*it : nullptr;
}

Value newObject(const ClassDef* cls) {
  Value obj = Value::newArray(cls->instanceTemplate.size());
  ArrayData* a = obj.arr();
  for (std::size_t i = 0; i < cls->instanceTemplate.size(); ++i) {
    a->items[i] = deepCopy(cls->instanceTemplate[i]);
  }
  a->cls = cls;
  if (cls->postCreate) cls->postCreate(obj);
  return obj;
}

const ClassDef* classOf(const Value& v) {
  ArrayData* a = v.deref().arr();
  return a ? a->cls : nullptr;
}

Value send(const Value& receiver, const Symbol* message, Args args) {
  return dispatch(receiver, classOf(receiver), message, args);
}

Value send(const Value& receiver, std::string_view message, Args args) {
  return send(receiver, getSymbol(message), args);
}

Value send(const Value& receiver, std::string_view message, std::initializer_list<Value> args) {
  std::vector<Value> a(args);
  return send(receiver, getSymbol(message), Args(a));
}

Value sendSuper(const Value& receiver, const ClassDef* context, std::string_view message,
                Args args) {
  const Symbol* sym = getSymbol(message);
  const ClassDef* parent = superClass(context);
  if (!parent) return noMethodError(receiver, sym->name, args);
  return dispatch(receiver, parent, sym, args);
}

bool answers(const Value& receiver, std::string_view message) {
  const Symbol* sym = findSymbol(message);
  if (!sym) return false;
  if (sym->name == "CLASSNAME" || sym->name == "CLASSH") return true;
  const ClassDef* cls = classOf(receiver);
  if (!cls) return sym->name == "EVAL" && receiver.deref().isBlock();
  if (cls->answersAs) cls = cls->answersAs;
  return findMessage(cls, sym) != nullptr;
}

Value runningObject() {
  return g_running ? g_running->self : Value();
}

const ClassDef* runningClass() {
  return g_running ? g_running->cls : nullptr;
}

Value superReference(const Value& receiver, const ClassDef* context) {
  const ClassDef* parent = superClass(context);
  if (!parent) return Value();
  Value ref = Value::newArray(1);
  ref.arr()->items[0] = receiver.deref();
  ref.arr()->cls = superReferenceClass(parent);
  return ref;
}

Value QSELF() {
  return runningObject();
}

Value QSUPER() {
  if (!g_running) return Value();
  return superReference(g_running->self, g_running->cls);
}

void registerClassFunctions() {
  registerFunction("QSELF", [](Args) { return QSELF(); });
  registerFunction("QSUPER", [](Args) { return QSUPER(); });
}

std::string CLASSNAME(const Value& value) {
  const Value& v = value.deref();
  if (const ClassDef* cls = classOf(v)) return cls->name;
  switch (v.kind()) {
    case Kind::Integer:
    case Kind::Double:
      return "NUMERIC";
    case Kind::Date:
      return "DATE";
    case Kind::Logical:
      return "LOGICAL";
    case Kind::Character:
    case Kind::Memo:
      return "CHARACTER";
    case Kind::Block:
      return "BLOCK";
    case Kind::Array:
      return "ARRAY";
    default:
      return "NIL";
  }
}

int CLASSH(const Value& v) {
  const ClassDef* cls = classOf(v);
  return cls ? cls->handle : 0;
}

void releaseClassValues() {
  for (auto& cls : table()) {
    for (Value& v : cls->instanceTemplate) v = Value();
    for (Value& v : cls->classData) v = Value();
  }
}

}  // namespace kv
