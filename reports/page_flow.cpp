#include "reports/page_flow.h"

#include <algorithm>

namespace kalvor {

void WindowedCanvas::drawText(int x, int baseline, std::string_view text) {
  if (shows(baseline)) device_.drawText(x, baseline + shift_, text);
}

void WindowedCanvas::drawLine(int x1, int y1, int x2, int y2) {
  if (shows(std::min(y1, y2))) device_.drawLine(x1, y1 + shift_, x2, y2 + shift_);
}

void WindowedCanvas::drawCheckMark(int x, int baseline) {
  if (shows(baseline)) device_.drawCheckMark(x, baseline + shift_);
}

PageFlow::PageFlow(PageCanvas& device, const PrintFrame& frame, int bottom, const std::vector<int>* lineTops,
                   Footer footer)
    : device_(device),
      canvas_(device),
      frame_(frame),
      bottom_(bottom),
      lineTops_(lineTops),
      footer_(std::move(footer)) {}

bool PageFlow::start() {
  if (failed_) return false;
  if (!device_.beginPage()) {
    failed_ = true;
    return false;
  }
  ++page_;
  pageOpen_ = true;
  y_ = frame_.pageTop;
  return true;
}

bool PageFlow::newPage() {
  if (!finish()) return false;
  return start();
}

bool PageFlow::finish() {
  if (!pageOpen_) return !failed_;
  pageOpen_ = false;
  canvas_.measureOnly();
  if (footer_) footer_(device_, page_);
  if (device_.endPage()) {
    ++pagesEnded_;
  } else {
    failed_ = true;
  }
  return !failed_;
}

bool PageFlow::place(const Block& block, bool keepTogether) {
  if (failed_ || !pageOpen_) return false;
  // Measure the block from row 0 and collect the rows where it may break.
  canvas_.measureOnly();
  const std::size_t firstTop = lineTops_ ? lineTops_->size() : 0;
  const int height = block(0);
  std::vector<int> breaks;
  if (lineTops_) {
    for (std::size_t i = std::min(firstTop, lineTops_->size()); i < lineTops_->size(); ++i)
      if ((*lineTops_)[i] > 0 && (*lineTops_)[i] < height) breaks.push_back((*lineTops_)[i]);
  }
  breaks.push_back(height);
  std::sort(breaks.begin(), breaks.end());
  breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());

  const int pageRoom = bottom_ - frame_.pageTop;
  if (height > bottom_ - y_ && y_ > frame_.pageTop && keepTogether && height <= pageRoom) {
    if (!newPage()) return false;
  }
  int from = 0;
  while (true) {
    // The last break that still fits what is left of the page.
    int to = from;
    for (int b : breaks)
      if (b > from && b - from <= bottom_ - y_) to = b;
    if (to == from) {
      if (y_ > frame_.pageTop) {
        if (!newPage()) return false;
        continue;
      }
      // A single line taller than a whole page: it goes on a page of its own.
      to = *std::upper_bound(breaks.begin(), breaks.end(), from);
    }
    canvas_.showWindow(from == 0 ? INT_MIN : from, to == height ? INT_MAX : to, y_ - from);
    block(0);
    canvas_.measureOnly();
    y_ += to - from;
    from = to;
    if (from >= height) break;
    if (!newPage()) return false;
  }
  return true;
}

}  // namespace kalvor
