#include "ui/controls/standardcontrols.h"

#include <iterator>
#include <utility>

#include "runtime/lang/symbols.h"
#include "ui/controls/checkbox.h"
#include "ui/controls/combobox.h"
#include "ui/controls/edit.h"
#include "ui/controls/groupbox.h"
#include "ui/controls/labelededit.h"
#include "ui/controls/memo.h"
#include "ui/controls/radiobutton.h"
#include "ui/controls/speedbutton.h"
#include "ui/controls/timer.h"
#include "ui/controls/datetimepicker.h"
#include "ui/dialogs/colordialog.h"
#include "ui/graphics/bitmap.h"
#include "ui/graphics/brush.h"
#include "ui/graphics/cursor.h"
#include "ui/graphics/font.h"
#include "ui/graphics/picture.h"

namespace kv::ui {

namespace {

struct ClassFunction {
  const char* name;
  Value (*fn)();
};

constexpr ClassFunction kClassFunctions[] = {
    {"TEDIT", &TEdit},
    {"TLABELEDEDIT", &TLabeledEdit},
    {"TMEMO", &TMemo},
    {"TCHECKBOX", &TCheckBox},
    {"TRADIOBUTTON", &TRadioButton},
    {"TGROUPBOX", &TGroupBox},
    {"TCOMBOBOX", &TComboBox},
    {"TSPEEDBUTTON", &TSpeedButton},
    {"TDATETIMEPICKER", &TDateTimePicker},
    {"TTIMER", &TTimer},
    {"TCOLORDIALOG", &TColorDialog},
    {"TFONT", &TFont},
    {"TBRUSH", &TBrush},
    {"TPEN", &TPen},
    {"TICON", &TIcon},
    {"TBITMAP", &TBitmap},
    {"TJPEG", &TJPeg},
    {"TGIF", &TGif},
    {"TPICTURE", &TPicture},
    {"TCURSOR", &TCursor},
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
