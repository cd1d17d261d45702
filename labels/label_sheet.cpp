#include "labels/label_sheet.h"

#include <algorithm>

namespace kalvor {

LabelSheet::LabelSheet(PageCanvas& canvas)
    : canvas_(canvas), page_(canvas.geometry()), rowTop_(page_.offsetY) {}

LabelFormatProblem LabelSheet::selectFormat(const LabelFormat& f) {
  const std::optional<LabelGeometry> g = labelGeometry(f, page_);
  if (!g) return checkLabelFormat(f, page_);
  const bool first = !geometry_;
  // A started row is closed: the next labels go below it.
  if (!first && placed_ % geometry_->perRow != 0) rowTop_ += geometry_->H;
  format_ = f;
  geometry_ = g;
  metrics_ = setLabelFonts(canvas_, f);
  if (first) return LabelFormatProblem::kNone;
  if (page_.height - rowTop_ < g->H) {
    endPage();
  } else {
    // The rows above the row top are used; with a printing offset the
    // division may find more rows below than the page holds, hence the clamp.
    placed_ = std::max(0, g->perPage - ((page_.height - rowTop_) / g->H) * g->perRow);
  }
  return LabelFormatProblem::kNone;
}

int LabelSheet::printLabels(const LabelContent& content, int copies) {
  if (!geometry_) return placed_;
  const LabelGeometry& g = *geometry_;
  for (int i = 0; i < copies; ++i) {
    if (!pageOpen_) {
      canvas_.beginPage();
      pageOpen_ = true;
    }
    const int x = page_.offsetX + (placed_ % g.perRow) * g.w;
    drawLabel(canvas_, *format_, g, metrics_, content, x, rowTop_);
    ++placed_;
    if (placed_ % g.perRow != 0) continue;
    if (page_.height < rowTop_ + 2 * g.H) {
      endPage();
    } else {
      rowTop_ += g.H;
    }
  }
  return placed_;
}

namespace {

void setFlag(std::optional<LabelFormat>& format, std::uint8_t flag, bool on) {
  if (!format) return;
  format->flags = static_cast<std::uint8_t>(on ? (format->flags | flag) : (format->flags & ~flag));
}

}  // namespace

void LabelSheet::setFormula(bool on) { setFlag(format_, kLabelFormula, on); }
void LabelSheet::setQrCode(bool on) { setFlag(format_, kLabelQrCode, on); }

void LabelSheet::finish() {
  if (pageOpen_) {
    canvas_.endPage();
    pageOpen_ = false;
  }
}

void LabelSheet::endPage() {
  if (pageOpen_) canvas_.endPage();
  pageOpen_ = false;
  rowTop_ = page_.offsetY;
  placed_ = 0;
}

LabelRest LabelSheet::rest() const {
  if (!geometry_) return {};
  return LabelRest{geometry_->perRow - placed_ % geometry_->perRow, geometry_->perPage - placed_};
}

}  // namespace kalvor
