// The program as `kalvedo` runs it, closed by its user: once the message loop runs and the main
// form is on screen, the probe prints the application's title and the form's caption and then
// sends the form's window a close request, as its close box does.
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <string>

#include "app/kalvedo.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/lifecycle.h"
#include "ui/core/messageloop.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"

namespace {

void closeWhenShown() {
  QTimer::singleShot(50, [] {
    kv::ui::Application* app = kv::ui::application();
    kv::ui::Form* main = app ? app->mainForm() : nullptr;
    QWidget* window = main ? main->windowIfMade() : nullptr;
    if (!kv::ui::running() || !window || !window->isVisible()) {
      closeWhenShown();
      return;
    }
    std::printf("title: %s\ncaption: %s\n", app->title.c_str(),
                std::string(kv::send(main->language(), "Caption").str()).c_str());
    std::fflush(stdout);
    window->close();
  });
}

}  // namespace

int main() {
  // Registered before the program's modules, so it runs after the window library's start-up.
  kv::registerInitProcedure("close probe", &closeWhenShown);
  return kv::app::runKalvedo();
}
