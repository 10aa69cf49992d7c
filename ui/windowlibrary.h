#pragma once
// The window library's place in the program's life (runtime/lang/lifecycle.h).
//
// Start-up procedure: makes the QApplication when there is none (the caller has made sure a
// display, or Qt's offscreen platform, is there), enters the font table, installs the event
// router, then declares the publics Application, Screen and Printer and fills them, in this
// order, with TScreen():Create(), TApplication():Create() and TPrinter():Create().
//
// Exit procedure: destroys Application (and with it every form it owns), Printer and Screen,
// in this order, then whatever library objects are left; frees their windows and, when the
// library made it, the QApplication. The runtime's end sequence then closes the tables.
namespace kv::ui {

// Registers the start-up and exit procedures and the library's functions by name (the class
// runtime's functions, the class functions, MESSAGEDLG, the settings-file class and the
// file-name and program functions).
void registerWindowLibrary();

void startWindowLibrary();
void stopWindowLibrary();

}  // namespace kv::ui
