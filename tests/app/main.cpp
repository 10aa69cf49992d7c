// The application's tests: its core needs no display, its window part runs on Qt's offscreen
// platform, so a QApplication is made before GoogleTest runs.
#include <gtest/gtest.h>

#include <QApplication>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    // Qt wants a private runtime directory; a test run gets its own.
    static std::string dir = "/tmp/kv-app-tests-" + std::to_string(getuid());
    mkdir(dir.c_str(), 0700);
    chmod(dir.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 0);
  }
  // The application's tests never reach a system printer: the print scheduler they would ask
  // does not exist, so the printer finds none and Print only warns. Printing through a real
  // scheduler is the printing suite's, which starts a private one.
  static std::string noScheduler = std::string(std::getenv("XDG_RUNTIME_DIR")) + "/no-cups.sock";
  setenv("CUPS_SERVER", noScheduler.c_str(), 1);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
