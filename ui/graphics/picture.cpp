#include "ui/graphics/picture.h"

#include "ui/core/messages.h"

namespace kv::ui {

namespace {

template <class T, T* (Picture::*Part)() const, const Value& (Picture::*Object)() const>
void part(ClassDef* cls, const char* name, const char* setter) {
  property<Picture>(
      cls, name, [](Picture& p) { return (p.*Object)(); },
      [setter](Picture& p, const Value& v, Args a) {
        T* from = libraryAs<T>(v);
        T* to = (p.*Part)();
        if (!from) {
          guiError(kGuiArgument, setter, a);
        } else if (to && from != to) {
          to->assign(*from);
        }
      });
}

void registerPicture(ClassDef* cls) {
  part<Bitmap, &Picture::bitmap, &Picture::bitmapObject>(cls, "Bitmap", "_BITMAP");
  method<Picture>(cls, "Clear", [](Picture& p, Args) -> Value {
    p.clear();
    return Value();
  });
  part<Bitmap, &Picture::gif, &Picture::gifObject>(cls, "Gif", "_GIF");
  part<Icon, &Picture::icon, &Picture::iconObject>(cls, "Icon", "_ICON");
  part<Bitmap, &Picture::jpeg, &Picture::jpegObject>(cls, "JPeg", "_JPEG");
}

LibObject* makePicture() {
  return new Picture;
}

}  // namespace

const LibClass kPictureClass = {"TPicture", &kGraphicsObjectClass, &makePicture, &registerPicture};

Value TPicture() {
  return classFunction(kPictureClass);
}

Picture::Picture()
    : bitmap_(kBitmapClass, this, [this] { notify(); }),
      jpeg_(kJPegClass, this, [this] { notify(); }),
      gif_(kGifClass, this, [this] { notify(); }),
      icon_(kIconClass, this, [this] { notify(); }) {}

void Picture::release() {
  bitmap_.reset();
  jpeg_.reset();
  gif_.reset();
  icon_.reset();
}

void Picture::clear() {
  for (Bitmap* b : {bitmap(), jpeg(), gif()}) {
    if (b) b->clear();
  }
  if (icon()) icon()->clear();
}

bool Picture::empty() const {
  return pixmap().isNull();
}

QPixmap Picture::pixmap() const {
  for (Bitmap* b : {bitmap(), jpeg(), gif()}) {
    if (b && !b->empty()) return b->pixmap();
  }
  if (icon() && !icon()->empty()) return icon()->qicon().pixmap(32, 32);
  return QPixmap();
}

}  // namespace kv::ui
