// The class runtime: application classes declared on library classes, the pairing of library
// and language objects, events held as blocks, ownership and the library's errors.
#include "uitest.h"

#include <QWidget>

#include "ui/controls/button.h"
#include "ui/controls/label.h"
#include "ui/controls/panel.h"
#include "ui/core/classlang.h"
#include "ui/core/guierror.h"
#include "ui/core/libclass.h"
#include "ui/core/property.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"

using namespace kv;
using namespace kv::ui;
using namespace kv::ui::test;

namespace {

Value names(std::initializer_list<const char*> list) {
  Value a = Value::newArray();
  for (const char* n : list) a.arr()->items.push_back(Value(n));
  return a;
}

// Declares an application class on the class of `superObject` with one method target.
Value declare(const char* name, const Value& superObject) {
  return __CLASSDEF(Value(name), makeBlock([](Args) { return Value(); }), superObject);
}

void method(const Value& handle, const char* name, int kind, MethodFn fn) {
  __CLASSMET(handle, Value(kind), Value(0), Value(name),
             Value(registerMethodTarget(std::move(fn))));
}

class ClassRuntime : public UiTest {};

}  // namespace

TEST_F(ClassRuntime, EventSettersHoldBlocksClearOnNilAndRefuseOtherValues) {
  Value form = created(&TForm, applicationObject());
  Value block = makeBlock([](Args) { return Value(); });
  struct Case {
    Value given;
    bool holds;
    bool raises;
  } cases[] = {{block, true, false}, {Value(), false, false}, {Value("Handler"), false, true}};
  for (const Case& c : cases) {
    send(form, "_OnClick", {block});
    raised.clear();
    send(form, "_OnClick", {c.given});
    EXPECT_EQ(send(form, "OnClick").isBlock(), c.holds);
    ASSERT_EQ(raised.size(), c.raises ? 1u : 0u);
    if (c.raises) {
      EXPECT_EQ(raised[0].subCode, 6001);
      EXPECT_EQ(raised[0].subsystem, "GUI");
      EXPECT_EQ(raised[0].genCode, EG_ARG);
      EXPECT_EQ(raised[0].description, "Error de argumento");
      EXPECT_EQ(raised[0].operation, "_ONCLICK");
    }
  }
}

TEST_F(ClassRuntime, LibraryErrorTextsFollowTheLanguage) {
  struct Case {
    int n;
    const char* name;
    const char* english;
    const char* spanish;
  } cases[] = {
      {3, "", "The menu is used by other form.", "El men\xFA ya est\xE1 usado en otro formulario."},
      {4, "mm", "The menu 'mm ' is used by other form.",
       "El men\xFA 'mm ' ya est\xE1 usado en otro formulario."},
      {5, "b1", "Already exists a component named 'b1 '", "Ya existe un componente llamado 'b1 '"},
      {7, "", "The control don't have parent window.", "El control no tiene ventana padre."},
      {9, "", "No MDI forms are currently active.", "No hay formularios MDI activos."},
      {20, "Edit", "Cannot create window from class 'Edit '.",
       "No se puede crear la ventana de la clase 'Edit '."},
      {21, "", "It is not a valid object.", "No es un objeto v\xE1lido."},
      {2, "", "Error de rango", "Error de rango"},
      {77, "", "Indeterminate error.", "Error indeterminado."},
  };
  Value app = applicationObject();
  for (const Case& c : cases) {
    send(app, "_Language", {Value(2)});
    EXPECT_EQ(guiErrorText(c.n, c.name), c.english) << c.n;
    send(app, "_Language", {Value(1)});
    EXPECT_EQ(guiErrorText(c.n, c.name), c.spanish) << c.n;
  }
  EXPECT_EQ(send(app, "Language").asInt(), 1);
}

