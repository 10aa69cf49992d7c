#pragma once
// Running the program's start procedure inside a test (Qt's offscreen platform, a QApplication
// made by the test's main): WindowProgram starts the window library as the program's start-up
// does and ends it afterwards; runMain() runs MAIN until its message loop shows the main form,
// runs a check while the form is up, and then closes the form's window as its close box does,
// so MAIN returns with the tables still open (the end sequence is not run).
#include <gtest/gtest.h>

#include <QObject>
#include <QTimer>
#include <QWidget>

#include <functional>

#include "app/kalvedo.h"
#include "app/windowdialogs.h"
#include "ui/core/messageloop.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"
#include "ui/windowlibrary.h"

namespace kvtest {

class WindowProgram {
 public:
  WindowProgram() {
    static bool registered = false;
    if (!registered) kv::ui::registerWindowLibrary();
    registered = true;
    kv::ui::startWindowLibrary();
  }
  ~WindowProgram() {
    kv::app::removeWindowDialogs();
    kv::ui::stopWindowLibrary();
  }
  WindowProgram(const WindowProgram&) = delete;
  WindowProgram& operator=(const WindowProgram&) = delete;

  // Answers whether the main form was shown; a form not closed in time fails the test.
  bool runMain(const std::function<void(kv::ui::Form&)>& whileShown = {}) {
    QObject context;  // ends the timers below when this function returns
    bool shown = false;
    std::function<void()> poll = [&] {
      QTimer::singleShot(20, &context, [&] {
        kv::ui::Application* app = kv::ui::application();
        kv::ui::Form* main = app ? app->mainForm() : nullptr;
        QWidget* window = main ? main->windowIfMade() : nullptr;
        if (!kv::ui::running() || !window || !window->isVisible()) return poll();
        shown = true;
        if (whileShown) whileShown(*main);
        window->close();
      });
    };
    poll();
    QTimer::singleShot(15000, &context, [] {
      ADD_FAILURE() << "the main window was not closed in time";
      kv::ui::setTerminated(true);
    });
    kv::app::MAIN();
    return shown;
  }
};

}  // namespace kvtest
