#include <cairo-pdf.h>
#include <cairo.h>

#include <array>
#include <cmath>
#include <numbers>

#include "base/cp1252.h"
#include "render/pdf_canvas.h"
#include "render/text_canvas.h"

namespace kalvor {
namespace {

// Windows faces and the free faces with the same metrics that stand in for them.
std::string familyOf(const FontRequest& r) {
  if (r.symbol) return "Liberation Serif";  // Greek letters come as Unicode
  if (r.face == "Times New Roman" || r.face == "Times") return "Liberation Serif";
  if (r.face == "Arial" || r.face == "Helvetica") return "Liberation Sans";
  if (r.face == "Courier New" || r.face == "Courier") return "Liberation Mono";
  return cp1252ToUtf8(r.face);
}

struct Font {
  cairo_font_face_t* face = nullptr;
  double size = 0;
  bool greek = false;
  cairo_font_extents_t extents{};
};

class CairoPdfCanvas : public PdfCanvas {
 public:
  CairoPdfCanvas(cairo_surface_t* surface, int dpi) : surface_(surface), dpi_(dpi) {
    cr_ = cairo_create(surface_);
    cairo_scale(cr_, 72.0 / dpi, 72.0 / dpi);
    cairo_translate(cr_, kPdfMarginInches * dpi, kPdfMarginInches * dpi);
    cairo_set_source_rgb(cr_, 0, 0, 0);
    cairo_set_line_width(cr_, 1.0);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_SQUARE);
    geometry_ = PageGeometry{static_cast<int>((kA4WidthInches - 2 * kPdfMarginInches) * dpi),
                             static_cast<int>((kA4HeightInches - 2 * kPdfMarginInches) * dpi),
                             dpi,
                             dpi,
                             static_cast<int>(kPdfMarginInches * dpi),
                             static_cast<int>(kPdfMarginInches * dpi)};
    // Until a layout makes its fonts every slot has a 10-point serif.
    FontRequest plain;
    plain.height = (10 * dpi + 36) / 72;
    for (int i = 0; i < kFontSlotCount; ++i) setFont(static_cast<FontSlot>(i), plain);
    selectFont(FontSlot::kText);
  }
  ~CairoPdfCanvas() override {
    for (Font& f : fonts_)
      if (f.face) cairo_font_face_destroy(f.face);
    if (cr_) cairo_destroy(cr_);
    if (surface_) cairo_surface_destroy(surface_);
  }

  bool finish() override {
    if (!surface_) return false;
    cairo_surface_finish(surface_);
    const bool ok =
        cairo_status(cr_) == CAIRO_STATUS_SUCCESS && cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS;
    return ok;
  }
  int pageCount() const override { return pages_; }

  PageGeometry geometry() const override { return geometry_; }
  bool beginPage() override { return cairo_status(cr_) == CAIRO_STATUS_SUCCESS; }
  bool endPage() override {
    cairo_show_page(cr_);
    ++pages_;
    return cairo_status(cr_) == CAIRO_STATUS_SUCCESS;
  }

