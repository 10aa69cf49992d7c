// MessageDlg: captions, buttons, results and Escape for every button set in both languages,
// the layout arithmetic, the wait box of type 4 and the close box.
#include "uitest.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

#include "ui/controls/button.h"
#include "ui/controls/label.h"
#include "ui/controls/panel.h"
#include "ui/dialogs/messagedlg.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"

using namespace kv;
using namespace kv::ui;
using namespace kv::ui::test;

namespace {

std::vector<QPushButton*> visibleButtons(QWidget* window) {
  std::vector<QPushButton*> out;
  for (QPushButton* b : window->findChildren<QPushButton*>()) {
    if (b->isVisibleTo(window)) out.push_back(b);
  }
  std::sort(out.begin(), out.end(), [](QPushButton* a, QPushButton* b) { return a->x() < b->x(); });
  return out;
}

struct ButtonSet {
  int set;
  std::vector<const char*> english;
  std::vector<const char*> spanish;
  std::vector<int> results;
  int escape;
};

const ButtonSet kSets[] = {
    {0, {"&Yes"}, {"&Si"}, {6}, 6},
    {1, {"&Yes", "&No"}, {"&Si", "&No"}, {6, 7}, 7},
    {2, {"&Ok"}, {"&Aceptar"}, {1}, 1},
    {3, {"&Ok", "&Cancel"}, {"&Aceptar", "&Cancelar"}, {1, 2}, 2},
    {4, {"&Yes", "&No", "&Cancel"}, {"&Si", "&No", "&Cancelar"}, {6, 7, 2}, 2},
    {5, {"&Cancel", "&Retry", "&Ignore"}, {"&Cancelar", "&Reintentar", "&Ignorar"}, {3, 4, 5}, 5},
};

class MessageDlgSets : public UiTest, public ::testing::WithParamInterface<std::tuple<int, int>> {};

}  // namespace

TEST_P(MessageDlgSets, CaptionsResultsAndEscape) {
  const ButtonSet& set = kSets[std::get<0>(GetParam())];
  const int language = std::get<1>(GetParam());
  send(applicationObject(), "_Language", {Value(language)});
  const auto& captions = language == 1 ? set.spanish : set.english;
  Watchdog dog;
  // Each button in turn, then Escape.
  for (std::size_t press = 0; press <= captions.size(); ++press) {
    std::vector<QString> shown;
    whenModal([&](QWidget* dialog) {
      for (QPushButton* b : visibleButtons(dialog)) shown.push_back(b->text());
      if (press < captions.size()) {
        QTest::mouseClick(visibleButtons(dialog)[press], Qt::LeftButton);
      } else {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
      }
    });
    Value result = MessageDlg(Value("Da li ste sigurni?"), Value(3), Value(set.set));
    ASSERT_EQ(shown.size(), captions.size());
    for (std::size_t i = 0; i < captions.size(); ++i) EXPECT_EQ(shown[i], QString(captions[i]));
    EXPECT_EQ(result.asInt(), press < captions.size() ? set.results[press] : set.escape)
        << "set " << set.set << " press " << press;
  }
  EXPECT_EQ(liveLibraryObjects(), 3u);  // each dialog was destroyed; Screen, Application, Printer
}

INSTANTIATE_TEST_SUITE_P(EveryButtonSetInBothLanguages, MessageDlgSets,
                         ::testing::Combine(::testing::Range(0, 6), ::testing::Values(2, 1)));

class MessageDlgs : public UiTest {};

TEST_F(MessageDlgs, TypesGiveCaptionIconAndBorderStyle) {
  struct Case {
    int type;
    const char* english;
    const char* spanish;
    int borderStyle;
  } cases[] = {{0, "Information", "Informaci\xF3n", 3},
               {1, "Warning", "Aviso", 3},
               {2, "Error", "Error", 3},
               {3, "Confirmation", "Confirmaci\xF3n", 3},
               {4, "", "", 0}};
  for (const Case& c : cases) {
    for (int language : {2, 1}) {
      send(applicationObject(), "_Language", {Value(language)});
      MessageDlgRequest request;
      request.text = "Tekst";
      request.type = c.type;
      request.buttons = 2;
      Value dialog = makeMessageDlg(request);
      Form* f = libraryAs<Form>(dialog);
      EXPECT_EQ(f->caption(), language == 1 ? c.spanish : c.english);
      EXPECT_EQ(f->borderStyle(), c.borderStyle);
      EXPECT_EQ(f->position, 4);
      f->destroy();
    }
  }
  MessageDlgRequest request;
  request.type = 1;
  request.borderStyle = 4;
  request.position = 5;
  Value dialog = makeMessageDlg(request);
  EXPECT_EQ(libraryAs<Form>(dialog)->borderStyle(), 4);
  EXPECT_EQ(libraryAs<Form>(dialog)->position, 5);
  libraryAs<Form>(dialog)->destroy();
}

