#include "app/fkalvedo_print.h"

#include <cmath>
#include <optional>
#include <string>

#include "app/core/appsettings.h"
#include "app/core/messagedlg.h"
#include "app/core/ordersheet.h"
#include "app/core/orderrecord.h"
#include "app/fkalvedo_orderform.h"
#include "app/ordersheetprint.h"
#include "runtime/error/callstack.h"
#include "runtime/format/numfmt.h"
#include "runtime/lang/eventpoll.h"
#include "runtime/lang/memvars.h"
#include "runtime/lib/strings.h"
#include "ui/printer/printer.h"

namespace kv::app {

namespace {

const FormMethodEntry kMethods[] = {
    {"bStampajNalogOnClick", &bStampajNalogOnClick},
};

constexpr const char* kPrintingText = "Stampa u toku. Molim sacekajte...";

// The number as the order's key is sought: five digits with leading zeros (0 and no number
// give "00000", which no order has). A number of more than five digits keeps all its digits,
// so the box names the number the user typed.
std::string soughtNumberText(const Value& number) {
  const double n = number.isNumber() ? std::trunc(number.asDouble()) : 0;
  if (n >= 0 && n <= kMaxOrderNumber) return orderNumberText(static_cast<int>(n));
  return std::string(ALLTRIM(STR(Value(n), Value(20))).str());
}

}  // namespace

Value bStampajNalogOnClick(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "BSTAMPAJNALOGONCLICK");
  const std::string numberText = soughtNumberText(orderNumberValue(self));
  const std::optional<OrderSheetData> sheet = findOrderSheet(numberText);
  if (!sheet) {
    MessageDlg(Value("Nalog broj " + numberText + " ne postoji u bazi podataka!"), Value(2),
               Value(2), Value(5));
    return Value();
  }
  KV_LINE();
  WaitBox wait(kPrintingText);
  ui::Printer* printer = ui::printer();
  if (printer == nullptr) return Value();
  recordOrderDocument(*printer, *sheet, printCopies(), [] { eventPoll(); });
  printer->setShowDialog(memvarGet("lIzborStampaca").asBool());
  printer->print();
  return Value();
}

std::span<const FormMethodEntry> printMethods() {
  return kMethods;
}

}  // namespace kv::app
