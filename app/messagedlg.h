#pragma once
// The message dialog the application calls for its boxes. Until the window library exists
// this is a headless stand-in: the text of a box with buttons goes to the runtime's plain
// message box (platform/msgbox.h, standard error without a window library), and a wait box
// shows nothing. The window library's MessageDlg replaces it, with the same arguments and
// results.
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

// Destroys a wait box that MessageDlg answered for type 4; nil (no box) is left alone.
void closeWaitBox(const Value& box);

}  // namespace kv::app
