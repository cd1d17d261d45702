// The Canvas of the program: GDI text and lines on a device context, in the
// fonts of a DescriptionFontSet.
#pragma once

#include <windows.h>

#include <array>
#include <map>
#include <string>
#include <utility>

#include "render/canvas.h"
#include "win32/canvas_dc_state.h"
#include "win32/gdi_objects.h"

namespace kalvor::win32 {

// The ten fonts of the description font set with the metrics the layout
// reads. Slots 5-8 are the stock system font, which is never deleted.
class DescriptionFontSet {
 public:
  DescriptionFontSet() = default;
  DescriptionFontSet(DescriptionFontSet&&) = default;
  DescriptionFontSet& operator=(DescriptionFontSet&&) = default;

  // The font table made from the stock system font on the screen DC `dc`:
  // main "Times New Roman" at the system font's height (0.8 of it when
  // `smallFonts`), "Symbol" at the main height, and heading (1.4), "Arial",
  // italic and index font (0.8) sized so that their capital "A" matches the
  // main font's; script offsets from their metrics. (win32/font_table.cpp)
  static DescriptionFontSet create(HDC dc, bool smallFonts);
  // The earlier name of create(), kept for the callers that use it.
  static DescriptionFontSet createPlain(HDC dc, bool smallFonts) { return create(dc, smallFonts); }

  // Deletes every font of the table; all slots fall back to the system font.
  void reset();
  // Deletes the fonts first, then makes the table anew as create() does and
  // counts one more generation.
  void recreate(HDC dc, bool smallFonts);
  // How often the table was recreated: a token of the main font that changes
  // with every recreation (a new font may get the handle of a deleted one).
  unsigned generation() const { return generation_; }

  // The font of a slot (the stock system font for the system slots and for
  // a slot whose font could not be made).
  HFONT font(FontSlot slot) const;
  // Puts `font` in `slot` (a printer's fonts, made for its resolution); the
  // slot's previous font is deleted.
  void setFont(FontSlot slot, GdiFont font);
  // Sets the measures create() works out from the screen.
  void setMeasures(const ScriptOffsets& offsets, int averageCharWidth, int lineHeight) {
    offsets_ = offsets;
    averageCharWidth_ = averageCharWidth;
    lineHeight_ = lineHeight;
  }
  const ScriptOffsets& scriptOffsets() const { return offsets_; }
  // The system font's average character width: the unit of widths given in
  // quarter character widths.
  int averageCharWidth() const { return averageCharWidth_; }
  // The system font's line height (height + external leading): the unit of
  // heights given in eighths of a line.
  int lineHeight() const { return lineHeight_; }

 private:
  std::array<GdiFont, kFontSlotCount> fonts_;
  ScriptOffsets offsets_;
  int averageCharWidth_ = 8;
  int lineHeight_ = 16;
  unsigned generation_ = 0;
};

class GdiCanvas : public Canvas {
 public:
  // Draws on `dc` (not owned) with `fonts` (must outlive the canvas): text
  // aligned on the baseline, transparent background. The DC's font, colour,
  // alignment and background mode are put back when the canvas ends.
  GdiCanvas(HDC dc, const DescriptionFontSet& fonts);
  ~GdiCanvas() override = default;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  FontSlot selectFont(FontSlot slot) override;
  FontSlot currentFont() const override { return font_; }
  TextExtent measureText(std::string_view text) override;
  int inkHeight(std::string_view text) override;
  int ascent() override;
  void drawText(int x, int baseline, std::string_view text) override;
  void drawLine(int x1, int y1, int x2, int y2) override;
  Rgb setTextColour(Rgb colour) override;
  void drawCheckMark(int x, int baseline) override;
  int checkMarkWidth() override;
  // Clips with IntersectClipRect on top of the clip the DC had when the
  // first clipTo came; unclip (and the destructor) put that clip back.
  void clipTo(int left, int top, int right, int bottom) override;
  void unclip() override;
  int averageCharWidth() override { return fonts_.averageCharWidth(); }
  ScriptOffsets scriptOffsets() override { return fonts_.scriptOffsets(); }

 private:
  CanvasDcState state_;
  HDC dc_;
  const DescriptionFontSet& fonts_;
  FontSlot font_ = FontSlot::kText;
  Rgb colour_;
  std::map<std::pair<int, std::string>, int> inkCache_;
};

// Height in pixels of the ink of `text` above the baseline in the font
// selected into `dc`: the text is drawn white on black into a bitmap and
// the first lit row from the top is found; 0 when nothing is lit.
int capitalHeight(HDC dc, std::string_view text);

}  // namespace kalvor::win32
