#pragma once
// The message dialog the application calls for its boxes. Until the window library exists
// this is a headless stand-in that shows nothing; the window library's MessageDlg replaces
// it, with the same arguments and results.
#include "runtime/value.h"

namespace kv::app {

// MessageDlg(text, type, buttons, position, border style): the window library shows a box
// and answers the pressed button's result, or for type 4 (a wait box without buttons) the
// box object, which the caller destroys. The stand-in shows nothing and answers nil.
Value MessageDlg(const Value& text, const Value& type = Value(), const Value& buttons = Value(),
                 const Value& position = Value(), const Value& borderStyle = Value());

// Destroys a wait box that MessageDlg answered for type 4; nil (no box) is left alone.
void closeWaitBox(const Value& box);

}  // namespace kv::app
