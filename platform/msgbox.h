#pragma once
// The fatal message box: how the runtime shows an error text to the user when nothing else
// can. The window library installs its own box; until then (and headless) the text goes to
// standard error, converted to UTF-8.
#include <string_view>

namespace kv::platform {

// Shows `text` (Windows-1250) in a box with the given caption. Blocks until dismissed.
using MessageBoxHook = void (*)(std::string_view caption, std::string_view text);

void setMessageBoxHook(MessageBoxHook hook);
void showFatalBox(std::string_view caption, std::string_view text);

}  // namespace kv::platform
