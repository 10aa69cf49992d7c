#include "ui/controls/standardcontrols.h"

#include <iterator>
#include <utility>

#include "runtime/symbols.h"
#include "ui/controls/checkbox.h"
#include "ui/controls/combobox.h"
#include "ui/controls/edit.h"
#include "ui/controls/groupbox.h"
#include "ui/controls/labelededit.h"
#include "ui/controls/memo.h"
#include "ui/controls/radiobutton.h"

namespace kv::ui {

namespace {

struct ClassFunction {
  const char* name;
  Value (*fn)();
};

constexpr ClassFunction kClassFunctions[] = {
    {"TEDIT", &TEdit},         {"TLABELEDEDIT", &TLabeledEdit}, {"TMEMO", &TMemo},
    {"TCHECKBOX", &TCheckBox}, {"TRADIOBUTTON", &TRadioButton}, {"TGROUPBOX", &TGroupBox},
    {"TCOMBOBOX", &TComboBox},
};

template <std::size_t I>
Value call(Args) {
  return kClassFunctions[I].fn();
}

template <std::size_t... I>
void registerAll(std::index_sequence<I...>) {
  (registerFunction(kClassFunctions[I].name, &call<I>), ...);
}

}  // namespace

void registerStandardControls() {
  registerAll(std::make_index_sequence<std::size(kClassFunctions)>());
}

}  // namespace kv::ui
