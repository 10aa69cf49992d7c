#include "ui/controls/image.h"

#include <QApplication>
#include <QLabel>
#include <QStyle>

#include "ui/core/messages.h"

namespace kv::ui {

namespace {

template <bool Image::*Flag>
void flag(ClassDef* cls, const char* name, const char* setter) {
  property<Image>(
      cls, name, [](Image& i) { return Value(i.*Flag); },
      [setter](Image& i, const Value& v, Args a) {
        if (boolArg(v, i.*Flag, setter, a)) i.applyPicture();
      });
}

void registerImage(ClassDef* cls) {
  flag<&Image::autoSize>(cls, "AutoSize", "_AUTOSIZE");
  flag<&Image::center>(cls, "Center", "_CENTER");
  flag<&Image::monochrome>(cls, "Monochrome", "_MONOCHROME");
  readOnly<Image>(cls, "Picture", [](Image& i) { return i.pictureObject(); });
  flag<&Image::stretch>(cls, "Stretch", "_STRETCH");
}

LibObject* makeImage() {
  return new Image;
}

QStyle::StandardPixmap pixmapOf(StandardIcon icon) {
  switch (icon) {
    case StandardIcon::Warning:
      return QStyle::SP_MessageBoxWarning;
    case StandardIcon::Error:
      return QStyle::SP_MessageBoxCritical;
    case StandardIcon::Question:
      return QStyle::SP_MessageBoxQuestion;
    default:
      return QStyle::SP_MessageBoxInformation;
  }
}

}  // namespace

const LibClass kImageClass = {"TImage", &kWinControlClass, &makeImage, &registerImage};

Value TImage() {
  return classFunction(kImageClass);
}

Image::Image() : picture_(kPictureClass, this, [this] { applyPicture(); }) {
  width_ = 105;
  height_ = 105;
}

QWidget* Image::makeWidget(QWidget* parent) {
  auto* w = new QLabel(parent);
  w->setFocusPolicy(Qt::NoFocus);
  w->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  widget_ = w;
  applyPicture();
  return w;
}

void Image::setStandardIcon(StandardIcon icon) {
  icon_ = icon;
  hasIcon_ = true;
  applyPicture();
}

void Image::release() {
  WinControl::release();
  picture_.reset();
}

void Image::applyPicture() {
  auto* w = qobject_cast<QLabel*>(widget_.data());
  Picture* p = picture();
  if (p && !p->empty()) {
    const QPixmap pm = p->pixmap();
    if (autoSize && (pm.width() != width_ || pm.height() != height_)) {
      changeBounds(left_, top_, pm.width(), pm.height());
    }
    if (!w) return;
    w->setScaledContents(stretch);
    w->setAlignment(center ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
    w->setPixmap(pm);
    return;
  }
  if (!w || !hasIcon_) return;
  QStyle* style = w->style() ? w->style() : QApplication::style();
  w->setPixmap(style->standardIcon(pixmapOf(icon_), nullptr, w).pixmap(32, 32));
}

}  // namespace kv::ui
