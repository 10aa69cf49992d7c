// The order overview on the main window as a person meets it (Qt's offscreen platform, real key
// and mouse events, every modal loop under a watchdog): the fill with its wait box and the
// status texts, header clicks sharing one direction with "Datum" in calendar order, the search
// while typing and with Enter, and the colours: switched off without a dialog, chosen through
// the three dialogs with one cancelled, and painted at the next paint.
#include <QColorDialog>
#include <QImage>

#include <fstream>
#include <sstream>

#include "app/core/appsettings.h"
#include "app/core/orderoverview.h"
#include "app/core/settingsfile.h"
#include "support/files.h"
#include "support/order_window.h"
#include "ui/grid/gridheader.h"

using namespace kv;
using namespace kv::ui::test;
using kvtest::part;

namespace {

class MainWindowOverview : public kvtest::OrderWindowTest {
 protected:
  static void setField(int number, const char* name, const char* value) {
    ASSERT_TRUE(seekOrder(number));
    engine::DBRLOCK();
    engine::FIELDPUT(engine::FIELDPOS(Value(name)), Value(value));
    engine::DBUNLOCK();
  }
  // The first column of every row, in the grid's order.
  static std::vector<std::string> numbers() {
    std::vector<std::string> out;
    const Value rows = memvarGet("aPregled");
    for (const Value& r : rows.arr()->items) out.emplace_back(r.arr()->items[0].str());
    return out;
  }
  static void clickHeader(const Value& form, int column) {
    QWidget* grid = overview(form)->windowIfMade();
    ui::GridHeader* header = nullptr;
    for (QObject* o : grid->children())
      if (auto* h = dynamic_cast<ui::GridHeader*>(o)) header = h;
    ASSERT_TRUE(header);
    int x = 0;
    while (x < header->width() && header->columnAt(x) != column) ++x;
    ASSERT_LT(x, header->width()) << "column " << column;
    QTest::mouseClick(header, Qt::LeftButton, {}, QPoint(x + 8, header->height() / 2));
  }
  // The colour painted behind the first column of a row in view (0x00BBGGRR).
  static int paintedColour(const Value& form, int row) {
    ui::StringGrid* grid = overview(form);
    QWidget* w = grid->windowIfMade();
    const QImage image = w->grab().toImage();
    int y = 0;
    while (y < w->height() && grid->rowAtY(y) != row) ++y;
    EXPECT_LT(y, w->height()) << "row " << row << " is not shown";
    const QColor c = image.pixelColor(60, y + grid->rowHeight() / 2);
    return c.red() | c.green() << 8 | c.blue() << 16;
  }
  static std::string settingsText() { return kvtest::readFile(app::settingsFileName()); }
  static std::vector<std::string> waitBoxes() {
    std::vector<std::string> out;
    for (const kvtest::RecordedBox& b : boxes_)
      if (b.type == 4) out.push_back(b.text);
    return out;
  }
};

const std::string kFilling = "Ucitava se Spisak Naloga. Molim sacekajte...";

}  // namespace

TEST_F(MainWindowOverview, TheRefreshListsEveryOrderWithItsStatusAndTheLastOneCurrent) {
  struct Case {
    bool zavrsen, uObradi;
    const char* status;
  };
  const Case cases[] = {{true, true, "Zavrsen"},
                        {false, false, "na Cekanju"},
                        {false, true, "u Obradi"},
                        {true, false, "Zavrsen"},
                        {false, false, "na Cekanju"}};
  withForm([&](const Value& form) {
    int n = 0;
    for (const Case& c : cases) storeOrder(++n, "Ana", "13.02.2013", c.zavrsen, c.uObradi);
    // Nothing changed on screen yet: the overview shows what it was filled with.
    EXPECT_EQ(memvarGet("aPregled").arrayLen(), 0u);
    boxes_.clear();
    click(form, "bOsveziPregled");
    EXPECT_EQ(waitBoxes(), std::vector<std::string>{kFilling});
    ASSERT_EQ(memvarGet("aPregled").arrayLen(), 5u);
    for (int r = 1; r <= 5; ++r) {
      EXPECT_EQ(overviewCell(r, 1), app::orderNumberText(r));
      EXPECT_EQ(overviewCell(r, 2), "13.02.2013");
      EXPECT_EQ(overviewCell(r, 7), cases[r - 1].status) << r;
    }
    EXPECT_EQ(overviewRow(form), 5);
    EXPECT_EQ(overview(form)->recordCount(), 5);
  });
  EXPECT_TRUE(errors.empty());
}

