// The printer's messages, in the order the class registers them.
#include <vector>

#include "ui/core/messages.h"
#include "ui/graphics/bitmap.h"
#include "ui/graphics/picture.h"
#include "ui/printer/printer.h"

namespace kv::ui {

namespace {

// An array of at least four numbers as a rectangle (or line); false for anything else, and
// the drawing call then does nothing.
bool rectArg(const Value& v, MmRect& out) {
  const Value& a = v.deref();
  if (!a.isArray() || a.arrayLen() < 4) return false;
  double n[4];
  for (int i = 0; i < 4; ++i) {
    const Value& e = a.arr()->items[i].deref();
    if (!e.isNumber()) return false;
    n[i] = e.asDouble();
  }
  out = {n[0], n[1], n[2], n[3]};
  return true;
}

// The image a handle (or object) names: a bitmap's, or what a picture shows.
QImage imageArg(const Value& v) {
  const Value& d = v.deref();
  GraphicsObject* g = d.isNumber() ? graphicsObjectOf(d.asInt()) : libraryAs<GraphicsObject>(d);
  if (auto* b = dynamic_cast<Bitmap*>(g)) return b->pixmap().toImage();
  if (auto* p = dynamic_cast<Picture*>(g)) return p->pixmap().toImage();
  return QImage();
}

QIcon iconArg(const Value& v) {
  const Value& d = v.deref();
  GraphicsObject* g = d.isNumber() ? graphicsObjectOf(d.asInt()) : libraryAs<GraphicsObject>(d);
  if (auto* i = dynamic_cast<Icon*>(g)) return i->qicon();
  return QIcon();
}

template <class Fn>
void rectMethod(ClassDef* cls, const char* name, Fn fn) {
  method<Printer>(cls, name, [fn](Printer& p, Args a) -> Value {
    MmRect r;
    if (rectArg(arg(a, 0), r)) fn(p, r);
    return Value();
  });
}

void registerPrinterMessagesImpl(ClassDef* cls) {
  property<Printer>(
      cls, "Active", [](Printer& p) { return Value(p.active()); },
      [](Printer& p, const Value& v, Args a) {
        std::string name;
        if (stringArg(v, name, "_ACTIVE", a)) p.setActive(name);
      });
  method<Printer>(cls, "BeginDoc", [](Printer& p, Args) {
    p.beginDoc();
    return Value();
  });
  method<Printer>(cls, "BeginEnhHandle",
                  [](Printer& p, Args) { return Value(p.beginEnhHandle()); });
  readOnly<Printer>(cls, "Brush", [](Printer& p) { return p.brushObject(); });
  readOnly<Printer>(cls, "Default", [](Printer& p) { return Value(p.defaultPrinter()); });
  method<Printer>(cls, "DrawBitmap", [](Printer& p, Args a) -> Value {
    MmRect box;
    if (rectArg(arg(a, 1), box)) p.drawBitmap(imageArg(arg(a, 0)), box);
    return Value();
  });
  rectMethod(cls, "DrawBox", [](Printer& p, const MmRect& r) { p.drawBox(r); });
  method<Printer>(cls, "DrawIcon", [](Printer& p, Args a) -> Value {
    MmRect r;
    if (rectArg(arg(a, 1), r)) p.drawIcon(iconArg(arg(a, 0)), r);
    return Value();
  });
  rectMethod(cls, "DrawLine", [](Printer& p, const MmRect& r) { p.drawLine(r); });
  rectMethod(cls, "DrawShadow", [](Printer& p, const MmRect& r) { p.drawShadow(r); });
  method<Printer>(cls, "DrawText", [](Printer& p, Args a) -> Value {
    const Value& text = arg(a, 0);
    MmRect r;
    if (text.isString() && rectArg(arg(a, 1), r)) {
      const Value& align = arg(a, 2);
      p.drawText(std::string(text.str()), r, align.isNumber() ? align.asInt() : 0);
    }
    return Value();
  });
  method<Printer>(cls, "EndDoc", [](Printer& p, Args) {
    p.endDoc();
    return Value();
  });
  readOnly<Printer>(cls, "Font", [](Printer& p) { return p.fontObject(); });
  readOnly<Printer>(cls, "Handle", [](Printer& p) { return Value(p.handle()); });
  method<Printer>(cls, "Millimeter2Printer", [](Printer& p, Args a) -> Value {
    const Value& v = arg(a, 0);
    std::vector<double> mm;
    if (v.isArray()) {
      for (const Value& e : v.arr()->items)
        mm.push_back(e.deref().isNumber() ? e.deref().asDouble() : 0);
    }
    Value out = Value::newArray();
    for (int n : p.millimeter2Printer(mm)) out.arr()->items.push_back(Value(n));
    return out;
  });
  method<Printer>(cls, "NewPage", [](Printer& p, Args) {
    p.newPage();
    return Value();
  });
  event<Printer>(cls, "OnPreview", kOnPreview);
  property<Printer>(
      cls, "Orientation", [](Printer& p) { return Value(p.orientation()); },
      [](Printer& p, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_ORIENTATION", a)) p.setOrientation(n);
      });
  property<Printer>(
      cls, "PageHeight", [](Printer& p) { return Value(p.pageHeight()); },
      [](Printer& p, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_PAGEHEIGHT", a)) p.setPageHeight(n);
      });
  readOnly<Printer>(cls, "PageNumber", [](Printer& p) { return Value(p.pages()); });
  property<Printer>(
      cls, "PageSize", [](Printer& p) { return Value(p.pageSize()); },
      [](Printer& p, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_PAGESIZE", a)) p.setPageSize(n);
      });
  property<Printer>(
      cls, "PageWidth", [](Printer& p) { return Value(p.pageWidth()); },
      [](Printer& p, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_PAGEWIDTH", a)) p.setPageWidth(n);
      });
  readOnly<Printer>(cls, "Pen", [](Printer& p) { return p.penObject(); });
  method<Printer>(cls, "PlayEnhHandle", [](Printer& p, Args) {
    p.playEnhHandle();
    return Value();
  });
  method<Printer>(cls, "Preview", [](Printer& p, Args) {
    p.preview();
    return Value();
  });
  method<Printer>(cls, "Print", [](Printer& p, Args) {
    p.print();
    return Value();
  });
  readOnly<Printer>(cls, "Printers", [](Printer& p) {
    Value list = Value::newArray();
    for (const std::string& name : p.printers()) list.arr()->items.push_back(Value(name));
    return list;
  });
  property<Printer>(
      cls, "ShowDialog", [](Printer& p) { return Value(p.showDialog()); },
      [](Printer& p, const Value& v, Args a) {
        bool on;
        if (boolArg(v, on, "_SHOWDIALOG", a)) p.setShowDialog(on);
      });
  property<Printer>(
      cls, "Title", [](Printer& p) { return Value(p.title()); },
      [](Printer& p, const Value& v, Args a) {
        std::string t;
        if (stringArg(v, t, "_TITLE", a)) p.setTitle(t);
      });
  method<Printer>(cls, "ToPDF", [](Printer& p, Args a) -> Value {
    const Value& file = arg(a, 0);
    return Value(file.isString() && p.toPdf(std::string(file.str())));
  });
  property<Printer>(
      cls, "Transparent", [](Printer& p) { return Value(p.transparent()); },
      [](Printer& p, const Value& v, Args a) {
        bool on;
        if (boolArg(v, on, "_TRANSPARENT", a)) p.setTransparent(on);
      });
}

}  // namespace

void registerPrinterMessages(ClassDef* cls) {
  registerPrinterMessagesImpl(cls);
}

}  // namespace kv::ui
