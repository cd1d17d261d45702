// A canvas without a device: fixed, documented metrics (docs/canvas.md) and a
// record of everything drawn, so that layouts can be measured and checked on
// any platform. The text canvas of kalvor-cli builds on it. As a page canvas
// it stands in for a printer: it has a page of a given size and resolution,
// counts pages, and gives fonts made by setFont() metrics derived from their
// height by a fixed rule.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "render/page_canvas.h"

namespace kalvor {

// Metrics of one font slot: every character advances by `charWidth`; the
// ink of every non-empty text is `inkHeight` tall.
struct FixedFontMetrics {
  int charWidth = 0;
  int ascent = 0;
  int descent = 0;
  int inkHeight = 0;
};

// All metrics of a measuring canvas.
struct FixedCanvasMetrics {
  std::array<FixedFontMetrics, kFontSlotCount> fonts{};
  ScriptOffsets offsets;
  int averageCharWidth = 0;
  int checkMarkWidth = 0;
};

// The standard metrics of the tests (see docs/canvas.md): text 8 wide,
// 13 + 3 high, ink 10; small 6, 10 + 2, ink 8; heading 11, 18 + 4, ink 14;
// secondary and italic like text; system slots 7, 13 + 3, ink 10; Greek 9,
// 13 + 3, ink 10; superscript rise 6, subscript drop 4, extra above 3, extra
// below 3; average character width 7; check mark 8.
FixedCanvasMetrics standardMeasuringMetrics();

// A clip rectangle (right and bottom exclusive).
struct ClipRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const ClipRect&) const = default;
};

// One text as drawn: position, font, colour, the characters, the clip
// that was in force (none when drawing was not clipped), whether it was
// turned by 180 degrees, and the page (0 before the first beginPage).
struct DrawnText {
  int x = 0;
  int baseline = 0;
  FontSlot font = FontSlot::kText;
  Rgb colour;
  std::string text;
  std::optional<ClipRect> clip;
  bool turned = false;
  int page = 0;
};

// One line as drawn.
struct DrawnLine {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  Rgb colour;
  bool dotted = false;
  int page = 0;
};

// One filled rectangle as drawn (right and bottom exclusive).
struct DrawnRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int page = 0;
};

// Metrics the measuring canvas gives a font of em height h made by setFont:
// advance h / 2 (at least 1), ascent h, descent h / 4, ink 3h / 4, no
// external leading.
FixedFontMetrics measuringFontMetrics(const FontRequest& request);

// One check mark as drawn.
struct DrawnCheckMark {
  int x = 0;
  int baseline = 0;
};

class MeasuringCanvas : public PageCanvas {
 public:
  // A canvas with the standard metrics.
  MeasuringCanvas();
  explicit MeasuringCanvas(const FixedCanvasMetrics& metrics);

  FontSlot selectFont(FontSlot slot) override;
  FontSlot currentFont() const override { return font_; }
  TextExtent measureText(std::string_view text) override;
  int inkHeight(std::string_view text) override;
  int ascent() override;
  void drawText(int x, int baseline, std::string_view text) override;
  void drawLine(int x1, int y1, int x2, int y2) override;
  Rgb setTextColour(Rgb colour) override;
  void drawCheckMark(int x, int baseline) override;
  int checkMarkWidth() override { return metrics_.checkMarkWidth; }
  // The clip is recorded with every text drawn under it; nothing is cut here.
  void clipTo(int left, int top, int right, int bottom) override;
  void unclip() override { clip_.reset(); }
  int averageCharWidth() override { return metrics_.averageCharWidth; }
  ScriptOffsets scriptOffsets() override { return metrics_.offsets; }

  // The page: none (all zero) until setGeometry() gives one.
  PageGeometry geometry() const override { return geometry_; }
  void setGeometry(const PageGeometry& geometry) { geometry_ = geometry; }
  bool beginPage() override;
  bool endPage() override;
  void setFont(FontSlot slot, const FontRequest& request) override;
  FontMetrics fontMetrics() override;
  bool setTextTurned(bool turned) override;
  void drawDottedLine(int x1, int y1, int x2, int y2) override;
  void fillRect(int left, int top, int right, int bottom) override;

  // Pages begun and ended so far; the number of the current page (1 for
  // the first, 0 before any).
  int pagesBegun() const { return pagesBegun_; }
  int pagesEnded() const { return pagesEnded_; }
  // The request setFont() last put into `slot`, if any.
  const std::optional<FontRequest>& fontRequest(FontSlot slot) const {
    return requests_[static_cast<int>(slot)];
  }

  // The clip in force, if any.
  const std::optional<ClipRect>& clip() const { return clip_; }
  // The characters of `t` whose cells lie inside its clip, given the
  // character width of its font (all of them without a clip).
  std::string visibleText(const DrawnText& t) const;

  // Everything drawn so far, in drawing order.
  const std::vector<DrawnText>& texts() const { return texts_; }
  const std::vector<DrawnLine>& lines() const { return lines_; }
  const std::vector<DrawnCheckMark>& checkMarks() const { return checkMarks_; }
  const std::vector<DrawnRect>& rects() const { return rects_; }
  // Forgets what was drawn; font and colour stay.
  void clearRecord();
  const FixedCanvasMetrics& metrics() const { return metrics_; }

 private:
  FixedCanvasMetrics metrics_;
  FontSlot font_ = FontSlot::kText;
  Rgb colour_;
  std::optional<ClipRect> clip_;
  std::vector<DrawnText> texts_;
  std::vector<DrawnLine> lines_;
  std::vector<DrawnCheckMark> checkMarks_;
  std::vector<DrawnRect> rects_;
  PageGeometry geometry_;
  std::array<std::optional<FontRequest>, kFontSlotCount> requests_{};
  bool turned_ = false;
  int pagesBegun_ = 0;
  int pagesEnded_ = 0;
};

}  // namespace kalvor
