#pragma once
// The input box. MessageDlgEdit(cCaption, cPrompt, @xValue, cPicture, nEditWidth, nPosition,
// xSeventh) makes a form captioned cCaption (border style 3) with an information icon at
// (10, 10), a label at (54, 17) with cPrompt, and an edit at (W + 62, 14), nEditWidth wide
// (W the label's width), holding xValue under cPicture (right-aligned for a number). The form
// is W + nEditWidth + 78 wide, at least 232, and 110 high; Ok (result 1) lies at
// ((width - 140) / 16) * 5 - 3 and Cancel (result 2, answers Escape) at width - that - 77,
// both at top 46. xSeventh: a logical false makes Ok refuse a blank entry (the edit is
// cleared and keeps the focus, the box stays open); a number is the border style. The box is
// shown modally at nPosition (default 4); on 1 the edited value is stored into the variable
// passed by reference. Answers the modal result (2 for the close box).
//
// A caller in C++ may also give an acceptance rule (`accept`): Ok then closes the box only
// when the rule answers true for the entered value; otherwise the box stays open with the
// entry selected in the edit, which keeps the focus, until a value the rule accepts is given
// or the box is cancelled.
#include <functional>
#include <string>

#include "runtime/value/value.h"

namespace kv::ui {

struct MessageDlgEditRequest {
  std::string caption;
  std::string prompt;
  Value value;
  std::string picture;
  int editWidth = 121;
  int position = 4;
  int borderStyle = 3;
  bool refuseBlank = false;
  std::function<bool(const Value&)> accept;
};

// Makes the box (not shown) and answers its form's language object.
Value makeMessageDlgEdit(const MessageDlgEditRequest& request);
// Shows it modally; answers the result and, for 1, the edited value in `edited`.
int runMessageDlgEdit(const MessageDlgEditRequest& request, Value& edited);

// Registers MESSAGEDLGEDIT by name.
void registerMessageDlgEditFunction();

}  // namespace kv::ui
