#pragma once
// The recorded document: the printer's pages, each a QPicture drawn in the logical space of
// the page's geometry, with the orientation the page was started in and whether its content
// came from an enhanced recording (see beginEnhanced). Recording runs from begin to end; each
// page is open for drawing from its start until the next page starts or the document ends.
#include <QPainter>
#include <QPicture>

#include <memory>
#include <vector>

#include "ui/core/devicecontext.h"

namespace kv::ui {

struct RecordedPage {
  QPicture picture;
  int orientation = 0;
  bool enhanced = false;
};

class RecordedDocument {
 public:
  RecordedDocument();
  ~RecordedDocument();
  RecordedDocument(const RecordedDocument&) = delete;
  RecordedDocument& operator=(const RecordedDocument&) = delete;

  bool recording() const { return recording_; }
  // Starts a new document: the page being drawn and every recorded page are dropped. False,
  // changing nothing, while a document is being recorded.
  bool begin();
  // Closes the page being drawn (it joins the pages) and opens a new one in `orientation`;
  // answers its painter. Null when no document is being recorded.
  QPainter* startPage(int orientation);
  // Closes the page being drawn and ends the recording.
  void end();

  // The painter of the page being drawn; null when none is open.
  QPainter* painter() const { return painter_.get(); }
  // Its drawing-context handle (0 when no page is open).
  int handle() const { return context_ ? context_->handle() : 0; }
  // Pages started so far, the open one included.
  int pageCount() const { return static_cast<int>(pages_.size()) + (painter_ ? 1 : 0); }
  // The closed pages.
  const std::vector<RecordedPage>& pages() const { return pages_; }

  // Enhanced recording: a separate picture drawn through the answered painter (and its
  // handle); playEnhanced closes it and, when a page is open, makes it that page's whole
  // content, marking the page as enhanced. beginEnhanced drops an enhanced recording still
  // open. playEnhanced without one does nothing.
  QPainter* beginEnhanced();
  int enhancedHandle() const { return enhContext_ ? enhContext_->handle() : 0; }
  void playEnhanced();

 private:
  void closePage();

  bool recording_ = false;
  std::vector<RecordedPage> pages_;
  // The page being drawn.
  std::unique_ptr<RecordedPage> open_;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<DeviceContext> context_;
  // The enhanced recording.
  std::unique_ptr<QPicture> enh_;
  std::unique_ptr<QPainter> enhPainter_;
  std::unique_ptr<DeviceContext> enhContext_;
};

}  // namespace kv::ui
