#include "app/displaycheck.h"

#include <unistd.h>

#include <QString>
#include <QtGlobal>

#include <cstdlib>

namespace kv::app {

namespace {

constexpr const char* kHowToRun =
    "start it in a desktop session, or with QT_QPA_PLATFORM=offscreen to run it without a screen";

QtMessageHandler g_previous = nullptr;
bool g_guarding = false;

const char* named(const char* variable) {
  const char* v = std::getenv(variable);
  return v && *v ? v : nullptr;
}

void guardHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtFatalMsg && g_guarding) {
    const std::string line = noDisplayLine(true) + "\n";
    [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, line.data(), line.size());
    ::_exit(kNoDisplayExit);
  }
  if (g_previous) {
    g_previous(type, context, message);
  } else {
    // Qt's own output for a message when no handler was installed before.
    const QByteArray text = qFormatLogMessage(type, context, message).toLocal8Bit() + '\n';
    [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, text.constData(), text.size());
  }
}

}  // namespace

bool displayNamed() {
  return named("DISPLAY") || named("WAYLAND_DISPLAY") || named("QT_QPA_PLATFORM");
}

std::string noDisplayLine(bool isNamed) {
  std::string line = "kalvedo: ";
  if (!isNamed) {
    line.append(
        "no display to open the window on (DISPLAY, WAYLAND_DISPLAY and "
        "QT_QPA_PLATFORM are not set); ");
  } else {
    std::string which;
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
      if (const char* v = named(variable)) {
        if (!which.empty()) which.append(", ");
        which.append(variable).append("=").append(v);
      }
    }
    line.append("the display named (").append(which).append(") cannot be opened; ");
  }
  return line.append(kHowToRun);
}

void guardDisplayOpening() {
  if (g_guarding) return;
  g_guarding = true;
  g_previous = qInstallMessageHandler(&guardHandler);
}

void endDisplayGuard() {
  if (!g_guarding) return;
  g_guarding = false;
  qInstallMessageHandler(g_previous);
  g_previous = nullptr;
}

}  // namespace kv::app
