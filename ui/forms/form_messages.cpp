// The messages of TForm, in the library's registration order (after those of TWinControl).
#include "ui/core/messages.h"
#include "ui/forms/bordericons.h"
#include "ui/forms/form.h"
#include "ui/menus/menu.h"

namespace kv::ui {

namespace {

template <Form::Limit Which>
void limit(ClassDef* cls, const char* name, const char* setter) {
  property<Form>(
      cls, name, [](Form& f) { return Value(f.limit(Which)); },
      [setter](Form& f, const Value& v, Args a) {
        int n;
        if (intArg(v, n, setter, a)) f.setLimit(Which, n);
      });
}

}  // namespace

void registerFormMessages(ClassDef* cls) {
  readOnly<Form>(cls, "ActiveControl", [](Form& f) {
    WinControl* c = f.activeControl();
    return c ? c->language() : Value();
  });
  readOnly<Form>(cls, "BorderIcons", [](Form& f) { return f.borderIconsObject(); });
  property<Form>(
      cls, "BorderStyle", [](Form& f) { return Value(f.borderStyle()); },
      [](Form& f, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_BORDERSTYLE", a)) f.setBorderStyle(n);
      });
  method<Form>(cls, "Close", [](Form& f, Args) -> Value {
    f.close();
    return Value();
  });
  addMethod(cls, "Create", [](const Value& self, Args args) -> Value {
    if (LibObject* lib = libraryOf(self)) lib->createImpl(args);
    return self;
  });
  property<Form>(
      cls, "FormStyle", [](Form& f) { return Value(f.formStyle()); },
      [](Form& f, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_FORMSTYLE", a)) f.setFormStyle(n);
      });
  method<Form>(cls, "Hide", [](Form& f, Args) -> Value {
    f.setVisible(false);
    return Value();
  });
  readOnly<Form>(cls, "Icon", [](Form& f) { return f.iconObject(); });
  limit<Form::kMaxHeight>(cls, "MaxHeight", "_MAXHEIGHT");
  limit<Form::kMaxWidth>(cls, "MaxWidth", "_MAXWIDTH");
  property<Form>(
      cls, "Menu", [](Form& f) { return f.menu; },
      [](Form& f, const Value& v, Args a) { setFormMenu(f, v, a); });
  limit<Form::kMinHeight>(cls, "MinHeight", "_MINHEIGHT");
  limit<Form::kMinLeft>(cls, "MinLeft", "_MINLEFT");
  limit<Form::kMinTop>(cls, "MinTop", "_MINTOP");
  limit<Form::kMinWidth>(cls, "MinWidth", "_MINWIDTH");
  property<Form>(
      cls, "ModalResult", [](Form& f) { return Value(f.modalResult()); },
      [](Form& f, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_MODALRESULT", a)) f.setModalResult(n & 0xFF);
      });
  event<Form>(cls, "OnClose", kOnClose);
  event<Form>(cls, "OnCloseQuery", kOnCloseQuery);
  event<Form>(cls, "OnCreate", kOnCreate);
  event<Form>(cls, "OnDestroy", kOnDestroy);
  event<Form>(cls, "OnHelp", kOnHelp);
  event<Form>(cls, "OnHide", kOnHide);
  event<Form>(cls, "OnShow", kOnShow);
  property<Form>(
      cls, "Position", [](Form& f) { return Value(f.position); },
      [](Form& f, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_POSITION", a)) f.position = n;
      });
  method<Form>(cls, "Show", [](Form& f, Args) -> Value {
    f.setVisible(true);
    return Value();
  });
  property<Form>(
      cls, "ShowInTaskBar", [](Form& f) { return Value(f.showInTaskBar); },
      [](Form& f, const Value& v, Args a) { boolArg(v, f.showInTaskBar, "_SHOWINTASKBAR", a); });
  method<Form>(cls, "ShowModal", [](Form& f, Args) -> Value {
    f.showModal();
    return Value();
  });
  property<Form>(
      cls, "WindowState", [](Form& f) { return Value(f.windowState()); },
      [](Form& f, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_WINDOWSTATE", a)) f.setWindowState(n);
      });
}

}  // namespace kv::ui
