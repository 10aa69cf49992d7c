#pragma once
// Window stacking: bringing a window or a control's window to the top. Qt's offscreen platform
// keeps no stacking order (and says so on standard error for every raise), so there a raise
// is left out; everything else behaves the same.
class QWidget;

namespace kv::ui {

// Puts `widget` on top of its siblings (a top-level window on top of the other windows).
void raiseWidget(QWidget* widget);
// Raises a top-level window and makes it the active one.
void bringWindowToTop(QWidget* window);

}  // namespace kv::ui
