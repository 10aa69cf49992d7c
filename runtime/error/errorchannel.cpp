#include "runtime/error/errorchannel.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

#include "platform/filename.h"
#include "platform/msgbox.h"
#include "platform/programdirs.h"

namespace kv {

namespace {

// The path lives in a fixed buffer so the protection-fault handler can read it without
// allocating.
char g_path[4096] = {0};
volatile std::sig_atomic_t g_started = 0;

// The name is settled here, outside any signal handler: an existing log that differs from it
// only in case (ERROR.TXT) is written instead of a second one. When several do, the log goes
// to the name as given rather than being lost.
void setPath(std::string_view given) {
  const std::string path = platform::existingName(std::string(given));
  std::size_t n = path.size() < sizeof(g_path) - 1 ? path.size() : sizeof(g_path) - 1;
  std::memcpy(g_path, path.data(), n);
  g_path[n] = '\0';
}

}  // namespace

void prepareErrorChannel() {
  if (g_path[0] == '\0')
    setPath(platform::programFileDir(platform::ProgramFile::ErrorLog) + "Error.txt");
}

std::string errorLogPath() {
  prepareErrorChannel();
  return g_path;
}

bool errorChannelUsed() {
  return g_started != 0;
}

void setErrorLogPath(std::string_view path) {
  setPath(path);
  g_started = 0;
}

void appendErrorLog(const char* text, std::size_t size) {
  if (g_path[0] == '\0') return;
  int flags = O_WRONLY | O_CREAT | (g_started ? O_APPEND : O_TRUNC);
  g_started = 1;
  int fd = ::open(g_path, flags | O_CLOEXEC, 0644);
  if (fd < 0) return;
  while (size > 0) {
    ssize_t n = ::write(fd, text, size);
    if (n <= 0) break;
    text += n;
    size -= static_cast<std::size_t>(n);
  }
  ::close(fd);
}

void writeErrorChannel(std::string_view text) {
  prepareErrorChannel();
  appendErrorLog(text.data(), text.size());
  if (text != "\r\n") platform::showFatalBox("Error", text);
}

}  // namespace kv