TEST_F(MessageDlgs, LayoutArithmetic) {
  struct Case {
    const char* text;
    int type, buttons;
    int width;
    std::vector<int> lefts;
  } cases[] = {
      {"x", 3, 2, 120, {22}},
      {"x", 3, 1, 232, {22, 133}},
      {"x", 3, 4, 308, {37, 116, 194}},
      {"x", 3, 5, 308, {37, 116, 194}},
  };
  for (const Case& c : cases) {
    MessageDlgRequest request;
    request.text = c.text;
    request.type = c.type;
    request.buttons = c.buttons;
    Value dialog = makeMessageDlg(request);
    Form* f = libraryAs<Form>(dialog);
    QWidget* window = f->window();
    const QLabel* label = window->findChild<QLabel*>();
    std::vector<int> lefts;
    int top = 0;
    for (QPushButton* b : visibleButtons(window)) {
      lefts.push_back(b->x());
      top = b->y();
      EXPECT_EQ(b->size(), QSize(70, 25));
    }
    const int labelHeight = f->childControls()[1]->height();
    EXPECT_EQ(f->width(), c.width) << c.buttons;
    EXPECT_EQ(f->height(), labelHeight + 97);
    EXPECT_EQ(lefts, c.lefts) << c.buttons;
    EXPECT_EQ(top, 17 + labelHeight + 16);
    EXPECT_NE(label, nullptr);
    f->destroy();
  }
  // A text wider than the smallest dialog: the label's width and 72.
  const std::string longText(80, 'W');
  MessageDlgRequest request;
  request.text = longText;
  request.buttons = 1;
  Value dialog = makeMessageDlg(request);
  Form* f = libraryAs<Form>(dialog);
  auto* label = dynamic_cast<Label*>(f->childControls()[1]);
  ASSERT_NE(label, nullptr);
  const int w = label->width(), h = label->height();
  EXPECT_GT(w, 300);
  EXPECT_EQ(label->left(), 54);
  EXPECT_EQ(label->top(), 17);
  EXPECT_EQ(f->width(), w + 72);
  const int first = ((w + 72 - 140) / 16) * 5 - 3;
  std::vector<int> lefts;
  for (QPushButton* b : visibleButtons(f->window())) lefts.push_back(b->x());
  EXPECT_EQ(lefts, (std::vector<int>{first, w + 72 - first - 77}));
  f->destroy();
  // Without buttons: 4 wider, 26 lower.
  request.buttons = -1;
  dialog = makeMessageDlg(request);
  f = libraryAs<Form>(dialog);
  EXPECT_EQ(f->width(), w + 76);
  EXPECT_EQ(f->height(), h + 97 - 26);
  f->destroy();
}

TEST_F(MessageDlgs, TypeFourReturnsAtOnceWithAVisibleFormWithoutButtons) {
  Value box = MessageDlg(Value("Kreiram baze podataka. Molim sacekajte..."), Value(4));
  Form* f = libraryAs<Form>(box);
  ASSERT_NE(f, nullptr);
  QWidget* window = f->windowIfMade();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(visibleButtons(window).empty());
  EXPECT_EQ(window->windowTitle(), QString());
  EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
  auto* panel = dynamic_cast<Panel*>(f->childControls()[0]);
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(panel->windowIfMade()->isVisible());
  EXPECT_EQ(panel->windowIfMade()->geometry(), QRect(0, 0, f->width(), f->height()));
  const int h = f->childControls()[1]->height();
  EXPECT_EQ(f->height(), h + 61 - 26);
  send(box, "Destroy");
  EXPECT_EQ(libraryOf(box), nullptr);
}

TEST_F(MessageDlgs, TheCloseBoxAnswersTwo) {
  Watchdog dog;
  whenModal([](QWidget* dialog) {
    QCloseEvent e;
    QApplication::sendEvent(dialog, &e);
  });
  EXPECT_EQ(MessageDlg(Value("Brisati?"), Value(3), Value(1)).asInt(), 2);
}
