#include "app/stopsignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>

#include <cerrno>

#include "ui/core/messageloop.h"

namespace kv::app {

namespace {

int g_pipe[2] = {-1, -1};
QPointer<QSocketNotifier> g_notifier;

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

void onStopSignal(int) {
  const int saved = errno;
  const char byte = 1;
  // A full pipe already holds a pending stop; the byte is not needed.
  [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
  errno = saved;
}

void drainPipe() {
  char buffer[64];
  while (::read(g_pipe[0], buffer, sizeof buffer) > 0) {
  }
}

}  // namespace

void catchStopSignals() {
  if (g_pipe[0] >= 0) return;
  if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    g_pipe[0] = g_pipe[1] = -1;
    return;
  }
  struct sigaction action {};
  action.sa_handler = &onStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : kStopSignals) sigaction(sig, &action, nullptr);
}

void watchStopSignals() {
  if (g_pipe[0] < 0 || g_notifier || !QCoreApplication::instance()) return;
  g_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(g_notifier, &QSocketNotifier::activated, [] {
    drainPipe();
    ui::postQuitMessage();
  });
}

}  // namespace kv::app
