#pragma once
// The application object (the public Application; TApplication() answers the same object on
// every call). It keeps the title, the message language (1 Spanish, any other English), the
// main form (the first form made by CreateForm) and the application events, and runs the
// message loop:
//
// CreateForm(oForm, @var): sends Create with the application as owner to the form's language
// object (so the application class's own Create runs), stores the form into the variable,
// runs the form's OnCreate with the application object as its one argument, and makes the
// first such form the main form (its window is made now; Run shows it).
//
// Run: with a main form, shows it (restores the application when the main form is minimised)
// and gives it the focus, then repeats message steps until the terminated flag is set (by
// Terminate, or by the quit message that closing the main form posts).
#include <string>

#include "ui/core/component.h"

namespace kv::ui {

class Form;

class Application : public Component {
 public:
  Application();
  ~Application() override;

  std::string title;
  std::string helpFile;

  Form* mainForm() const;
  void setMainForm(Form* form);

  void createForm(Args args);
  void run();
  void minimize();
  void restore();
  // Hides (shows again) the windows of the visible forms.
  void hideWindows();
  void showWindows();
  // Opens the help file with the desktop's viewer; false when there is none to open.
  bool openHelp() const;

 protected:
  void release() override;

 private:
  Form* mainForm_ = nullptr;
  Alive mainAlive_;
  bool showMainForm_ = true;  // set when the application is made; nothing clears it
  QMetaObject::Connection stateConnection_;
};

// The application object while it exists, else null.
Application* application();
// Its language object (nil when there is none).
Value applicationObject();

extern const LibClass kApplicationClass;
Value TApplication();

}  // namespace kv::ui
