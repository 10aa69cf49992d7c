#pragma once
// A form's border icons (its BorderIcons sub-object): the system menu with the close box, the
// minimise and maximise boxes, and the context-help box. All but Help are on by default;
// changing one gives the form's window its new flags.
#include "ui/core/libclass.h"
#include "ui/core/libobject.h"

namespace kv::ui {

class Form;

class BorderIcons : public LibObject {
 public:
  bool help = false;
  bool maximize = true;
  bool minimize = true;
  bool systemMenu = true;
  Form* form = nullptr;  // the form that owns the sub-object
  LibObject* ownerObject() const override;
};

extern const LibClass kBorderIconsClass;

}  // namespace kv::ui