// One direction for every column, turned at each click; "Datum" in calendar order.
TEST_F(MainWindowOverview, HeaderClicksShareOneDirectionAndTheDateSortsByCalendar) {
  withForm([](const Value& form) {
    storeOrder(1, "Cvijeta", "02.01.2013");
    storeOrder(2, "ana", "01.12.2013");
    storeOrder(3, "Boris", "15.06.2012");
    setField(1, "Model", "B200");
    setField(2, "Model", "A100");
    setField(3, "Model", "C300");
    send(form, "PopuniPregled");
    struct Click {
      int column;
      std::vector<std::string> order;
    };
    const Click clicks[] = {
        {2, {"00003", "00001", "00002"}},  // ascending: 2012, then January and December 2013
        {2, {"00002", "00001", "00003"}},  // descending
        {3, {"00002", "00003", "00001"}},  // ascending, upper-cased: ANA, BORIS, CVIJETA
        {5, {"00003", "00001", "00002"}},  // descending: C300, B200, A100
        {1, {"00001", "00002", "00003"}},  // ascending
    };
    for (const Click& c : clicks) {
      boxes_.clear();
      clickHeader(form, c.column);
      EXPECT_EQ(numbers(), c.order) << "column " << c.column;
      EXPECT_EQ(waitBoxes(), std::vector<std::string>{"Sortiranje u toku. Molim sacekajte..."});
    }
    // The grid shows the sorted array itself.
    EXPECT_EQ(std::string(send(part(form, "sgPregled"), "GetData", {Value(1)}).str()),
              overviewCell(overviewRow(form), 1));
  });
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindowOverview, TypingSearchesTheRowsAndEnterFiltersTheTableForOneFill) {
  withForm([](const Value& form) {
    storeOrder(1, "Petrovic");
    storeOrder(2, "Sanja");
    storeOrder(3, "Jablan");
    storeOrder(4, "Milos");
    setField(4, "SerijskiBr", "XAB-1");
    send(form, "PopuniPregled");
    QWidget* search = widget(form, "ePretragaNaloga");
    QTest::mouseClick(search, Qt::LeftButton);
    // Each key searches with the text it will leave: "a", then "ab".
    QTest::keyClick(search, Qt::Key_A);
    EXPECT_EQ(overviewRow(form), 2);
    QTest::keyClick(search, Qt::Key_B);
    EXPECT_EQ(overviewRow(form), 3);
    EXPECT_EQ(text(form, "ePretragaNaloga"), "ab");
    // No row has "abz": the first row.
    QTest::keyClick(search, Qt::Key_Z);
    EXPECT_EQ(overviewRow(form), 1);
    QTest::keyClick(search, Qt::Key_Backspace);
    // Enter lists the orders whose customer, contact, model or serial number hold the text.
    boxes_.clear();
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(waitBoxes(), std::vector<std::string>{kFilling});
    EXPECT_EQ(numbers(), (std::vector<std::string>{"00003", "00004"}));
    // The filter lasted one fill.
    EXPECT_EQ(app::buildOverview().arrayLen(), 4u);
    // An empty edit lists every order.
    kvtest::OrderWindowTest::typeInto(form, "ePretragaNaloga", "");
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(numbers(), (std::vector<std::string>{"00001", "00002", "00003", "00004"}));
  });
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindowOverview, ColouringSwitchedOffPaintsWhiteAndAsksNothing) {
  app::writeSetting(app::Setting::Boja, Value(true));
  app::writeSetting(app::Setting::BojaNaCekanju, Value(255));
  withForm([](const Value& form) {
    storeOrder(1, "Ana");
    storeOrder(2, "Bojan");
    send(form, "PopuniPregled");
    EXPECT_TRUE(memvarGet("lColorPregled").asBool());
    EXPECT_EQ(paintedColour(form, 1), 255);
    // Any dialog would stand unanswered: the watchdog fails the test then.
    Watchdog dog(5000);
    send(form, "ColorPregled");
    EXPECT_FALSE(memvarGet("lColorPregled").asBool());
    EXPECT_FALSE(
        send(part(form, "MainMenu1"), "GetChecked", {memvarGet("nColorPregled")}).asBool());
    EXPECT_NE(settingsText().find("Boja=.F."), std::string::npos) << settingsText();
    EXPECT_EQ(app::readSetting(app::Setting::BojaNaCekanju).asInt(), 255);
    EXPECT_EQ(paintedColour(form, 1), app::kWhite);
  });
  EXPECT_TRUE(errors.empty());
}

