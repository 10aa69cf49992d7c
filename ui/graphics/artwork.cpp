#include "ui/graphics/artwork.h"

#include <QPixmap>

#include "platform/filename.h"

namespace kv::ui {

namespace {

bool sameName(const std::string& a, const char* b) {
  return platform::equalsFolded(a, b);
}

}  // namespace

QImage resourceBitmap(const std::string& name) {
  if (sameName(name, "KVBANNER")) return QImage(QStringLiteral(":/kalvedo/kvbanner.png"));
  return QImage();
}

QImage systemBitmap(int id) {
  if (id == 32738) return QImage(QStringLiteral(":/kalvedo/comboarrow.png"));
  return QImage();
}

QIcon resourceIcon(const std::string& name) {
  if (!sameName(name, "DAVAVODE")) return QIcon();
  QIcon icon;
  icon.addFile(QStringLiteral(":/kalvedo/davavode16.png"), QSize(16, 16));
  icon.addFile(QStringLiteral(":/kalvedo/davavode.png"), QSize(32, 32));
  return icon;
}

QCursor resourceCursor(const std::string& name, bool* found) {
  const bool hand = sameName(name, "crHandPoint");
  if (found) *found = hand;
  if (!hand) return QCursor(Qt::ArrowCursor);
  // The hot spot is the tip of the pointing finger.
  return QCursor(QPixmap(QStringLiteral(":/kalvedo/handpoint.png")), 6, 1);
}

}  // namespace kv::ui