  void setFont(FontSlot slot, const FontRequest& r) override {
    const int i = static_cast<int>(slot);
    if (i >= kFontSlotCount) return;
    Font& f = fonts_[static_cast<std::size_t>(i)];
    if (f.face) cairo_font_face_destroy(f.face);
    f.face = cairo_toy_font_face_create(familyOf(r).c_str(),
                                        r.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                                        r.weight >= 600 ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    f.size = r.height > 0 ? r.height : 1;
    f.greek = r.symbol;
    cairo_save(cr_);
    cairo_set_font_face(cr_, f.face);
    cairo_set_font_size(cr_, f.size);
    cairo_font_extents(cr_, &f.extents);
    cairo_restore(cr_);
    if (slot == font_) apply();
  }

  FontSlot selectFont(FontSlot slot) override {
    const FontSlot previous = font_;
    if (static_cast<int>(slot) < kFontSlotCount) {
      font_ = slot;
      apply();
    }
    return previous;
  }
  FontSlot currentFont() const override { return font_; }

  TextExtent measureText(std::string_view text) override {
    const Font& f = current();
    const int height = static_cast<int>(std::ceil(f.extents.ascent) + std::ceil(f.extents.descent));
    if (text.empty()) return TextExtent{0, height};
    cairo_text_extents_t e{};
    cairo_text_extents(cr_, utf8(text).c_str(), &e);
    return TextExtent{static_cast<int>(std::lround(e.x_advance)), height};
  }
  int inkHeight(std::string_view text) override {
    if (text.empty()) return 0;
    cairo_text_extents_t e{};
    cairo_text_extents(cr_, utf8(text).c_str(), &e);
    return std::max(0, static_cast<int>(std::lround(-e.y_bearing)));
  }
  int ascent() override { return static_cast<int>(std::ceil(current().extents.ascent)); }

  FontMetrics fontMetrics() override {
    const Font& f = current();
    FontMetrics m;
    m.ascent = static_cast<int>(std::ceil(f.extents.ascent));
    m.descent = static_cast<int>(std::ceil(f.extents.descent));
    m.externalLeading = std::max(0, static_cast<int>(std::lround(f.extents.height)) - m.ascent - m.descent);
    // The mean advance of the small letters, near what GDI reports as the average width.
    cairo_text_extents_t e{};
    cairo_text_extents(cr_, "abcdefghijklmnopqrstuvwxyz", &e);
    m.averageCharWidth = std::max(1, static_cast<int>(std::lround(e.x_advance / 26)));
    return m;
  }

  void drawText(int x, int baseline, std::string_view text) override {
    if (text.empty()) return;
    const std::string s = utf8(text);
    cairo_save(cr_);
    cairo_translate(cr_, x, baseline);
    if (turned_) cairo_rotate(cr_, std::numbers::pi);
    cairo_move_to(cr_, 0, 0);
    cairo_show_text(cr_, s.c_str());
    cairo_restore(cr_);
  }
  void drawLine(int x1, int y1, int x2, int y2) override { stroke(x1, y1, x2, y2, false); }
  void drawDottedLine(int x1, int y1, int x2, int y2) override { stroke(x1, y1, x2, y2, true); }
  void fillRect(int left, int top, int right, int bottom) override {
    cairo_rectangle(cr_, left, top, right - left, bottom - top);
    cairo_fill(cr_);
  }
  Rgb setTextColour(Rgb colour) override {
    const Rgb previous = colour_;
    colour_ = colour;
    cairo_set_source_rgb(cr_, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0);
    return previous;
  }
  bool setTextTurned(bool turned) override {
    const bool previous = turned_;
    turned_ = turned;
    return previous;
  }
  void drawCheckMark(int x, int baseline) override {
    const int w = checkMarkWidth();
    cairo_move_to(cr_, x + w * 0.15, baseline - w * 0.45);
    cairo_line_to(cr_, x + w * 0.4, baseline - w * 0.15);
    cairo_line_to(cr_, x + w * 0.9, baseline - w * 0.85);
    cairo_stroke(cr_);
  }
  int checkMarkWidth() override { return std::max(1, static_cast<int>(current().size * 0.6)); }
  void clipTo(int left, int top, int right, int bottom) override {
    cairo_reset_clip(cr_);
    cairo_rectangle(cr_, left, top, right - left, bottom - top);
    cairo_clip(cr_);
  }
  void unclip() override { cairo_reset_clip(cr_); }
  int averageCharWidth() override { return fontMetrics().averageCharWidth; }
  ScriptOffsets scriptOffsets() override {
    // Scripts sit a third of the main font's ascent off the baseline.
    const Font& main = fonts_[static_cast<int>(FontSlot::kText)];
    const Font& small = fonts_[static_cast<int>(FontSlot::kSmall)];
    ScriptOffsets o;
    o.superscriptRise = static_cast<int>(std::lround(main.extents.ascent / 3));
    o.subscriptDrop = static_cast<int>(std::lround(main.extents.ascent / 4));
    o.extraAbove = std::max(
        0, static_cast<int>(std::lround(o.superscriptRise + small.extents.ascent - main.extents.ascent)));
    o.extraBelow = std::max(
        0, static_cast<int>(std::lround(o.subscriptDrop + small.extents.descent - main.extents.descent)));
    return o;
  }

 private:
  const Font& current() const { return fonts_[static_cast<std::size_t>(font_)]; }
  void apply() {
    const Font& f = current();
    cairo_set_font_face(cr_, f.face);
    cairo_set_font_size(cr_, f.size);
  }
  std::string utf8(std::string_view text) const {
    if (!current().greek) return cp1252ToUtf8(text);
    std::string s;
    for (char c : text) s += greekFontCharToUtf8(c);
    return s;
  }
  void stroke(int x1, int y1, int x2, int y2, bool dotted) {
    if (dotted) {
      const double dash = std::max(1, dpi_ / 100);
      cairo_set_dash(cr_, &dash, 1, 0);
    }
    // A one-unit line through the middle of the device pixels it names.
    cairo_move_to(cr_, x1 + 0.5, y1 + 0.5);
    cairo_line_to(cr_, x2 + 0.5, y2 + 0.5);
    cairo_stroke(cr_);
    if (dotted) cairo_set_dash(cr_, nullptr, 0, 0);
  }

  cairo_surface_t* surface_;
  cairo_t* cr_ = nullptr;
  int dpi_;
  PageGeometry geometry_;
  std::array<Font, kFontSlotCount> fonts_{};
  FontSlot font_ = FontSlot::kText;
  Rgb colour_;
  bool turned_ = false;
  int pages_ = 0;
};

}  // namespace

std::unique_ptr<PdfCanvas> PdfCanvas::create(const std::string& path, int dpi) {
  if (dpi <= 0) return nullptr;
  cairo_surface_t* surface =
      cairo_pdf_surface_create(path.c_str(), kA4WidthInches * 72.0, kA4HeightInches * 72.0);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  return std::make_unique<CairoPdfCanvas>(surface, dpi);
}

}  // namespace kalvor
