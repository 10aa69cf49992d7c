#pragma once
// Keys as the library's handlers see them: virtual-key codes and the key-data word of the
// window system's key messages, translated from Qt's key events and back.
class QKeyEvent;

namespace kv::ui {

// Virtual-key codes the library itself acts on.
enum VirtualKey : int {
  kVkBack = 8,
  kVkTab = 9,
  kVkReturn = 13,
  kVkShift = 16,
  kVkControl = 17,
  kVkMenu = 18,
  kVkEscape = 27,
  kVkSpace = 32,
  kVkLeft = 37,
  kVkUp = 38,
  kVkRight = 39,
  kVkDown = 40,
  kVkDelete = 46,
};

// The virtual-key code of a key event (0 for a key without one).
int virtualKeyOf(const QKeyEvent* event);
// The Qt key of a virtual-key code (0 when there is none).
int qtKeyOf(int virtualKey);
// The key-data word: repeat count in bits 0-15, scan code in bits 16-23, the extended-key
// flag in bit 24, the transition flag in bit 31 for a release.
int keyDataOf(const QKeyEvent* event);

}  // namespace kv::ui
