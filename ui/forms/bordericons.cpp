#include "ui/forms/bordericons.h"

#include "ui/core/component.h"
#include "ui/core/messages.h"
#include "ui/forms/form.h"

namespace kv::ui {

namespace {

template <bool BorderIcons::*Flag>
void flag(ClassDef* cls, const char* name, const char* setter) {
  property<BorderIcons>(
      cls, name, [](BorderIcons& b) { return Value(b.*Flag); },
      [setter](BorderIcons& b, const Value& v, Args a) {
        if (!boolArg(v, b.*Flag, setter, a)) return;
        if (b.form) b.form->applyWindowStyle();
      });
}

void registerBorderIcons(ClassDef* cls) {
  flag<&BorderIcons::help>(cls, "Help", "_HELP");
  flag<&BorderIcons::maximize>(cls, "Maximize", "_MAXIMIZE");
  flag<&BorderIcons::minimize>(cls, "Minimize", "_MINIMIZE");
  flag<&BorderIcons::systemMenu>(cls, "SystemMenu", "_SYSTEMMENU");
}

LibObject* makeBorderIcons() {
  return new BorderIcons;
}

}  // namespace

LibObject* BorderIcons::ownerObject() const {
  return form;
}

const LibClass kBorderIconsClass = {"TBorderIcons", &kObjectClass, &makeBorderIcons,
                                    &registerBorderIcons};

}  // namespace kv::ui
