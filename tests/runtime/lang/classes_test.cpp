#include "runtime/lang/classes.h"

#include <gtest/gtest.h>

#include "runtime/error/error.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/lifecycle.h"
#include "runtime/macro/macro.h"

using namespace kv;

namespace {

// A small hierarchy as the window library and the application build it: a library class with
// a property, and an application class that inherits it, overrides a method and adds its
// own component variable.
struct Hierarchy {
  ClassDef* control;
  ClassDef* form;
  Hierarchy() {
    control = defineClass("TTestControl");
    addInstanceVar(control, "Caption", Value(""));
    addInstanceVar(control, "Tags", Value::newArray(2));
    addMethod(control, "Describe", [](const Value& self, Args) {
      return Value("control " + std::string(send(self, "Caption").str()));
    });
    addMethod(control, "Create", [](const Value& self, Args args) {
      send(self, "_Caption", {arg(args, 0)});
      return self;
    });
    form = defineClass("TTestForm", control);
    addInstanceVar(form, "gbNalog");
    addMethod(form, "Describe", [this](const Value& self, Args args) {
      return Value("form over " + std::string(sendSuper(self, form, "Describe", args).str()));
    });
  }
};

Hierarchy& hierarchy() {
  static Hierarchy h;
  return h;
}

}  // namespace

TEST(Classes, ObjectsAnswerOwnAndInheritedMessages) {
  Hierarchy& h = hierarchy();
  Value f = newObject(h.form);
  EXPECT_EQ(VALTYPE(f), std::string("O"));
  EXPECT_TRUE(send(f, "gbNalog").isNil());  // a component variable reads NIL until set
  send(f, "Create", {Value("Kalvedo")});
  EXPECT_EQ(send(f, "caption").str(), "Kalvedo");  // messages are case-insensitive
  EXPECT_EQ(send(f, "Describe").str(), "form over control Kalvedo");
  send(f, "_gbNalog", {Value(7)});
  EXPECT_EQ(send(f, "GBNALOG").asInt(), 7);
  EXPECT_EQ(send(newObject(h.control), "Describe").str(), "control ");
}

TEST(Classes, InstancesNeverShareArraysOfTheTemplate) {
  Hierarchy& h = hierarchy();
  Value a = newObject(h.form);
  Value b = newObject(h.form);
  send(a, "Tags").arr()->items[0] = Value("x");
  EXPECT_TRUE(send(b, "Tags").arr()->items[0].isNil());
}

TEST(Classes, ClassNameAndHandleOfAnyValue) {
  Hierarchy& h = hierarchy();
  Value f = newObject(h.form);
  EXPECT_EQ(send(f, "CLASSNAME").str(), "TTESTFORM");
  EXPECT_EQ(send(f, "CLASSH").asInt(), h.form->handle);
  EXPECT_EQ(classByHandle(h.form->handle), h.form);
  EXPECT_EQ(superClass(h.form), h.control);
  EXPECT_EQ(findClass("ttestform"), h.form);
  struct Case {
    Value v;
    const char* name;
  } cases[] = {{Value(1), "NUMERIC"},
               {Value::date(5), "DATE"},
               {Value(true), "LOGICAL"},
               {Value("x"), "CHARACTER"},
               {Value::newArray(), "ARRAY"},
               {Value(), "NIL"},
               {makeBlock([](Args) { return Value(); }), "BLOCK"}};
  for (const auto& c : cases) {
    EXPECT_EQ(send(c.v, "CLASSNAME").str(), c.name);
    EXPECT_EQ(send(c.v, "CLASSH").asInt(), 0);
  }
  Value block = makeBlock([](Args args) { return Value(arg(args, 0).asInt() * 2); }, 1);
  EXPECT_EQ(send(block, "EVAL", {Value(21)}).asInt(), 42);
}

TEST(Classes, UnknownMessageRaisesNoMethodError) {
  Hierarchy& h = hierarchy();
  Value seen;
  ERRORBLOCK(makeBlock([&seen](Args args) {
    seen = arg(args, 0);
    return Value("substitute");
  }));
  Value f = newObject(h.form);
  Value r = send(f, "Fly", {Value(3)});
  EXPECT_EQ(r.str(), "substitute");
  EXPECT_EQ(send(seen, "GENCODE").asInt(), EG_NOMETHOD);
  EXPECT_EQ(send(seen, "SUBCODE").asInt(), 1004);
  EXPECT_EQ(send(seen, "OPERATION").str(), "FLY");
  EXPECT_EQ(send(seen, "DESCRIPTION").str(), "No existe el m\xE9todo");
  Value args = send(seen, "ARGS");
  ASSERT_EQ(args.arrayLen(), 2u);
  EXPECT_EQ(classOf(args.arr()->items[0]), h.form);
  EXPECT_EQ(args.arr()->items[1].asInt(), 3);
  EXPECT_EQ(send(Value(5), "EVAL").str(), "substitute");  // only blocks answer EVAL
  EXPECT_FALSE(answers(f, "Fly"));
  EXPECT_TRUE(answers(f, "Describe"));
  resetErrorSystem();
}

