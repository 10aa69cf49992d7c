#include "ui/core/keys.h"

#include <QKeyEvent>

namespace kv::ui {

namespace {

struct KeyPair {
  int qt;
  int vk;
};

constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, kVkBack},
    {Qt::Key_Tab, kVkTab},
    {Qt::Key_Backtab, kVkTab},
    {Qt::Key_Return, kVkReturn},
    {Qt::Key_Enter, kVkReturn},
    {Qt::Key_Shift, kVkShift},
    {Qt::Key_Control, kVkControl},
    {Qt::Key_Alt, kVkMenu},
    {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, kVkEscape},
    {Qt::Key_Space, kVkSpace},
    {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},
    {Qt::Key_Home, 36},
    {Qt::Key_Left, kVkLeft},
    {Qt::Key_Up, kVkUp},
    {Qt::Key_Right, kVkRight},
    {Qt::Key_Down, kVkDown},
    {Qt::Key_Print, 44},
    {Qt::Key_Insert, 45},
    {Qt::Key_Delete, kVkDelete},
    {Qt::Key_Help, 47},
    {Qt::Key_Menu, 93},
    {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},
    {Qt::Key_Asterisk, 106},
    {Qt::Key_Plus, 187},
    {Qt::Key_Comma, 188},
    {Qt::Key_Minus, 189},
    {Qt::Key_Period, 190},
    {Qt::Key_Slash, 191},
};

}  // namespace

int virtualKeyOf(const QKeyEvent* event) {
  const int key = event->key();
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    // Digits of the numeric keypad have codes of their own.
    if (event->modifiers() & Qt::KeypadModifier) return 96 + (key - Qt::Key_0);
    return '0' + (key - Qt::Key_0);
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
  for (const KeyPair& k : kKeys) {
    if (k.qt == key) return k.vk;
  }
  return 0;
}

int qtKeyOf(int vk) {
  if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + (vk - 'A');
  if (vk >= '0' && vk <= '9') return Qt::Key_0 + (vk - '0');
  if (vk >= 96 && vk <= 105) return Qt::Key_0 + (vk - 96);
  if (vk >= 112 && vk <= 135) return Qt::Key_F1 + (vk - 112);
  for (const KeyPair& k : kKeys) {
    if (k.vk == vk) return k.qt;
  }
  return 0;
}

int keyDataOf(const QKeyEvent* event) {
  unsigned data = static_cast<unsigned>(event->count() > 0 ? event->count() : 1) & 0xFFFFu;
  data |= (event->nativeScanCode() & 0xFFu) << 16;
  if (event->modifiers() & Qt::KeypadModifier) data |= 1u << 24;
  if (event->type() == QEvent::KeyRelease) data |= 1u << 31;
  return static_cast<int>(data);
}

}  // namespace kv::ui
