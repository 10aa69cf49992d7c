#include "app/fkalvedo_print.h"

namespace kv::app {

namespace {

const FormMethodEntry kMethods[] = {
    {"bStampajNalogOnClick", &bStampajNalogOnClick},
};

}  // namespace

Value bStampajNalogOnClick(const Value&, Args) {
  return notBuiltYet("bStampajNalogOnClick");
}

std::span<const FormMethodEntry> printMethods() {
  return kMethods;
}

}  // namespace kv::app
