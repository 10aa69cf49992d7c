#include "ui/forms/application.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QUrl>
#include <QWidget>

#include "platform/process.h"
#include "runtime/lang/codeblock.h"
#include "ui/core/guierror.h"
#include "ui/core/messageloop.h"
#include "ui/core/messages.h"
#include "ui/core/text.h"
#include "ui/forms/form.h"
#include "ui/forms/screen.h"

namespace kv::ui {

namespace {

Application* g_application = nullptr;

// The process's command line, its arguments separated by blanks.
std::string commandLine() {
  QFile f(QStringLiteral("/proc/self/cmdline"));
  if (!f.open(QIODevice::ReadOnly)) return platform::executablePath();
  QByteArray bytes = f.readAll();
  if (bytes.endsWith('\0')) bytes.chop(1);
  bytes.replace('\0', ' ');
  return fromQString(QString::fromLocal8Bit(bytes));
}

void registerApplication(ClassDef* cls) {
  readOnly<Application>(cls, "CmdLine", [](Application&) { return Value(commandLine()); });
  method<Application>(cls, "CreateForm", [](Application& app, Args a) -> Value {
    app.createForm(a);
    return Value();
  });
  readOnly<Application>(cls, "ExeName",
                        [](Application&) { return Value(platform::executablePath()); });
  property<Application>(
      cls, "HelpFile", [](Application& app) { return Value(app.helpFile); },
      [](Application& app, const Value& v, Args a) { stringArg(v, app.helpFile, "_HELPFILE", a); });
  auto help = [](Application& app, Args) -> Value { return Value(app.openHelp()); };
  method<Application>(cls, "HelpContext", help);
  method<Application>(cls, "HelpIndex", help);
  method<Application>(cls, "HelpKeyword", help);
  method<Application>(cls, "Hide", [](Application& app, Args) -> Value {
    app.hideWindows();
    return Value();
  });
  method<Application>(cls, "Initialize", [](Application&, Args) -> Value { return Value(); });
  readOnly<Application>(cls, "Instance", [](Application&) { return Value(0); });
  property<Application>(
      cls, "Language", [](Application&) { return Value(messageLanguage()); },
      [](Application&, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_LANGUAGE", a)) setMessageLanguage(n & 0xFF);
      });
  readOnly<Application>(cls, "MainForm", [](Application& app) {
    Form* f = app.mainForm();
    return f ? f->language() : Value();
  });
  method<Application>(cls, "Minimize", [](Application& app, Args) -> Value {
    app.minimize();
    return Value();
  });
  method<Application>(cls, "Restore", [](Application& app, Args) -> Value {
    app.restore();
    return Value();
  });
  event<Application>(cls, "OnActivate", kOnActivate);
  event<Application>(cls, "OnDeactivate", kOnDeactivate);
  event<Application>(cls, "OnHelp", kOnHelp);
  event<Application>(cls, "OnMinimize", kOnMinimize);
  event<Application>(cls, "OnRestore", kOnRestore);
  event<Application>(cls, "OnShowHint", kOnShowHint);
  method<Application>(cls, "ProcessMessages", [](Application&, Args) -> Value {
    processMessages();
    return Value();
  });
  method<Application>(cls, "Run", [](Application& app, Args) -> Value {
    app.run();
    return Value();
  });
  method<Application>(cls, "Show", [](Application& app, Args) -> Value {
    app.showWindows();
    return Value();
  });
  method<Application>(cls, "Terminate", [](Application&, Args) -> Value {
    setTerminated(true);
    return Value();
  });
  property<Application>(
      cls, "Title", [](Application& app) { return Value(app.title); },
      [](Application& app, const Value& v, Args a) { stringArg(v, app.title, "_TITLE", a); });
  // Qt's styles are always in use, so the themed look is always on.
  readOnly<Application>(cls, "UseThemes", [](Application&) { return Value(true); });
}

LibObject* makeApplication() {
  return new Application;
}

}  // namespace

const LibClass kApplicationClass = {"TApplication", &kComponentClass, &makeApplication,
                                    &registerApplication, true};

Value TApplication() {
  return classFunction(kApplicationClass);
}

Application* application() {
  return g_application;
}

Value applicationObject() {
  return g_application ? g_application->language() : Value();
}

Application::Application() {
  g_application = this;
  if (qGuiApp) {
    stateConnection_ = QObject::connect(
        qGuiApp, &QGuiApplication::applicationStateChanged, [this](Qt::ApplicationState s) {
          if (s != Qt::ApplicationActive && s != Qt::ApplicationInactive) return;
          guarded([&] { fire(s == Qt::ApplicationActive ? kOnActivate : kOnDeactivate); });
        });
  }
}

Application::~Application() {
  QObject::disconnect(stateConnection_);
  if (g_application == this) g_application = nullptr;
}

void Application::release() {
  QObject::disconnect(stateConnection_);
  Component::release();
  if (g_application == this) g_application = nullptr;
}

Form* Application::mainForm() const {
  return mainAlive_ ? mainForm_ : nullptr;
}

void Application::setMainForm(Form* form) {
  mainForm_ = form;
  mainAlive_ = form ? form->alive() : Alive();
}

void Application::createForm(Args args) {
  const Value formObject = arg(args, 0);
  if (formObject.isNil() || argc(args) < 2 || (arg(args, 1).isNil() && !args[1].isRef())) return;
  Form* form = libraryAs<Form>(formObject);
  if (!form) {
    guiError(kGuiArgument, "CREATEFORM", args);
    return;
  }
  Alive alive = form->alive();
  const Value self = language();
  if (!form->sendThroughLanguage("Create", {self})) {
    Value owner = self;
    form->createImpl(Args(&owner, 1));
  }
  assignArg(args, 1, formObject);
  if (!alive) return;
  if (form->events().has(kOnCreate)) {
    form->events().fire(kOnCreate, self);
    if (!alive) return;
  }
  if (!mainForm()) {
    form->window();
    setMainForm(form);
  }
}

void Application::run() {
  setRunning(true);
  struct NotRunning {
    ~NotRunning() { setRunning(false); }
  } notRunning;
  Form* main = mainForm();
  if (!main) return;
  if (showMainForm_) {
    if (main->windowState() == 1) {
      restore();
    } else {
      main->setVisible(true);
      QWidget* focus = QApplication::focusWidget();
      QWidget* w = main->windowIfMade();
      if (w && (!focus || focus->window() != w)) w->activateWindow();
    }
  }
  while (!terminated()) messageStep();
}

void Application::minimize() {
  for (Form* f : screenForms()) {
    if (f->visible() && f->windowIfMade()) f->windowIfMade()->showMinimized();
  }
  fire(kOnMinimize);
}

void Application::restore() {
  for (Form* f : screenForms()) {
    QWidget* w = f->windowIfMade();
    if (!f->visible()) continue;
    if (!w) w = f->window();
    if (w && (w->isMinimized() || !w->isVisible())) w->showNormal();
  }
  fire(kOnRestore);
}

void Application::hideWindows() {
  for (Form* f : screenForms()) {
    if (f->visible() && f->windowIfMade()) f->windowIfMade()->hide();
  }
}

void Application::showWindows() {
  for (Form* f : screenForms()) {
    if (f->visible() && f->windowIfMade()) f->windowIfMade()->show();
  }
}

bool Application::openHelp() const {
  if (helpFile.empty()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(toQString(helpFile)));
}

}  // namespace kv::ui
