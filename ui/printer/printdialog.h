#pragma once
// The print dialog (TPrintDialog). Execute shows the system's print dialog for a printer,
// started from that printer's settings and from the dialog's own: the page range FromPage to
// ToPage (pages from 1 up to the document's page count), Copies and Collate, the page-range
// choice selected when AllPages is false, no "selection" choice, the Caption as its title.
// Meanwhile every other form is disabled as for a modal form.
//
// Ok: Name becomes the chosen printer's name, Copies the copies entered, Collate whether
// collation was chosen, Orientation whether landscape was chosen, AllPages true unless a page
// range was chosen, FromPage and ToPage the range entered; the printer keeps what was chosen
// (a print to a file included). Answers true. Cancel changes nothing and answers false.
#include <string>

#include "ui/core/component.h"

class QPrinter;

namespace kv::ui {

class PrintDialog : public Component {
 public:
  bool allPages = true;
  bool collate = false;
  int copies = 1;
  int fromPage = 1;
  int toPage = 1;
  std::string name;          // read-only to the language
  bool orientation = false;  // read-only: landscape chosen
  std::string caption;
  // The highest page the range may name (the document's page count).
  int maxPage = 1;

  // Runs the dialog on `printer`.
  bool execute(QPrinter& printer);
  // The language's Execute: on the system's default printer (false when there is none).
  bool execute();
};

extern const LibClass kPrintDialogClass;
Value TPrintDialog();

}  // namespace kv::ui
