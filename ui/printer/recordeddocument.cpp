#include "ui/printer/recordeddocument.h"

namespace kv::ui {

RecordedDocument::RecordedDocument() = default;

RecordedDocument::~RecordedDocument() {
  enhContext_.reset();
  if (enhPainter_) enhPainter_->end();
  context_.reset();
  if (painter_) painter_->end();
}

bool RecordedDocument::begin() {
  if (recording_) return false;
  context_.reset();
  if (painter_) painter_->end();
  painter_.reset();
  open_.reset();
  pages_.clear();
  recording_ = true;
  return true;
}

void RecordedDocument::closePage() {
  if (!painter_) return;
  context_.reset();
  painter_->end();
  painter_.reset();
  pages_.push_back(std::move(*open_));
  open_.reset();
}

QPainter* RecordedDocument::startPage(int orientation) {
  if (!recording_) return nullptr;
  closePage();
  open_ = std::make_unique<RecordedPage>();
  open_->orientation = orientation;
  painter_ = std::make_unique<QPainter>(&open_->picture);
  context_ = std::make_unique<DeviceContext>(painter_.get());
  return painter_.get();
}

void RecordedDocument::end() {
  if (!recording_) return;
  closePage();
  recording_ = false;
}

QPainter* RecordedDocument::beginEnhanced() {
  enhContext_.reset();
  if (enhPainter_) enhPainter_->end();
  enh_ = std::make_unique<QPicture>();
  enhPainter_ = std::make_unique<QPainter>(enh_.get());
  enhContext_ = std::make_unique<DeviceContext>(enhPainter_.get());
  return enhPainter_.get();
}

void RecordedDocument::playEnhanced() {
  if (!enhPainter_) return;
  enhContext_.reset();
  enhPainter_->end();
  enhPainter_.reset();
  std::unique_ptr<QPicture> enh = std::move(enh_);
  if (!painter_) return;
  // The open page's recording is replaced: its painter restarts on an empty picture into
  // which the enhanced content is played, so later drawing on the page still lands on it
  // (the caller sets the page's tools again).
  context_.reset();
  painter_->end();
  open_->picture = QPicture();
  painter_ = std::make_unique<QPainter>(&open_->picture);
  context_ = std::make_unique<DeviceContext>(painter_.get());
  painter_->drawPicture(0, 0, *enh);
  open_->enhanced = true;
}

}  // namespace kv::ui
