// The font table: the faces the forms were designed with map to a face of similar widths.
#include "uitest.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>

#include "ui/core/fonts.h"

using namespace kv::ui;
using namespace kv::ui::test;

namespace {

class Fonts : public UiTest {};

}  // namespace

TEST_F(Fonts, DesignFacesDrawAsLiberationSans) {
  for (const char* face : {"MS Sans Serif", "Tahoma", "ms sans serif"}) {
    EXPECT_EQ(mappedFace(face), QString("Liberation Sans")) << face;
    EXPECT_EQ(QFontInfo(QFont(face, 8)).family(), QString("Liberation Sans")) << face;
  }
  EXPECT_EQ(mappedFace("Courier New"), QString("Courier New"));
  EXPECT_EQ(QFontInfo(QApplication::font()).family(), QString("Liberation Sans"));
  EXPECT_EQ(QApplication::font().pointSize(), 8);
}

TEST_F(Fonts, CaptionsAreNarrowerThanInTheFallbackFace) {
  const QString caption = QStringLiteral("Kreiram baze podataka. Molim sacekajte...");
  const int mapped = QFontMetrics(defaultFont()).horizontalAdvance(caption);
  const int fallback = QFontMetrics(QFont("DejaVu Sans", 8)).horizontalAdvance(caption);
  EXPECT_LT(mapped, fallback * 92 / 100);
}
