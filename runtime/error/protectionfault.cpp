#include "runtime/error/protectionfault.h"

#include <signal.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>

#include "platform/msgbox.h"
#include "runtime/error/callstack.h"
#include "runtime/error/errorchannel.h"

namespace kv {

namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE};
constexpr int kMaxTraceFrames = 256;  // guards against a damaged frame chain

alignas(16) char g_altStack[64 * 1024];
char g_trace[16 * 1024];

const char kFault[] = "General Protection Fault.";
const char kCrLf[] = "\r\n";
const char kCaption[] = "Error de Protecci\xF3n General";
// The same captions in UTF-8 for the raw standard-error box.
const char kFaultUtf8[] = "Error: General Protection Fault.\n";
const char kCaptionUtf8[] = "Error de Protecci\xC3\xB3n General: ";

// Appends to a fixed buffer; returns the new length (never past the end).
std::size_t put(char* buf, std::size_t len, std::size_t cap, const char* s, std::size_t n) {
  if (len + n > cap) n = cap - len;
  std::memcpy(buf + len, s, n);
  return len + n;
}

std::size_t putNumber(char* buf, std::size_t len, std::size_t cap, int v) {
  char digits[16];
  int i = 0;
  unsigned u = v < 0 ? 0u - static_cast<unsigned>(v) : static_cast<unsigned>(v);
  do {
    digits[i++] = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u != 0);
  if (v < 0) digits[i++] = '-';
  while (i > 0) len = put(buf, len, cap, &digits[--i], 1);
  return len;
}

std::size_t buildTrace() {
  std::size_t len = 0;
  const std::size_t cap = sizeof(g_trace) - 1;
  static const char kCalled[] = "- Llamado desde ";
  int n = 0;
  for (Frame* f = currentFrame(); f && n < kMaxTraceFrames; f = f->caller, ++n) {
    len = put(g_trace, len, cap, kCalled, sizeof(kCalled) - 1);
    if (f->name) len = put(g_trace, len, cap, f->name, std::strlen(f->name));
    len = put(g_trace, len, cap, " (", 2);
    len = putNumber(g_trace, len, cap, f->line);
    len = put(g_trace, len, cap, ")\r\n", 3);
  }
  g_trace[len] = '\0';
  return len;
}

void rawStderr(const char* s, std::size_t n) {
  while (n > 0) {
    ssize_t w = ::write(STDERR_FILENO, s, n);
    if (w <= 0) return;
    s += w;
    n -= static_cast<std::size_t>(w);
  }
}

void onFault(int sig) {
  appendErrorLog(kFault, sizeof(kFault) - 1);
  appendErrorLog(kCrLf, sizeof(kCrLf) - 1);
  std::size_t len = buildTrace();
  appendErrorLog(g_trace, len);
  if (platform::hasMessageBoxHook()) {
    platform::showFatalBox("Error", kFault);
    platform::showFatalBox(kCaption, std::string_view(g_trace, len));
  } else {
    rawStderr(kFaultUtf8, sizeof(kFaultUtf8) - 1);
    rawStderr(kCaptionUtf8, sizeof(kCaptionUtf8) - 1);
    rawStderr(g_trace, len);
    rawStderr("\n", 1);
  }
  // Let the process end by the same signal, as it would have without us.
  ::signal(sig, SIG_DFL);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, sig);
  sigprocmask(SIG_UNBLOCK, &set, nullptr);
  ::raise(sig);
  ::_exit(128 + sig);
}

}  // namespace

void installProtectionFaultHandlers() {
  prepareErrorChannel();
  stack_t ss{};
  ss.ss_sp = g_altStack;
  ss.ss_size = sizeof(g_altStack);
  ss.ss_flags = 0;
  sigaltstack(&ss, nullptr);
  struct sigaction sa {};
  sa.sa_handler = onFault;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_ONSTACK | SA_RESETHAND;
  for (int sig : kSignals) sigaction(sig, &sa, nullptr);
}

}  // namespace kv
