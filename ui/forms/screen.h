#pragma once
// The screen object (the public Screen): the forms that exist, in creation order, and the
// screen's size in pixels, asked of the window system at each call. A form joins the list
// when its Create runs and leaves it when it is destroyed.
#include <vector>

#include "ui/core/component.h"

namespace kv::ui {

class Form;

class Screen : public Component {};

// The forms in creation order.
const std::vector<Form*>& screenForms();
void addScreenForm(Form* form);
void removeScreenForm(Form* form);

// The primary screen's width and height in pixels (0 without a screen), and its logical
// pixels per inch.
int screenWidth();
int screenHeight();
int screenPixelsPerInch();

extern const LibClass kScreenClass;
Value TScreen();

}  // namespace kv::ui
