#include "platform/msgbox.h"

#include <cstdio>
#include <string>

#include "platform/codepage.h"

namespace kv::platform {

namespace {

MessageBoxHook g_hook = nullptr;
DialogBoxHook g_dialogHook = nullptr;

}  // namespace

void boxToStandardError(std::string_view caption, std::string_view text) {
  std::string out = cp1250ToUtf8(caption) + ": " + cp1250ToUtf8(text) + "\n";
  std::fwrite(out.data(), 1, out.size(), stderr);
  std::fflush(stderr);
}

void setMessageBoxHook(MessageBoxHook hook) {
  g_hook = hook;
}
bool hasMessageBoxHook() {
  return g_hook != nullptr;
}

void showFatalBox(std::string_view caption, std::string_view text) {
  if (g_hook) {
    g_hook(caption, text);
    return;
  }
  boxToStandardError(caption, text);
}

void setDialogBoxHook(DialogBoxHook hook) {
  g_dialogHook = hook;
}

void showMessageBox(std::string_view caption, std::string_view text, int kind) {
  if (g_dialogHook) {
    g_dialogHook(caption, text, kind);
    return;
  }
  boxToStandardError(caption, text);
}

}  // namespace kv::platform
