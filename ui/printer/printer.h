#pragma once
// The printer object (the public Printer). For now a component that answers only the root's
// messages; the printer with its pages, preview and PDF output builds on it.
#include "ui/core/component.h"

namespace kv::ui {

class Printer : public Component {};

extern const LibClass kPrinterClass;
Value TPrinter();

}  // namespace kv::ui
