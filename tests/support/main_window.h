#pragma once
// Shared set-up of the main window's tests: each case runs MAIN in its own empty data
// directory (Qt's offscreen platform) and checks the main form while it is shown; helpers find
// components, render property values as text and grab the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "app/core/settingsfile.h"
#include "app/fkalvedo.h"
#include "runtime/format/numfmt.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/memvars.h"
#include "runtime/lib/strings.h"
#include "support/datadir_fixture.h"
#include "support/window_program.h"
#include "ui/controls/wincontrol.h"
#include "ui/core/libobject.h"
#include "ui/forms/form.h"

namespace kvtest {

class MainWindowTest : public DataDirTest {
 protected:
  void SetUp() override {
    DataDirTest::SetUp();
    // The settings file lives in the case's own directory.
    kv::app::setSettingsDir(dir_.string());
    program_ = std::make_unique<WindowProgram>();
  }
  void TearDown() override {
    kv::app::watchFormMethods({});
    program_.reset();
    kv::app::setSettingsDir("");
    kv::releaseAllMemvars();
    DataDirTest::TearDown();
  }
  // Ends the program's run and starts the window library afresh, as a new start of the
  // program in the same directory (the tables closed, the globals gone).
  void restart() {
    kv::app::watchFormMethods({});
    program_.reset();
    kv::engine::closeAllAreas();
    kv::releaseAllMemvars();
    program_ = std::make_unique<WindowProgram>();
  }
  // Runs the program until its main form is shown, runs `check` with the form, then closes it.
  void withMainForm(const std::function<void(const kv::Value& form, kv::ui::Form& main)>& check) {
    const bool shown = program_->runMain([&](kv::ui::Form& main) {
      main.windowIfMade()->activateWindow();
      QApplication::processEvents();
      check(main.language(), main);
    });
    ASSERT_TRUE(shown);
  }

  std::unique_ptr<WindowProgram> program_;
};

inline kv::Value part(const kv::Value& form, std::string_view name) {
  return kv::send(form, name);
}

template <class T>
T* partAs(const kv::Value& form, std::string_view name) {
  return kv::ui::libraryAs<T>(part(form, name));
}

// A value as text: strings as they are, numbers as STR gives them without leading blanks,
// logicals as .T./.F., nil as NIL, arrays as {a, b}.
inline std::string render(const kv::Value& value) {
  const kv::Value& v = value.deref();
  if (v.isString()) return std::string(v.str());
  if (v.isNumber()) return std::string(kv::LTRIM(kv::STR(v)).str());
  if (v.isLogical()) return v.asBool() ? ".T." : ".F.";
  if (v.isNil()) return "NIL";
  if (v.isArray() && !v.isObject()) {
    std::string out = "{";
    for (std::size_t i = 0; i < v.arr()->items.size(); ++i) {
      if (i) out += ", ";
      out += render(v.arr()->items[i]);
    }
    return out + "}";
  }
  return kv::VALTYPE(v);
}

// A property reached through sub-objects: "Font.Name" sends Font, then Name.
inline kv::Value property(const kv::Value& obj, std::string_view path) {
  kv::Value v = obj;
  while (!path.empty()) {
    const auto dot = path.find('.');
    v = kv::send(v, path.substr(0, dot));
    path = dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
  }
  return v;
}

}  // namespace kvtest
