#include "ui/windowlibrary.h"

#include <QApplication>
#include <QEvent>

#include "runtime/lang/classes.h"
#include "runtime/lang/lifecycle.h"
#include "runtime/lang/memvars.h"
#include "ui/controls/button.h"
#include "ui/controls/image.h"
#include "ui/controls/label.h"
#include "ui/controls/panel.h"
#include "ui/controls/standardcontrols.h"
#include "ui/core/classlang.h"
#include "ui/core/eventrouter.h"
#include "ui/core/fonts.h"
#include "ui/core/guierror.h"
#include "ui/core/hintwindow.h"
#include "ui/core/libclass.h"
#include "ui/core/messageloop.h"
#include "ui/dialogs/messagedlg.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"
#include "ui/forms/screen.h"
#include "ui/grid/stringgrid.h"
#include "ui/ini/filefunctions.h"
#include "ui/menus/menu.h"
#include "ui/printer/preview.h"
#include "ui/printer/printdialog.h"
#include "ui/printer/printer.h"

namespace kv::ui {

namespace {

QApplication* g_ownApplication = nullptr;

// The class functions by name, so expressions can make library objects.
Value fnTForm(Args) {
  return TForm();
}
Value fnTApplication(Args) {
  return TApplication();
}
Value fnTScreen(Args) {
  return TScreen();
}
Value fnTPrinter(Args) {
  return TPrinter();
}
Value fnTPreview(Args) {
  return TPreview();
}
Value fnTPrintDialog(Args) {
  return TPrintDialog();
}
Value fnTLabel(Args) {
  return TLabel();
}
Value fnTButton(Args) {
  return TButton();
}
Value fnTPanel(Args) {
  return TPanel();
}
Value fnTImage(Args) {
  return TImage();
}
Value fnTStringGrid(Args) {
  return TStringGrid();
}
Value fnTMainMenu(Args) {
  return TMainMenu();
}
Value fnTPopupMenu(Args) {
  return TPopupMenu();
}

void destroyPublic(const char* name) {
  Value obj = memvarGet(name);
  if (LibObject* lib = libraryOf(obj)) lib->destroy();
  memvarPut(name, Value());
}

}  // namespace

void registerWindowLibrary() {
  registerClassDeclarations();
  registerMessageDlgFunctions();
  registerFunction("TFORM", &fnTForm);
  registerFunction("TAPPLICATION", &fnTApplication);
  registerFunction("TSCREEN", &fnTScreen);
  registerFunction("TPRINTER", &fnTPrinter);
  registerFunction("TPREVIEW", &fnTPreview);
  registerFunction("TPRINTDIALOG", &fnTPrintDialog);
  registerFunction("TLABEL", &fnTLabel);
  registerFunction("TBUTTON", &fnTButton);
  registerFunction("TPANEL", &fnTPanel);
  registerFunction("TIMAGE", &fnTImage);
  registerStandardControls();
  registerFunction("TSTRINGGRID", &fnTStringGrid);
  registerFunction("TMAINMENU", &fnTMainMenu);
  registerFunction("TPOPUPMENU", &fnTPopupMenu);
  registerIniFunctions();
  registerInitProcedure("window library", &startWindowLibrary);
  registerExitProcedure("window library", &stopWindowLibrary);
}

void startWindowLibrary() {
  if (!QApplication::instance()) {
    static int argc = 1;
    static char name[] = "kalvedo";
    static char* argv[] = {name, nullptr};
    g_ownApplication = new QApplication(argc, argv);
  }
  installFontTable();
  installEventRouter();
  resetMessageLoop();
  for (const char* name : {"Application", "Screen", "Printer"}) PUBLIC(name);
  memvarPut("Screen", send(TScreen(), "Create"));
  memvarPut("Application", send(TApplication(), "Create"));
  memvarPut("Printer", send(TPrinter(), "Create"));
}

void stopWindowLibrary() {
  destroyPublic("Application");
  destroyPublic("Printer");
  destroyPublic("Screen");
  releasePendingObjects();
  destroyAllLibraryObjects();
  destroyHintWindow();
  freeDestroyedWindows();
  resetMessageLoop();
  setMessageLanguage(0);
  if (g_ownApplication) {
    removeEventRouter();
    delete g_ownApplication;
    g_ownApplication = nullptr;
  }
}

}  // namespace kv::ui
