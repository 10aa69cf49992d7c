#pragma once
// The window library's errors. Each is raised through the runtime's error system as an error
// object of subsystem "GUI" with subcode 6000 + the library's error number and severity 2;
// its description is chosen by the message language (1 Spanish, any other value English),
// which the application object keeps. When the error block returns, the operation that
// raised the error returns without effect: the block's answer is not used.
#include <string>
#include <string_view>

#include "runtime/lang/symbols.h"

namespace kv::ui {

// The library's error numbers.
enum GuiError : int {
  kGuiArgument = 1,        // a value of the wrong kind, e.g. an event setter given a text
  kGuiBound = 2,           // an index into a library list out of range
  kGuiMenuUsed = 3,        // a menu already attached to another form
  kGuiMenuNamedUsed = 4,   // the same, naming the menu
  kGuiDuplicateName = 5,   // a second component of one name
  kGuiNoParent = 7,        // a child window control without a parent window
  kGuiNoParentNamed = 8,   // the same, naming the control
  kGuiNoMdiForm = 9,       // an MDI child while the main form is no MDI frame
  kGuiRegisterClass = 10,  // a window class the system refused
  kGuiCreateWindow = 20,   // a window the system did not make
  kGuiInvalidObject = 21,  // a message to an object without its library object
};

// The message language: 1 selects the Spanish texts, any other value the English ones. The
// library starts in English until the application sets its language.
int messageLanguage();
void setMessageLanguage(int language);
inline bool spanishTexts() {
  return messageLanguage() == 1;
}

// The description of library error n in the message language; `name` completes the texts
// that name a thing (prefix, name, suffix). Numbers without a text: "Indeterminate error.".
std::string guiErrorText(int n, std::string_view name = {});

// Raises library error n for `operation` with the operation's arguments. Returns when the
// error block returns.
void guiError(int n, std::string_view operation, Args args = {}, std::string_view name = {});

}  // namespace kv::ui
