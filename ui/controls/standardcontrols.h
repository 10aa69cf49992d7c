#pragma once
// The class functions of the standard controls, graphics objects and the colour dialog, by
// name (TEDIT(), TCHECKBOX() ...), so expressions can make them.
namespace kv::ui {

void registerStandardControls();

}  // namespace kv::ui
