#include "platform/msgbox.h"

#include <cstdio>
#include <string>

#include "platform/codepage.h"

namespace kv::platform {

namespace {
MessageBoxHook g_hook = nullptr;
}

void setMessageBoxHook(MessageBoxHook hook) { g_hook = hook; }

void showFatalBox(std::string_view caption, std::string_view text) {
  if (g_hook) {
    g_hook(caption, text);
    return;
  }
  std::string out = cp1250ToUtf8(caption) + ": " + cp1250ToUtf8(text) + "\n";
  std::fwrite(out.data(), 1, out.size(), stderr);
  std::fflush(stderr);
}

}  // namespace kv::platform
