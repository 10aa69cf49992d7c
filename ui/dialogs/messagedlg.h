#pragma once
// The message dialog. MessageDlg(cText, nType, nButtons, nPosition, nBorderStyle) makes a form
// with a panel, a label at (54, 17) holding the text (it sizes itself to it), a standard icon
// at (10, 10) and three buttons, shows it and answers the pressed button's modal result.
//
//   type  caption (English / Spanish)        icon         border style
//   0     "Information" / "Información"      information  nBorderStyle, default 3
//   1     "Warning" / "Aviso"                exclamation
//   2     "Error" / "Error"                  stop
//   3     "Confirmation" / "Confirmación"    question
//   4     no caption                         information  0, the panel filling the form
//
//   buttons  captions, left to right          results   Escape
//   0        &Yes                             6         Yes
//   1        &Yes &No                         6 7       No
//   2        &Ok                              1         Ok
//   3        &Ok &Cancel                      1 2       Cancel
//   4        &Yes &No &Cancel                 6 7 2     Cancel
//   5        &Cancel &Retry &Ignore           3 4 5     Ignore
//   other    none
// (Spanish: "&Si", "&No", "&Aceptar", "&Cancelar", "&Reintentar", "&Ignorar".)
//
// Layout, with W and H the label's width and height: buttons at top 17 + H + 16; with buttons
// the form is W + 72 wide, at least 120, 232 or 308 for one, two or three buttons, and H + 97
// high (H + 61 for type 4); one button at (width - 70) / 2 - 3; two at
// ((width - 140) / 16) * 5 - 3 and width - first - 77; three at ((width - 140) / 20) * 5 - 3,
// (width - 70) / 2 - 3 and width - first - 77. Without buttons: W + 76 wide, 26 less high.
// Position nPosition, default 4 (centred on the screen).
//
// Type 4 shows the form without waiting and answers the form object (the caller destroys it:
// a wait box). Every other type shows the form modally, reads its ModalResult, destroys the
// form and answers the result; closing it with the close box answers 2.
#include <optional>
#include <vector>
#include <string>

#include "runtime/value/value.h"

namespace kv::ui {

struct MessageDlgRequest {
  std::string text;
  int type = 0;
  int buttons = -1;  // -1: none
  int position = 4;
  int borderStyle = 3;
  // A caption in place of the type's own (the window system's boxes give their own).
  std::optional<std::string> caption;
};

// Buttons and sizes of a button set: the number of buttons (0 to 3), and per button its
// caption in the message language, its result and whether it answers Escape.
struct DialogButton {
  std::string caption;
  int result;
  bool cancel;
};
std::vector<DialogButton> dialogButtons(int buttonSet);
// The caption of a dialog type in the message language.
std::string dialogCaption(int type);

// Makes the dialog form (not shown) and answers its language object.
Value makeMessageDlg(const MessageDlgRequest& request);
// Shows it as the type says: the result, or for type 4 the form object.
Value runMessageDlg(const MessageDlgRequest& request);

// The language function MessageDlg(cText, nType, nButtons, nPosition, nBorderStyle).
Value MessageDlg(const Value& text, const Value& type = Value(), const Value& buttons = Value(),
                 const Value& position = Value(), const Value& borderStyle = Value());

// Registers MESSAGEDLG by name.
void registerMessageDlgFunctions();

}  // namespace kv::ui
