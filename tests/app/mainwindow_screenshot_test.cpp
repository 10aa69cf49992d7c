// The look of the main window after a first start, grabbed on the offscreen platform and
// compared with its stored reference with a small tolerance (font rendering may differ by a
// shade, and the date shown is today's). KV_WRITE_REFERENCE=1 writes the reference anew;
// KV_SCREENSHOT_OUT=FILE also saves the grab to look at.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>

#include <cstdlib>

#include "support/main_window.h"
#include "ui/uitest.h"

using namespace kv;

namespace {

const char* kReference = KV_TEST_DATA_DIR "/ui/main_window.png";

using MainWindowLook = kvtest::MainWindowTest;

}  // namespace

TEST_F(MainWindowLook, TheMainWindowLooksAsItsReference) {
  QImage shot;
  withMainForm([&](const Value& form, ui::Form& main) {
    // The focus in the number field, as a person finds the window.
    send(kvtest::part(form, "eBrojNaloga"), "SetFocus");
    QApplication::processEvents();
    shot = main.windowIfMade()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  });
  ASSERT_FALSE(shot.isNull());
  if (const char* out = std::getenv("KV_SCREENSHOT_OUT")) shot.save(out);
  ui::test::expectLikeReference(shot, kReference);
}
