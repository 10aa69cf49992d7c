#pragma once
// Fonts (TFont): face (Name, default "MS Sans Serif"), Size in points (default 8), Height
// in pixels (negative: the character height, as the forms give it), Bold, Italic,
// Underline, StrikeOut and Color. Assign copies another font. The owner shows every change.
#include <QFont>
#include <string>

#include "ui/graphics/graphicsobject.h"

namespace kv::ui {

class Font : public GraphicsObject {
 public:
  Font();

  std::string face() const;
  void setName(const Value& v) override;
  int size() const { return size_; }
  void setSize(int points);
  int height() const;
  void setHeight(int height);
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int color = 0;
  void assign(const Font& other);
  void touch() { notify(); }

  // The Qt font (the face mapped to one this system has).
  QFont qfont() const;

 private:
  int size_;
};

extern const LibClass kFontClass;
Value TFont();

}  // namespace kv::ui