TEST_F(ClassRuntime, ApplicationClassAnswersFormMessagesAndItsOwn) {
  Value h = declare("TFProbe", TForm());
  ASSERT_GT(h.asInt(), 0);
  __CLASSDAT(h, Value(0), Value(0), names({"gbNalog", "aRows"}), Value::newArray(2));
  __CLASSDAT(h, Value(0), Value(0), names({"gbKorisnik"}));
  method(h, "Create", 0, [](const Value& self, Args a) {
    superSend(self, "Create", a);
    send(self, "_Caption", {Value("Probe")});
    return Value("ignored: kind 0 answers the object");
  });
  method(h, "Twice", 1, [](const Value&, Args a) { return Value(arg(a, 0).asInt() * 2); });

  // The first instance takes the library object made when the class was declared.
  Value first = __CLASSOBJ(h);
  Value second = __CLASSOBJ(h);
  ASSERT_NE(libraryOf(first), nullptr);
  ASSERT_NE(libraryOf(second), nullptr);
  EXPECT_NE(libraryOf(first), libraryOf(second));

  Value created = send(first, "Create", {applicationObject()});
  EXPECT_EQ(classOf(created), classOf(first));
  EXPECT_EQ(send(first, "Caption").str(), "Probe");
  EXPECT_EQ(send(first, "Width").asInt(), 320);  // a message of TForm
  EXPECT_EQ(send(first, "Twice", {Value(21)}).asInt(), 42);
  EXPECT_TRUE(send(first, "gbKorisnik").isNil());  // a component variable reads NIL until set
  send(first, "_gbKorisnik", {Value(7)});
  EXPECT_EQ(send(first, "GBKORISNIK").asInt(), 7);

  // Separate instance arrays, also for array-valued initial values.
  send(first, "aRows").arr()->items[0] = Value("x");
  EXPECT_TRUE(send(second, "aRows").arr()->items[0].isNil());
  EXPECT_NE(send(first, "gbNalog").arr(), send(second, "gbNalog").arr());

  EXPECT_EQ(CLASSNAME(first), "TFPROBE");
  EXPECT_EQ(send(first, "CLASSNAME").str(), "TFPROBE");
  EXPECT_EQ(send(first, "CLASSH").asInt(), h.asInt());
  EXPECT_EQ(send(Value(5), "CLASSH").asInt(), 0);
  EXPECT_TRUE(raised.empty());
  send(second, "Destroy");
}

TEST_F(ClassRuntime, DeclarationsRefuseWhatTheyCannotUse) {
  EXPECT_EQ(__CLASSDEF(Value(), Value(1)).asInt(), 0);
  EXPECT_EQ(__CLASSDEF(Value("TNoId"), Value("id")).asInt(), 0);
  EXPECT_TRUE(raised.empty());
  __CLASSDAT(Value(60000), Value(0), Value(0), names({"x"}));
  EXPECT_TRUE(__CLASSOBJ(Value("not a handle")).isNil());
  ASSERT_EQ(raised.size(), 2u);
  EXPECT_EQ(raised[0].subCode, 6001);
  EXPECT_EQ(raised[1].operation, "__CLASSOBJ");
}

TEST_F(ClassRuntime, MethodsFoundByNameReceiveSelfFirst) {
  registerFunction("TFNAMED:DESCRIBE", [](Args a) -> Value {
    return Value(std::string(send(arg(a, 0), "Caption").str()) + "/" +
                 std::to_string(arg(a, 1).asInt()));
  });
  Value h = declare("TFNamed", TForm());
  __CLASSMET(h, Value(1), Value(0), Value("Describe"), makeBlock([](Args) { return Value(); }),
             Value("TFNAMED:DESCRIBE"));
  Value obj = __CLASSOBJ(h);
  send(obj, "_Caption", {Value("Kalvedo")});
  EXPECT_EQ(send(obj, "Describe", {Value(3)}).str(), "Kalvedo/3");
  __CLASSMET(h, Value(1), Value(0), Value("Missing"), makeBlock([](Args) { return Value(); }),
             Value("TFNAMED:MISSING"));
  ASSERT_EQ(raised.size(), 1u);
  EXPECT_EQ(raised[0].genCode, EG_NOFUNC);
  send(obj, "Destroy");
}

TEST_F(ClassRuntime, SecondDestroyRaisesNotAValidObject) {
  Value form = created(&TForm, applicationObject());
  Value button = created(&TButton, form);
  send(button, "Destroy");
  EXPECT_TRUE(raised.empty());
  EXPECT_EQ(libraryOf(button), nullptr);
  send(button, "Destroy");
  ASSERT_EQ(raised.size(), 1u);
  EXPECT_EQ(raised[0].subCode, 6021);
  EXPECT_EQ(raised[0].description, "It is not a valid object.");
  send(button, "Caption");  // any message to the empty shell
  ASSERT_EQ(raised.size(), 2u);
  EXPECT_EQ(raised[1].subCode, 6021);
  send(form, "Destroy");
}

TEST_F(ClassRuntime, SetBoundsOverrideRunsWhenTheLibraryMovesTheControl) {
  std::vector<std::vector<int>> calls;
  Value h = declare("TFMoved", TForm());
  method(h, "SetBounds", 1, [&calls](const Value& self, Args a) {
    calls.push_back({arg(a, 0).asInt(), arg(a, 1).asInt(), arg(a, 2).asInt(), arg(a, 3).asInt()});
    return superSend(self, "SetBounds", a);
  });
  Value form = __CLASSOBJ(h);
  send(form, "Create", {applicationObject()});
  send(form, "SetSize", {Value(400), Value(300)});
  send(form, "_Left", {Value(5)});
  send(form, "_Position", {Value(4)});
  send(form, "Show");  // centring on the 800 x 800 offscreen screen moves it
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0], (std::vector<int>{0, 0, 400, 300}));
  EXPECT_EQ(calls[1], (std::vector<int>{5, 0, 400, 300}));
  EXPECT_EQ(calls[2], (std::vector<int>{200, 250, 400, 300}));
  EXPECT_EQ(send(form, "Left").asInt(), 200);
  send(form, "Destroy");
}

