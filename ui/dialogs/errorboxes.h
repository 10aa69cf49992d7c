#pragma once
// The boxes of the error channel and of the runtime's plain message box, shown by the window
// library. The error channel's box is a modal box captioned as the caller says ("Error", or the
// protection fault's caption) with the error icon and an Ok button; the plain box (an error
// handler's notice) is a MessageDlg of its kind with an Ok button. While a box is on screen no
// handler of the program runs. Without a display to show them on (no window system, or Qt's
// offscreen platform, where nobody could answer a box) the texts go to standard error instead,
// as before the window library.
namespace kv::ui {

// Installs both boxes as the hooks of platform/msgbox.h when they can be shown (the program
// calls this at start, once the window library has started); otherwise the runtime's own
// boxes stay, which keep the protection-fault path free of allocations.
void installErrorBoxes();
// Back to the runtime's own boxes.
void removeErrorBoxes();

// True when a box would be shown on screen now; `force` overrides the decision (tests show the
// boxes on the offscreen platform).
bool errorBoxesShown();
void forceErrorBoxesShown(bool on);

}  // namespace kv::ui
