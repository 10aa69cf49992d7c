#include "runtime/errorchannel.h"

#include <cstdio>

#include "platform/msgbox.h"
#include "platform/process.h"

namespace kv {

namespace {
bool g_started = false;
}

std::string errorLogPath() { return platform::executableDir() + "/Error.txt"; }

bool errorChannelUsed() { return g_started; }

void writeErrorChannel(std::string_view text) {
  const char* mode = g_started ? "ab" : "wb";
  g_started = true;
  if (std::FILE* f = std::fopen(errorLogPath().c_str(), mode)) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
  if (text != "\r\n") platform::showFatalBox("Error", text);
}

}  // namespace kv
