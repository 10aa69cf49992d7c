#pragma once
// Speed buttons: buttons (Cancel, ModalResult, OnClick as a TButton) that show a glyph, the
// picture of their read-only `Glyph` (a TPicture), drawn with its mask colour transparent,
// beside or in place of the caption.
#include "ui/controls/button.h"
#include "ui/graphics/picture.h"

namespace kv::ui {

class SpeedButton : public Button {
 public:
  SpeedButton();

  Picture* glyph() const { return glyph_.get(); }
  const Value& glyphObject() const { return glyph_.object(); }

 protected:
  QWidget* makeWidget(QWidget* parent) override;
  void applyState() override;
  void release() override;

 private:
  void applyGlyph();
  SubObject<Picture> glyph_;
};

extern const LibClass kSpeedButtonClass;
Value TSpeedButton();

}  // namespace kv::ui
