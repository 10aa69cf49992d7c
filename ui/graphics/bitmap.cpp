#include "ui/graphics/bitmap.h"

#include "platform/filename.h"
#include "ui/core/messages.h"
#include "ui/core/text.h"
#include "ui/graphics/artwork.h"
#include "ui/graphics/colors.h"

namespace kv::ui {

namespace {

QString fileOnDisk(const std::string& file) {
  return toQString(platform::existingName(file));
}

template <class T>
void fileMessages(ClassDef* cls) {
  property<T>(
      cls, "FileName", [](T& t) { return Value(t.fileName()); },
      [](T& t, const Value& v, Args a) {
        std::string s;
        if (stringArg(v, s, "_FILENAME", a) && !t.loadFromFile(s)) {
          guiError(kGuiArgument, "_FILENAME", a);
        }
      });
  readOnly<T>(cls, "Height", [](T& t) { return Value(t.height()); });
  method<T>(cls, "LoadFromFile", [](T& t, Args a) -> Value {
    std::string s;
    if (stringArg(arg(a, 0), s, "LOADFROMFILE", a) && !t.loadFromFile(s)) {
      guiError(kGuiArgument, "LOADFROMFILE", a);
    }
    return Value();
  });
  readOnly<T>(cls, "Width", [](T& t) { return Value(t.width()); });
}

void registerBitmap(ClassDef* cls) {
  fileMessages<Bitmap>(cls);
  property<Bitmap>(
      cls, "MaskColor", [](Bitmap& b) { return Value(b.maskColor()); },
      [](Bitmap& b, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_MASKCOLOR", a)) b.setMaskColor(n);
      });
}

void registerIcon(ClassDef* cls) {
  method<Icon>(cls, "Assign", [](Icon& i, Args a) -> Value {
    if (Icon* other = libraryAs<Icon>(arg(a, 0))) {
      i.assign(*other);
    } else {
      guiError(kGuiArgument, "ASSIGN", a);
    }
    return Value();
  });
  fileMessages<Icon>(cls);
}

LibObject* makeBitmap() {
  return new Bitmap;
}
LibObject* makeIcon() {
  return new Icon;
}

}  // namespace

const LibClass kBitmapClass = {"TBitmap", &kGraphicsObjectClass, &makeBitmap, &registerBitmap};
const LibClass kJPegClass = {"TJPeg", &kGraphicsObjectClass, &makeBitmap, &registerBitmap};
const LibClass kGifClass = {"TGif", &kGraphicsObjectClass, &makeBitmap, &registerBitmap};
const LibClass kIconClass = {"TIcon", &kGraphicsObjectClass, &makeIcon, &registerIcon};

Value TBitmap() {
  return classFunction(kBitmapClass);
}
Value TJPeg() {
  return classFunction(kJPegClass);
}
Value TGif() {
  return classFunction(kGifClass);
}
Value TIcon() {
  return classFunction(kIconClass);
}

void Bitmap::setName(const Value& v) {
  const Value& d = v.deref();
  name_ = d;
  if (d.isNumber()) {
    image_ = systemBitmap(d.asInt());
  } else if (d.isString()) {
    image_ = resourceBitmap(std::string(d.str()));
  } else {
    image_ = QImage();
  }
  fileName_.clear();
  notify();
  if (image_.isNull()) {
    Value arg = v;
    guiError(kGuiArgument, "_NAME", Args(&arg, 1));
  }
}

bool Bitmap::loadFromFile(const std::string& file) {
  image_ = QImage(fileOnDisk(file));
  fileName_ = image_.isNull() ? std::string() : file;
  notify();
  return !image_.isNull();
}

void Bitmap::setMaskColor(int colour) {
  maskColor_ = colour;
  notify();
}

void Bitmap::assign(const Bitmap& other) {
  image_ = other.image_;
  fileName_ = other.fileName_;
  maskColor_ = other.maskColor_;
  name_ = other.name_;
  notify();
}

void Bitmap::clear() {
  image_ = QImage();
  fileName_.clear();
  name_ = Value();
  notify();
}

QPixmap Bitmap::pixmap() const {
  if (image_.isNull()) return QPixmap();
  if (maskColor_ < 0) return QPixmap::fromImage(image_);
  QImage img = image_.convertToFormat(QImage::Format_ARGB32);
  const QRgb mask = colorOf(maskColor_).rgb() & 0xFFFFFF;
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      if ((line[x] & 0xFFFFFF) == mask) line[x] = 0;
    }
  }
  return QPixmap::fromImage(img);
}

void Icon::setName(const Value& v) {
  const Value& d = v.deref();
  name_ = d;
  icon_ = d.isString() ? resourceIcon(std::string(d.str())) : QIcon();
  fileName_.clear();
  notify();
  if (icon_.isNull()) {
    Value arg = v;
    guiError(kGuiArgument, "_NAME", Args(&arg, 1));
  }
}

bool Icon::loadFromFile(const std::string& file) {
  const QPixmap p(fileOnDisk(file));
  icon_ = p.isNull() ? QIcon() : QIcon(p);
  fileName_ = icon_.isNull() ? std::string() : file;
  notify();
  return !icon_.isNull();
}

int Icon::width() const {
  return icon_.isNull() ? 0 : 32;
}

int Icon::height() const {
  return icon_.isNull() ? 0 : 32;
}

void Icon::assign(const Icon& other) {
  icon_ = other.icon_;
  fileName_ = other.fileName_;
  name_ = other.name_;
  notify();
}

void Icon::clear() {
  icon_ = QIcon();
  fileName_.clear();
  name_ = Value();
  notify();
}

}  // namespace kv::ui
