// The headless MessageDlg: what reaches the plain message box, and what each button set
// answers when the box is dismissed as Escape would.
#include "app/core/messagedlg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/msgbox.h"

using namespace kv;

namespace {

std::vector<std::string> g_shown;

void capture(std::string_view caption, std::string_view text, int kind) {
  g_shown.push_back(std::string(caption) + "|" + std::string(text) + "|" + std::to_string(kind));
}

}  // namespace

TEST(MessageDlg, BoxesWithButtonsShowTheirTextAndAnswerTheEscapeButton) {
  platform::setDialogBoxHook(capture);
  struct Case {
    Value type;
    Value buttons;
    const char* shown;  // "" when nothing is shown
    Value answer;
  } cases[] = {
      {Value(0), Value(2), "Information|t|0", Value(1)},
      {Value(1), Value(3), "Warning|t|1", Value(2)},
      {Value(2), Value(2), "Error|t|2", Value(1)},
      {Value(3), Value(1), "Confirmation|t|3", Value(7)},
      {Value(3), Value(0), "Confirmation|t|3", Value(6)},
      {Value(0), Value(4), "Information|t|0", Value(2)},
      {Value(0), Value(5), "Information|t|0", Value(5)},
      {Value(0), Value(), "Information|t|0", Value(2)},  // no buttons: the close box
      {Value(), Value(9), "Information|t|0", Value(2)},  // no type: information
      {Value(4), Value(2), "", Value()},                 // the wait box shows nothing here
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    g_shown.clear();
    const Value r = app::MessageDlg(Value("t"), c.type, c.buttons);
    if (*c.shown) {
      ASSERT_EQ(g_shown.size(), 1u);
      EXPECT_EQ(g_shown[0], c.shown);
      EXPECT_EQ(r.asInt(), c.answer.asInt());
    } else {
      EXPECT_TRUE(g_shown.empty());
      EXPECT_TRUE(r.isNil());
    }
  }
  platform::setDialogBoxHook(nullptr);
}

TEST(MessageDlg, AnInstalledDialogTakesEveryCallUntilItIsRemoved) {
  platform::setDialogBoxHook(capture);
  g_shown.clear();
  app::setMessageDlg([](const Value& text, const Value& type, const Value& buttons,
                        const Value& position, const Value& borderStyle) {
    g_shown.push_back("dialog|" + std::string(text.str()) + "|" + std::to_string(type.asInt()) +
                      std::to_string(buttons.asInt()) + std::to_string(position.asInt()) +
                      std::to_string(borderStyle.asInt()));
    return Value(6);
  });
  EXPECT_EQ(app::MessageDlg(Value("t"), Value(3), Value(1), Value(4), Value(2)).asInt(), 6);
  app::setMessageDlg(nullptr);
  EXPECT_EQ(app::MessageDlg(Value("t"), Value(3), Value(1)).asInt(), 7);  // headless again
  EXPECT_EQ(g_shown, (std::vector<std::string>{"dialog|t|3142", "Confirmation|t|3"}));
  platform::setDialogBoxHook(nullptr);
}