namespace {

Value evalText(const char* text) {
  return EVAL(compileExpression(text).block);
}

// Three generations, each overriding WHO through its superclass reference.
struct Generations {
  ClassDef* base;
  ClassDef* mid;
  ClassDef* top;
  Generations() {
    base = defineClass("TQBASE");
    addMethod(base, "Who", [](const Value&, Args) { return Value("base"); });
    addMethod(base, "Me", [](const Value&, Args) { return evalText("QSELF()"); });
    addMethod(base, "Up", [](const Value&, Args) { return evalText("QSUPER()"); });
    // Runs a message of another object, then answers who is running again.
    addMethod(base, "Visit", [](const Value&, Args args) {
      send(arg(args, 0), "Me");
      return QSELF();
    });
    addMethod(base, "Fail", [](const Value&, Args) -> Value { throw 7; });
    mid = defineClass("TQMID", base);
    addMethod(mid, "Who", [](const Value&, Args) { return evalText("'mid/' + QSUPER():Who()"); });
    top = defineClass("TQTOP", mid);
    addMethod(top, "Who", [](const Value&, Args) { return evalText("'top/' + QSUPER():Who()"); });
    addMethod(top, "Up", [](const Value&, Args) { return QSUPER(); });
  }
};

}  // namespace

TEST(Classes, RunningMethodAnswersSelfAndSuper) {
  registerClassFunctions();
  static Generations g;
  Value top = newObject(g.top);
  Value other = newObject(g.mid);
  // Each override reaches the one above the class that declares it, not the receiver's.
  EXPECT_EQ(send(top, "Who").str(), "top/mid/base");
  EXPECT_EQ(send(other, "Who").str(), "mid/base");
  EXPECT_EQ(send(top, "Me").arr(), top.arr());
  EXPECT_EQ(send(top, "Visit", {other}).arr(), top.arr());

  const Value up = send(top, "Up");
  EXPECT_EQ(VALTYPE(up), std::string("O"));
  EXPECT_EQ(CLASSNAME(up), "TQMID");
  EXPECT_EQ(CLASSH(up), g.mid->handle);
  EXPECT_TRUE(answers(up, "Who"));
  EXPECT_EQ(send(up, "Who").str(), "mid/base");  // the parent's method on the same object
  EXPECT_EQ(send(up, "Me").arr(), top.arr());
  EXPECT_EQ(send(up, "CLASSNAME").str(), "TQTOP");  // the object's own answer
  EXPECT_EQ(findClass("TQMID"), g.mid);             // references stay out of the table
  // The root class has no superclass; outside every method there is no running object.
  EXPECT_TRUE(send(newObject(g.base), "Up").isNil());
  EXPECT_TRUE(QSELF().isNil());
  EXPECT_TRUE(QSUPER().isNil());
  EXPECT_THROW(send(top, "Fail"), int);
  EXPECT_TRUE(QSELF().isNil());  // a method that unwinds stops running
}

TEST(Classes, RestrictedScopesLookAtTheReceiversClassIds) {
  ClassDef* base = defineClass("TScopeBase", nullptr, 7);
  addInstanceVar(base, "Own", Value(1), 1);
  addInstanceVar(base, "Family", Value(2), 2);
  ClassDef* derived = defineClass("TScopeDerived", base, 8);
  int raised = 0;
  ERRORBLOCK(makeBlock([&raised](Args) {
    ++raised;
    return Value();
  }));
  Value b = newObject(base);
  Value d = newObject(derived);
  EXPECT_EQ(send(b, "Own").asInt(), 1);     // scope 1: the receiver's class declared it
  EXPECT_EQ(send(b, "Family").asInt(), 2);  // scope 2: ... or a class above it
  EXPECT_EQ(send(d, "Family").asInt(), 2);
  EXPECT_EQ(raised, 0);
  EXPECT_TRUE(send(d, "Own").isNil());  // another module's subclass: no such method
  EXPECT_TRUE(send(d, "_Own", {Value(5)}).isNil());
  EXPECT_EQ(raised, 2);
  resetErrorSystem();
}
