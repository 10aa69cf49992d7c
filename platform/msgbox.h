#pragma once
// Message boxes the runtime shows without the window library's dialogs: the fatal box of the
// error channel and the protection-fault box, and a plain box with one Ok button. The window
// library installs its own boxes; until then (and headless) the text goes to standard error,
// converted to UTF-8.
#include <string_view>

namespace kv::platform {

// Shows `text` (Windows-1250) in a box with the given caption. Blocks until dismissed.
using MessageBoxHook = void (*)(std::string_view caption, std::string_view text);

void setMessageBoxHook(MessageBoxHook hook);
// The error box (error icon, system-modal).
void showFatalBox(std::string_view caption, std::string_view text);
// True once the window library installed its box.
bool hasMessageBoxHook();
// The headless box: "caption: text" and a line feed on standard error, converted to UTF-8.
// The window library's boxes fall back to it when there is no display to show them on.
void boxToStandardError(std::string_view caption, std::string_view text);

// Kind of a box, which chooses its icon.
enum BoxKind : int { kBoxInformation = 0, kBoxWarning = 1, kBoxError = 2, kBoxQuestion = 3 };

// Shows `text` (Windows-1250) with caption, the icon of `kind` and one Ok button, at the
// default position. Blocks until dismissed.
using DialogBoxHook = void (*)(std::string_view caption, std::string_view text, int kind);

void setDialogBoxHook(DialogBoxHook hook);
void showMessageBox(std::string_view caption, std::string_view text, int kind);

}  // namespace kv::platform