// Switched on: the three dialogs in turn, each starting from its stored colour; the cancelled
// one leaves its key; the colours chosen are painted at the next paint.
TEST_F(MainWindowOverview, ColouringSwitchedOnAsksForTheThreeColoursAndPaintsThem) {
  app::writeSetting(app::Setting::BojaUObradi, Value(255));
  std::vector<std::string> captions;
  std::vector<int> startColours;
  withForm([&](const Value& form) {
    storeOrder(1, "Ana");
    storeOrder(2, "Bojan", "13.02.2013", true);
    storeOrder(3, "Ceca");
    storeOrder(4, "Dejan", "13.02.2013", false, true);
    storeOrder(5, "Eva");
    send(form, "PopuniPregled");
    Watchdog dog(10000);
    // Blue for waiting orders, the second dialog cancelled, green for finished ones.
    const QColor answers[] = {QColor(0, 0, 255), QColor(), QColor(0, 255, 0)};
    std::function<void(int)> answer = [&](int step) {
      whenModal([&, step](QWidget* w) {
        auto* d = qobject_cast<QColorDialog*>(w);
        ASSERT_TRUE(d);
        captions.push_back(d->windowTitle().toStdString());
        const QColor c = d->currentColor();
        startColours.push_back(c.red() | c.green() << 8 | c.blue() << 16);
        if (step < 2) answer(step + 1);
        if (answers[step].isValid()) {
          d->setCurrentColor(answers[step]);
          d->accept();
        } else {
          d->reject();
        }
      });
    };
    answer(0);
    send(form, "ColorPregled");
    EXPECT_TRUE(memvarGet("lColorPregled").asBool());
    EXPECT_TRUE(send(part(form, "MainMenu1"), "GetChecked", {memvarGet("nColorPregled")}).asBool());
    EXPECT_EQ(app::readSetting(app::Setting::BojaNaCekanju).asInt(), 16711680);
    EXPECT_EQ(app::readSetting(app::Setting::BojaUObradi).asInt(), 255);
    EXPECT_EQ(app::readSetting(app::Setting::BojaZavrsen).asInt(), 65280);
    EXPECT_NE(settingsText().find("Boja=.T."), std::string::npos) << settingsText();
    // The last row is current and keeps the selection's colour; the rows before it show
    // theirs. Then the first row is made current, and the second one is in view.
    EXPECT_EQ(overviewRow(form), 5);
    EXPECT_EQ(paintedColour(form, 3), 16711680);
    EXPECT_EQ(paintedColour(form, 4), 255);
    send(part(form, "sgPregled"), "_Row", {Value(1)});
    EXPECT_EQ(paintedColour(form, 2), 65280);
  });
  EXPECT_EQ(captions, (std::vector<std::string>{"Odaberite boju za Naloge NA CEKANJU",
                                                "Odaberite boju za Naloge U OBRADI",
                                                "Odaberite boju za ZAVRSENE naloge"}));
  EXPECT_EQ(startColours, (std::vector<int>{app::kWhite, 255, app::kWhite}));
  EXPECT_TRUE(errors.empty());
}
