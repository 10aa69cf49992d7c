#pragma once
// Printers and print jobs. The system's printers come from its print service (CUPS); a job
// plays recorded pages onto the whole physical sheet of a printer, so millimetres are
// measured from the sheet's corner and not from the printable area.
#include <string>
#include <vector>

#include "ui/printer/papergeometry.h"
#include "ui/printer/recordeddocument.h"

class QPrinter;

namespace kv::ui {

// The installed printers, the default first; the other printers follow in the order the
// system lists them. When the system names no default, the first printer it lists stands
// in for it. Empty when there is no printer (or no print service).
std::vector<std::string> systemPrinters();
// True when `name` is an installed printer now.
bool printerInstalled(const std::string& name);

// The page numbers (1-based) a job prints, in order: pages `from` to `to` of a document of
// `pageCount` pages (the range held to the document), each page `copies` times; collated,
// the whole range once per copy, else each page its copies in a row. Copies below 1 count as
// one.
std::vector<int> printSequence(int from, int to, int pageCount, int copies, bool collate);

// The paper of a job or PDF page: PageSize value, custom size and the orientation.
struct PaperChoice {
  int pageSize = kPaperA4;
  int customWidth = 0, customHeight = 0;
  int orientation = kPortrait;
  PageGeometry geometry() const {
    return pageGeometry(pageSize, customWidth, customHeight, orientation);
  }
};

// Sets `printer` to print on the whole sheet of the paper in its orientation, one copy, not
// collated. A paper of no size leaves the printer's own paper.
void setPrinterPaper(QPrinter& printer, const PaperChoice& paper);

// Prints the pages `order` names (1-based into `pages`) on `printer` as one job named
// `title`, each page in its own orientation on the paper of `paper`. False, with nothing
// printed and the system's reason in `reason`, when the printer cannot be opened.
bool printPages(QPrinter& printer, const std::vector<RecordedPage>& pages,
                const std::vector<int>& order, PaperChoice paper, const std::string& title,
                std::string& reason);

}  // namespace kv::ui
