#pragma once
// The preview control (TPreview): a window control, 146 x 150 pixels at first, grey
// (colour 12632256), showing one page of the printer's recorded document on a white page
// area with scroll bars. On creation it registers itself with Printer, which resets it when
// Printer:Preview runs; on destruction it unregisters.
//
// View modes: full size (ViewFullSize) fits the whole page into the control less 100 pixels
// each way, centred; normal (ViewNormal, the start) makes the page as wide as the control
// less 100 pixels, as high as its proportions give, scrolling vertically; zoom (ViewZoom)
// makes it twice the normal size for a page wider than tall, 1.5 times for one taller than
// wide. Around the page lies a margin of 50 pixels; a scroll step is 20 pixels in normal
// view and 40 in zoom.
//
// Page is the page shown (1-based); setting it to a page outside 1 to the page count is
// ignored, else the page is shown and OnPageChanged runs. Pages is the printer's page count.
// A page number above the page count shows no page.
#include <QPointer>
#include <QRect>

#include "ui/controls/wincontrol.h"
#include "ui/printer/printer.h"

class QScrollBar;

namespace kv::ui {

class Preview : public WinControl, public PagePreview {
 public:
  enum class View { FullSize, Normal, Zoom };

  Preview();
  ~Preview() override;

  int page() const { return page_; }
  void setPage(int n);
  int pages() const;
  View view() const { return view_; }
  void setView(View v);
  // The scroll position in pixels.
  int scrollX() const { return scrollX_; }
  int scrollY() const { return scrollY_; }
  void scrollTo(int x, int y);
  int scrollStep() const { return view_ == View::Zoom ? 40 : 20; }
  // Where the page lies in the control's client area now (scrolling applied).
  QRect pageRect() const;

  void reset() override;
  void detachPrinter() override { printer_ = nullptr; }

  void createImpl(Args args) override;

 protected:
  QWidget* makeWidget(QWidget* parent) override;
  void applyState() override;
  void applyBounds() override;
  bool paintsItself() const override { return true; }
  void paintContent(QPainter& painter) override;
  void release() override;

 private:
  // The page's size in pixels in the current view for a viewport of `width` x `height`.
  QSize pageSize(int width, int height) const;
  // Lays out the scroll bars and keeps the scroll position in range.
  void layout();
  void scrolled();
  const RecordedPage* shownPage() const;

  Printer* printer_ = nullptr;
  int page_ = 1;
  View view_ = View::Normal;
  int scrollX_ = 0, scrollY_ = 0;
  QPointer<QScrollBar> vertical_;
  QPointer<QScrollBar> horizontal_;
};

extern const LibClass kPreviewClass;
Value TPreview();

}  // namespace kv::ui
