// Laying out a report on pages: every block of a report (an entry of the
// specimen list, a description, a row of minerals) is first measured and
// then placed where it fits, so that nothing runs past the bottom of a page.
// A block taller than what is left of a page goes on between two of its
// lines on the next page. Blocks draw on a windowed canvas: it measures with
// the device's fonts and passes on to the device only what lies in the
// window of the block being placed, moved to its place on the page.
#pragma once

#include <climits>
#include <functional>
#include <string_view>
#include <vector>

#include "render/page_canvas.h"
#include "reports/print_job.h"

namespace kalvor {

// A canvas in front of a device that draws only what lies in a window of
// rows, moved down by a shift; with no window it draws nothing (measuring).
// Texts and check marks belong to the row of their baseline, lines to the row
// of their upper end.
class WindowedCanvas : public Canvas {
 public:
  explicit WindowedCanvas(Canvas& device) : device_(device) {}

  // Draws nothing from now on: what is drawn is only measured.
  void measureOnly() {
    top_ = INT_MAX;
    bottom_ = INT_MIN;
    shift_ = 0;
  }
  // Draws what lies in rows top .. bottom - 1, moved down by `shift`.
  void showWindow(int top, int bottom, int shift) {
    top_ = top;
    bottom_ = bottom;
    shift_ = shift;
  }
  Canvas& device() { return device_; }

  FontSlot selectFont(FontSlot slot) override { return device_.selectFont(slot); }
  FontSlot currentFont() const override { return device_.currentFont(); }
  TextExtent measureText(std::string_view text) override { return device_.measureText(text); }
  int inkHeight(std::string_view text) override { return device_.inkHeight(text); }
  int ascent() override { return device_.ascent(); }
  void drawText(int x, int baseline, std::string_view text) override;
  void drawLine(int x1, int y1, int x2, int y2) override;
  Rgb setTextColour(Rgb colour) override { return device_.setTextColour(colour); }
  void drawCheckMark(int x, int baseline) override;
  int checkMarkWidth() override { return device_.checkMarkWidth(); }
  void clipTo(int left, int top, int right, int bottom) override {
    device_.clipTo(left, top + shift_, right, bottom + shift_);
  }
  void unclip() override { device_.unclip(); }
  int averageCharWidth() override { return device_.averageCharWidth(); }
  ScriptOffsets scriptOffsets() override { return device_.scriptOffsets(); }

 private:
  bool shows(int row) const { return row >= top_ && row < bottom_; }
  Canvas& device_;
  int top_ = INT_MAX;
  int bottom_ = INT_MIN;
  int shift_ = 0;
};

// Places blocks one below the other on the pages of a device.
class PageFlow {
 public:
  // Draws the footer of page `page` (counted from 1) on the device.
  using Footer = std::function<void(PageCanvas& device, int page)>;
  // A block: draws from row y on (on the windowed canvas) and returns the row
  // after it. It is called more than once and must draw the same each time.
  using Block = std::function<int(int y)>;

  // `bottom` is the lowest row a block may reach on every page; `lineTops`
  // (may be null) is where the blocks' layout records the top of every line
  // it draws: the rows where a tall block may be broken.
  PageFlow(PageCanvas& device, const PrintFrame& frame, int bottom, const std::vector<int>* lineTops,
           Footer footer = {});

  WindowedCanvas& canvas() { return canvas_; }
  PageCanvas& device() { return device_; }

  // Begins the first page; false when the device refuses.
  bool start();
  // Places a block at the current row. A block that does not fit the rest of
  // the page goes to the next page when `keepTogether` and it fits a page;
  // otherwise it is broken between its lines. False when the device failed.
  bool place(const Block& block, bool keepTogether);
  // Moves the current row down (not past the bottom: then a new page begins
  // at the next block).
  void skip(int rows) { y_ += rows; }
  // Ends the page here and begins the next one.
  bool newPage();
  // Draws the last footer and ends the last page.
  bool finish();

  // Where the blocks' layout records its line tops (the layout is made on
  // canvas(), so after the flow).
  void setLineTops(const std::vector<int>* lineTops) { lineTops_ = lineTops; }

  int y() const { return y_; }
  // The current page (1 for the first, 0 before start()) and the pages ended.
  int page() const { return page_; }
  int pagesEnded() const { return pagesEnded_; }
  bool failed() const { return failed_; }

 private:
  PageCanvas& device_;
  WindowedCanvas canvas_;
  PrintFrame frame_;
  int bottom_;
  const std::vector<int>* lineTops_;
  Footer footer_;
  int y_ = 0;
  int page_ = 0;
  int pagesEnded_ = 0;
  bool pageOpen_ = false;
  bool failed_ = false;
};

}  // namespace kalvor
