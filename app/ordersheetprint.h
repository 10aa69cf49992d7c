#pragma once
// Putting the printed work order on the printer: the sheet's drawing items played onto the
// printer's open page, and the whole document of an order recorded, one sheet per copy.
#include <functional>
#include <vector>

#include "app/core/ordersheet.h"
#include "ui/printer/printer.h"

namespace kv::app {

// Draws the items on the printer's open page, in their order: a text in "Arial" at its size
// and weight, clipped to its rectangle at its alignment; a box's outline; a line.
void playSheetItems(ui::Printer& printer, const std::vector<SheetItem>& items);

// Records the order's document on the printer: title orderSheetTitle, portrait A4, "Arial" 8,
// then for each of `copies` copies (none when 0 or less) a new page carrying the upper form
// and the lower form. `poll` runs at each step of both loops. The printer is left with the
// recorded pages, ready to be sent.
void recordOrderDocument(ui::Printer& printer, const OrderSheetData& sheet, int copies,
                         const std::function<void()>& poll);

}  // namespace kv::app