TEST_F(ClassRuntime, DestroyingAFormDestroysItsComponentsFirstToLastThroughOverrides) {
  std::vector<std::string> order;
  auto recorded = [&order](const char* className, const Value& superObject) {
    Value h = declare(className, superObject);
    method(h, "Destroy", 1, [&order](const Value& self, Args a) {
      order.push_back(std::string(send(self, "Caption").str()));
      return superSend(self, "Destroy", a);
    });
    return h;
  };
  Value formClass = recorded("TFOrder", TForm());
  Value panelClass = recorded("TOrderPanel", TPanel());
  Value buttonClass = recorded("TOrderButton", TButton());
  Value labelClass = recorded("TOrderLabel", TLabel());

  auto make = [](const Value& cls, const Value& owner, const char* caption) {
    Value obj = __CLASSOBJ(cls);
    send(obj, "Create", {owner});
    send(obj, "_Caption", {Value(caption)});
    return obj;
  };
  Value form = make(formClass, applicationObject(), "form");
  Value panel = make(panelClass, form, "panel");
  Value label = make(labelClass, panel, "label");
  Value button1 = make(buttonClass, panel, "button1");
  Value button2 = make(buttonClass, form, "button2");
  ASSERT_NE(libraryAs<WinControl>(label)->windowIfMade(), nullptr);
  EXPECT_EQ(libraryAs<WinControl>(label)->windowIfMade()->parentWidget(),
            libraryAs<WinControl>(panel)->windowIfMade());

  send(form, "Destroy");
  EXPECT_EQ(order, (std::vector<std::string>{"form", "panel", "label", "button1", "button2"}));
  for (const Value& v : {form, panel, label, button1, button2}) EXPECT_EQ(libraryOf(v), nullptr);
  // The first instances took the library objects made at the declarations; what is left are
  // the library's globals Screen, Application and Printer.
  EXPECT_EQ(liveLibraryObjects(), 3u);
  EXPECT_TRUE(raised.empty());
}

TEST_F(ClassRuntime, AnOwnedComponentWhoseDestroyDoesNotRunTheLibrarysIsStillDestroyed) {
  Value h = declare("TStubborn", TButton());
  int asked = 0;
  method(h, "Destroy", 1, [&asked](const Value&, Args) {
    ++asked;
    return Value();  // never reaches the library's destruction
  });
  Value form = created(&TForm, applicationObject());
  Value button = __CLASSOBJ(h);
  send(button, "Create", {form});
  send(form, "Destroy");
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(libraryOf(button), nullptr);  // its owner destroyed it all the same
  EXPECT_EQ(liveLibraryObjects(), 3u);
}

TEST_F(ClassRuntime, ControlWithoutAParentWindowRaises6007) {
  Value button = created(&TButton, applicationObject());
  ASSERT_EQ(raised.size(), 1u);
  EXPECT_EQ(raised[0].subCode, 6007);
  EXPECT_EQ(libraryAs<WinControl>(button)->windowIfMade(), nullptr);
  send(button, "Destroy");
}

TEST_F(ClassRuntime, PropertiesForwardToMethodsAndSlotsWithinTheirScopes) {
  ClassDef* cls = defineClass("TPropProbe", nullptr, 9);
  addInstanceVar(cls, "nStored", Value(1));
  addMethod(cls, "Doubled",
            [](const Value& self, Args) { return Value(send(self, "nStored").asInt() * 2); });
  addProperty(cls, "Twice", {kPropertyMethod, "Doubled"}, {});
  addProperty(cls, "Stored", {kPropertySlot, "nStored"}, {kPropertySlot, "nStored"});
  addProperty(cls, "Hidden", {kPropertySlot, "nStored"}, {}, 1);
  ClassDef* other = defineClass("TPropOther", cls, 10);
  Value obj = newObject(cls);
  send(obj, "_Stored", {Value(4)});
  EXPECT_EQ(send(obj, "Stored").asInt(), 4);
  EXPECT_EQ(send(obj, "Twice").asInt(), 8);
  EXPECT_EQ(send(obj, "Hidden").asInt(), 4);
  EXPECT_TRUE(raised.empty());
  send(obj, "_Twice", {Value(1)});  // no write target: read-only
  ASSERT_EQ(raised.size(), 1u);
  EXPECT_EQ(raised[0].genCode, EG_READONLY);
  Value sub = newObject(other);
  EXPECT_EQ(send(sub, "Stored").asInt(), 1);
  send(sub, "Hidden");  // scope 1: another module's class does not see it
  ASSERT_EQ(raised.size(), 2u);
  EXPECT_EQ(raised[1].genCode, EG_NOMETHOD);
}
