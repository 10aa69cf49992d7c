#pragma once
// The message dialog the application calls for its boxes. The application's core sees no
// window system: the program's window part installs the window library's dialog here
// (setMessageDlg), with the same arguments and results. Until one is installed (always in
// the command-line companion) a headless stand-in answers: the text of a box with buttons
// goes to the runtime's plain message box (platform/msgbox.h, standard error without a window
// library), and a wait box shows nothing.
#include "runtime/value/value.h"

namespace kv::app {

// MessageDlg(text, type, buttons, position, border style): the window library shows a box
// and answers the pressed button's result, or for type 4 (a wait box without buttons) the
// box object, which the caller destroys. The stand-in shows types 0 to 3 (information,
// warning, error, confirmation; a missing or other type as information) with the caption
// "Information", "Warning", "Error" or "Confirmation" and answers as if the box were
// dismissed with Escape: the result of the button set's Escape button (Yes 6 for set 0, No 7
// for set 1, Ok 1 for set 2, Cancel 2 for sets 3 and 4, Ignore 5 for set 5), 2 for a box
// without buttons, as its close box gives. For type 4 it shows nothing and answers nil.
Value MessageDlg(const Value& text, const Value& type = Value(), const Value& buttons = Value(),
                 const Value& position = Value(), const Value& borderStyle = Value());

// The headless stand-in on its own, for an installed dialog that cannot show a box on screen.
Value headlessMessageDlg(const Value& text, const Value& type, const Value& buttons,
                         const Value& position, const Value& borderStyle);

// A dialog with MessageDlg's arguments and results.
using MessageDlgFn = Value (*)(const Value& text, const Value& type, const Value& buttons,
                               const Value& position, const Value& borderStyle);
// Installs the dialog MessageDlg hands every call to; null puts the headless stand-in back.
void setMessageDlg(MessageDlgFn dialog);

// Destroys a wait box that MessageDlg answered for type 4; nil (no box) is left alone.
void closeWaitBox(const Value& box);

// A wait box (MessageDlg type 4 with `text`) for the life of a scope: shown when made and
// destroyed on every way out of the scope, an error's unwinding included.
class WaitBox {
 public:
  explicit WaitBox(const char* text) : box_(MessageDlg(Value(text), Value(4))) {}
  ~WaitBox() { closeWaitBox(box_); }
  WaitBox(const WaitBox&) = delete;
  WaitBox& operator=(const WaitBox&) = delete;

 private:
  Value box_;
};

}  // namespace kv::app
