#include "ui/core/fonts.h"

#include <QApplication>

namespace kv::ui {

namespace {

struct FaceMapping {
  const char* face;
  const char* replacement;
};

constexpr FaceMapping kFaces[] = {
    {"MS Sans Serif", "Liberation Sans"},
    {"Tahoma", "Liberation Sans"},
    {"Webdings", "DejaVu Sans"},
};

// Characters of the symbol fonts and the Unicode symbols that stand for them in the face the
// symbol font maps to.
struct SymbolMapping {
  const char* face;
  char16_t character;
  char16_t symbol;
};

constexpr SymbolMapping kSymbols[] = {
    {"Webdings", u'q', u'\u21BB'},  // refresh: a clockwise open circle arrow
};

}  // namespace

QString mappedFace(const QString& face) {
  for (const FaceMapping& m : kFaces) {
    if (face.compare(QLatin1String(m.face), Qt::CaseInsensitive) == 0) {
      return QString::fromLatin1(m.replacement);
    }
  }
  return face;
}

QString symbolText(const QString& face, const QString& text) {
  QString out = text;
  for (const SymbolMapping& m : kSymbols) {
    if (face.compare(QLatin1String(m.face), Qt::CaseInsensitive) != 0) continue;
    out.replace(QChar(m.character), QChar(m.symbol));
  }
  return out;
}

QFont libraryFont(const QString& face, int points) {
  QFont f(mappedFace(face));
  f.setPointSize(points);
  return f;
}

QFont defaultFont() {
  return libraryFont(QString::fromLatin1(kDefaultFace), kDefaultPointSize);
}

void installFontTable() {
  for (const FaceMapping& m : kFaces) {
    QFont::insertSubstitution(QString::fromLatin1(m.face), QString::fromLatin1(m.replacement));
  }
  if (qApp) QApplication::setFont(defaultFont());
}

}  // namespace kv::ui
