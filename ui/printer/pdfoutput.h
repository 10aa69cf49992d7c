#pragma once
// PDF output of recorded pages: vector pages with real, extractable text, each of the
// paper's size in the page's own orientation (the long side as width in landscape), with
// the document information "Creator" and "Title". A page whose content came from an enhanced
// recording is drawn 40 points in from every edge of its sheet.
//
// The file is written to a temporary file in the target's directory and renamed over the
// target once it is complete, so a failure leaves no file behind and an existing file of
// that name untouched.
#include <functional>
#include <string>
#include <vector>

#include "ui/printer/printjob.h"
#include "ui/printer/recordeddocument.h"

namespace kv::ui {

// Writes `pages` (with none: one empty page of the paper in its orientation) to `file`
// (Windows-1250 name). `betweenPages` runs before each page. False for an empty name, a file
// that cannot be made, and a write that fails.
bool writePdf(const std::string& file, const std::vector<RecordedPage>& pages,
              const PaperChoice& paper, const std::string& creator, const std::string& title,
              const std::function<void()>& betweenPages = {});

}  // namespace kv::ui
