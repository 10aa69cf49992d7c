// The printing tests: a private print scheduler is started before Qt, so the print service
// Qt loads talks to it (it reads CUPS_SERVER once); then the window library's tests run on
// Qt's offscreen platform against it. Without cupsd the tests skip with the reason.
#include <gtest/gtest.h>

#include <QApplication>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "printing/printing.h"

namespace kvtest {

PrivateCups* g_cups = nullptr;

PrivateCups& cups() {
  return *g_cups;
}

}  // namespace kvtest

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    static std::string dir = "/tmp/kv-printing-tests-" + std::to_string(getuid());
    mkdir(dir.c_str(), 0700);
    chmod(dir.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 0);
  }
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests needs no scheduler.
  const bool listing = ::testing::GTEST_FLAG(list_tests);
  std::unique_ptr<kvtest::PrivateCups> scheduler;
  if (!listing) scheduler = std::make_unique<kvtest::PrivateCups>();
  kvtest::g_cups = scheduler.get();
  int rc = 0;
  {
    QApplication app(argc, argv);
    rc = RUN_ALL_TESTS();
  }
  return rc;
}
