// The status panel: Timer1's ticks change its text by the ten-second window of the minute,
// with the time of day steered through the clock.
#define QTEST_QPA_MOUSE_HANDLING
#include <gtest/gtest.h>

#include <QTest>

#include <fstream>
#include <string>

#include "app/core/settingsfile.h"
#include "app/fkalvedo_status.h"
#include "app/core/makertexts.h"
#include "platform/clock.h"
#include "support/main_window.h"
#include "ui/controls/timer.h"

using namespace kv;
using kvtest::part;

namespace {

int gSeconds = 0;

platform::LocalTime steeredClock() {
  return {2026, 12, 10, 9, 41, gSeconds, 0};
}

class MainWindowStatus : public kvtest::MainWindowTest {
 protected:
  void TearDown() override {
    platform::setClockSource(nullptr);
    MainWindowTest::TearDown();
  }
};

const std::string kShop = std::string(" ") + app::kMakerShopName;

}  // namespace

TEST(StatusText, EachTenSecondWindowHasItsText) {
  struct Case {
    int seconds;
    bool changes;
    std::string text;
  } cases[] = {
      {0, true, app::kMakerAddress},
      {9, true, app::kMakerAddress},
      {10, true, " Servis Mika"},
      {19, true, " Servis Mika"},
      {20, true, " Kalvedo"},
      {29, true, " Kalvedo"},
      {30, true, app::kMakerAddress},
      {39, true, app::kMakerAddress},
      {40, false, ""},
      {49, false, ""},
      {50, true, app::kMakerSecondCredit},
      {59, true, app::kMakerSecondCredit},
  };
  for (const Case& c : cases) {
    std::string text;
    EXPECT_EQ(app::statusText(c.seconds, "Servis Mika", text), c.changes) << c.seconds;
    EXPECT_EQ(text, c.text) << c.seconds;
  }
}

TEST_F(MainWindowStatus, TheTimersTicksShowTheTextOfTheirWindow) {
  platform::setClockSource(&steeredClock);
  struct Case {
    int seconds;
    std::string text;  // the panel's text after the tick
  } cases[] = {
      {3, app::kMakerAddress},
      {14, kShop},
      {25, " Kalvedo"},
      {31, app::kMakerAddress},
      {47, app::kMakerAddress},  // unchanged
      {52, app::kMakerSecondCredit},
      {45, app::kMakerSecondCredit},  // unchanged
      {10, kShop},
      {0, app::kMakerAddress},
  };
  withMainForm([&](const Value& form, ui::Form&) {
    const Value panel = part(form, "Panel1");
    EXPECT_EQ(send(panel, "Caption").str(), app::kMakerAddress);
    // Ticks come from the timer itself, much more often than the program's ten seconds.
    const Value timer = part(form, "Timer1");
    EXPECT_TRUE(ui::libraryAs<ui::Timer>(timer)->running());
    send(timer, "_Interval", {Value(20)});
    for (const Case& c : cases) {
      gSeconds = c.seconds;
      QTest::qWait(80);
      EXPECT_EQ(send(panel, "Caption").str(), c.text) << c.seconds;
    }
  });
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindowStatus, TheShopsNameComesFromTheSettingsFile) {
  platform::setClockSource(&steeredClock);
  withMainForm([&](const Value& form, ui::Form&) {
    const Value panel = part(form, "Panel1");
    const Value timer = part(form, "Timer1");
    send(timer, "_Interval", {Value(20)});
    gSeconds = 12;
    QTest::qWait(80);
    EXPECT_EQ(send(panel, "Caption").str(), kShop);
    // Written while the program runs (the header form does so), seen at the next tick.
    std::ofstream(app::settingsFileName()) << "[Zaglavlje]\nNaziv firme=Servis Mika\n";
    QTest::qWait(80);
    EXPECT_EQ(send(panel, "Caption").str(), " Servis Mika");
  });
  EXPECT_TRUE(errors.empty());
}
