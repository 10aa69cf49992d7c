#pragma once
// Hints: when the message loop is idle it looks for the control under the mouse; when that
// differs from the one remembered, the hint window is hidden, the control remembered, and its
// Hint text shown beside the mouse (nothing for an empty hint); with no control under the
// mouse the hint is hidden. The window has the tooltip background (the window system's colour
// 24).
#include <QString>

namespace kv::ui {

// The idle step of the message loop.
void updateHint();
void hideHint();
// Hints are shown while this is on (the default).
void setHintsEnabled(bool on);
bool hintsEnabled();
// The text of the hint window while it is shown, else empty (tests).
QString shownHint();
// Forgets a target that is going away.
class EventTarget;
void forgetHintTarget(const EventTarget* target);
// Destroys the hint window (the library's exit).
void destroyHintWindow();

}  // namespace kv::ui
