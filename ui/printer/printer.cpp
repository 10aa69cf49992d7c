#include "ui/printer/printer.h"

namespace kv::ui {

namespace {

LibObject* makePrinter() {
  return new Printer;
}

}  // namespace

const LibClass kPrinterClass = {"TPrinter", &kComponentClass, &makePrinter, nullptr};

Value TPrinter() {
  return classFunction(kPrinterClass);
}

}  // namespace kv::ui
