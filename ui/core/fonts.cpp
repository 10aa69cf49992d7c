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
