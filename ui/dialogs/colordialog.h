#pragma once
// The colour dialog (TColorDialog): Execute shows the system's colour chooser (Qt's, with
// its custom colours shown) starting with Color (a negative Color is first turned into the
// system colour it stands for), with the dialog's Caption and Icon. Meanwhile every other
// form is disabled as for a modal form. Ok stores the chosen colour in Color and answers
// true; Cancel answers false and leaves Color. The 16 custom colours are one table for the
// whole process, kept between calls. Afterwards the other forms are enabled again and the
// previously active window is brought back to the top.
#include <memory>
#include <string>

#include "ui/core/component.h"
#include "ui/graphics/bitmap.h"
#include "ui/graphics/graphicsobject.h"

namespace kv::ui {

class ColorDialog : public Component {
 public:
  ColorDialog();

  int color = 0;
  std::string caption;
  Icon* icon() const { return icon_.get(); }
  const Value& iconObject() const { return icon_.object(); }
  bool execute();

 protected:
  void release() override;

 private:
  SubObject<Icon> icon_;
};

extern const LibClass kColorDialogClass;
Value TColorDialog();

}  // namespace kv::ui
