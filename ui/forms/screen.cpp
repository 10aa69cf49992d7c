#include "ui/forms/screen.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

#include "ui/core/messages.h"
#include "ui/forms/form.h"

namespace kv::ui {

namespace {

std::vector<Form*>& forms() {
  static std::vector<Form*> f;
  return f;
}

QScreen* primary() {
  return qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
}

void registerScreen(ClassDef* cls) {
  readOnly<Screen>(cls, "Forms", [](Screen&) {
    Value list = Value::newArray();
    for (Form* f : screenForms()) {
      if (f->hasLanguage()) list.arr()->items.push_back(f->language());
    }
    return list;
  });
  readOnly<Screen>(cls, "Height", [](Screen&) { return Value(screenHeight()); });
  readOnly<Screen>(cls, "PixelsPerInch", [](Screen&) { return Value(screenPixelsPerInch()); });
  readOnly<Screen>(cls, "Width", [](Screen&) { return Value(screenWidth()); });
}

LibObject* makeScreen() {
  return new Screen;
}

}  // namespace

const LibClass kScreenClass = {"TScreen", &kComponentClass, &makeScreen, &registerScreen, true};

Value TScreen() {
  return classFunction(kScreenClass);
}

const std::vector<Form*>& screenForms() {
  return forms();
}

void addScreenForm(Form* form) {
  if (std::find(forms().begin(), forms().end(), form) == forms().end()) forms().push_back(form);
}

void removeScreenForm(Form* form) {
  auto& f = forms();
  f.erase(std::remove(f.begin(), f.end(), form), f.end());
}

int screenWidth() {
  QScreen* s = primary();
  return s ? s->geometry().width() : 0;
}

int screenHeight() {
  QScreen* s = primary();
  return s ? s->geometry().height() : 0;
}

int screenPixelsPerInch() {
  QScreen* s = primary();
  return s ? static_cast<int>(s->logicalDotsPerInch() + 0.5) : 96;
}

}  // namespace kv::ui
