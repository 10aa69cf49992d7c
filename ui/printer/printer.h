#pragma once
// The printer (TPrinter, the public Printer; the class answers the same object on every
// call). A document is recorded page by page between beginDoc and endDoc, drawn in
// millimetres from the sheet's top-left corner into pages of 2048 logical units to the inch,
// and afterwards sent any number of times: to the printer (print), to the preview controls
// (preview) or to a PDF file (toPdf). beginDoc drops the pages of the document before.
//
// Settings: Title (the document's name: the print job's and the PDF's title), ShowDialog
// (print asks with the print dialog first; default true), Orientation (0 portrait, the
// default; 1 landscape), PageSize (a paper code 0 to 31, default 4 = A4; 0 is the custom size
// of PageWidth x PageHeight whole millimetres; paper codes and custom sizes are ignored while
// a document is being recorded), Transparent (text without the opaque background in the
// brush's colour, default false). Font, Brush and Pen (width 6 logical units) are the tools
// of the page being recorded: a change applies to it at once.
//
// Drawing calls made while no page is open do nothing. Printers are those of the system,
// the default first, read when the printer is made; Active is the one in use (the default at
// first), Default the system's default.
#include <QIcon>
#include <QImage>

#include <memory>
#include <string>
#include <vector>

#include "ui/core/component.h"
#include "ui/graphics/brush.h"
#include "ui/graphics/font.h"
#include "ui/printer/papergeometry.h"
#include "ui/printer/printjob.h"
#include "ui/printer/recordeddocument.h"

namespace kv::ui {

// A control that shows the printer's pages (TPreview) as the printer sees it.
class PagePreview {
 public:
  // Back to the start: scrolled to the top, normal view, page 1.
  virtual void reset() = 0;
  // The printer is going: the control forgets it.
  virtual void detachPrinter() = 0;

 protected:
  ~PagePreview() = default;
};

class Printer : public Component {
 public:
  Printer();
  ~Printer() override;

  // --- settings
  const std::string& title() const { return title_; }
  void setTitle(std::string title) { title_ = std::move(title); }
  bool showDialog() const { return showDialog_; }
  void setShowDialog(bool on) { showDialog_ = on; }
  int orientation() const { return orientation_; }
  void setOrientation(int orientation);
  int pageSize() const { return pageSize_; }
  void setPageSize(int value);
  // The paper's width and height in whole millimetres (portrait); setting one makes the
  // paper custom, keeping the other.
  int pageWidth() const { return geometry_.paperWidth; }
  int pageHeight() const { return geometry_.paperHeight; }
  void setPageWidth(int mm);
  void setPageHeight(int mm);
  bool transparent() const { return transparent_; }
  void setTransparent(bool on);
  const PageGeometry& geometry() const { return geometry_; }
  PaperChoice paper() const { return {pageSize_, customWidth_, customHeight_, orientation_}; }

  // The tools are made on first use (a page's start uses them all).
  Font* font() const;
  Brush* brush() const;
  Pen* pen() const;
  const Value& fontObject() const;
  const Value& brushObject() const;
  const Value& penObject() const;
  // Face, size in points and weight of the font at once.
  void setFont(const std::string& face, int points, bool bold);

  // --- printers
  const std::vector<std::string>& printers() const { return printers_; }
  const std::string& defaultPrinter() const { return default_; }
  const std::string& active() const { return active_; }
  // Selects an installed printer by name; other names (and the one in use) are ignored.
  void setActive(const std::string& name);

  // --- recording
  // Starts a new document (no page yet); false, changing nothing, while recording.
  bool beginDoc();
  // Closes the open page and opens the next; nothing when not recording.
  void newPage();
  // Closes the open page and ends the recording.
  void endDoc();
  bool recording() const { return doc_.recording(); }
  // Pages recorded (PageNumber), the open page included.
  int pages() const { return doc_.pageCount(); }
  const RecordedDocument& document() const { return doc_; }
  // The drawing context of the open page (0 when none).
  int handle() const { return doc_.handle(); }
  // An enhanced recording: its drawing context (also given the page's tools), whose content
  // playEnhHandle makes the open page's whole content.
  int beginEnhHandle();
  void playEnhHandle();

  // --- drawing (millimetres from the sheet's corner)
  // Windows-1250 text in `r`, clipped to it, top at r's top; `align` 0 left, 2 right, any
  // other value centred.
  void drawText(const std::string& text, MmRect r, int align);
  void drawBox(MmRect r);
  void drawLine(MmRect line);
  void drawShadow(MmRect r);
  // `box` is {left, top, width, height}; a width or height of 0 keeps the proportions.
  void drawBitmap(const QImage& image, MmRect box);
  void drawIcon(const QIcon& icon, MmRect r);
  // Millimetres to logical units: the odd (1st, 3rd ...) values as x, the even ones as y.
  std::vector<int> millimeter2Printer(const std::vector<double>& mm) const;

  // --- output
  // Sends the pages to the printer (see printer.cpp for the steps).
  void print();
  // Writes the pages to a PDF file; false with nothing left behind on failure.
  bool toPdf(const std::string& file);
  // Resets every preview control to the first page, then runs OnPreview.
  void preview();
  void addPreview(PagePreview* p);
  void removePreview(PagePreview* p);
  const std::vector<PagePreview*>& previews() const { return previews_; }

 protected:
  void release() override;

 private:
  // The tools are made by const accessors; they change only the printer's own members.
  Printer* self() const { return const_cast<Printer*>(this); }
  void recompute();
  void applyTools(QPainter& p) const;
  void toolsChanged();

  std::string title_;
  bool showDialog_ = true;
  int orientation_ = kPortrait;
  int pageSize_ = kPaperA4;
  int customWidth_ = 0, customHeight_ = 0;
  bool transparent_ = false;
  PageGeometry geometry_;
  mutable std::unique_ptr<SubObject<Brush>> brush_;
  mutable std::unique_ptr<SubObject<Font>> font_;
  mutable std::unique_ptr<SubObject<Pen>> pen_;
  std::vector<std::string> printers_;
  std::string default_;
  std::string active_;
  RecordedDocument doc_;
  std::vector<PagePreview*> previews_;
};

// The printer while it exists, else null.
Printer* printer();

// The text written to standard error when Print finds no printer.
extern const char* const kNoPrinterWarning;

extern const LibClass kPrinterClass;
Value TPrinter();

}  // namespace kv::ui
