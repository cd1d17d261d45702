// Formula and rich-text markup from arbitrary bytes: drawing must stay inside
// the text (unclosed braces, marks at the end), measuring must agree with
// drawing, and the text canvas must render whatever was drawn.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "determination/description.h"
#include "render/formula_drawing.h"
#include "render/measuring_canvas.h"
#include "render/text_canvas.h"

namespace {

class NoSources : public kalvor::DescriptionSources {
 public:
  kalvor::MineralRecord mineralRecord(kalvor::MineralNumber) const override { return {}; }
  std::optional<kalvor::MineralNumber> findMineral(std::string_view) const override { return {}; }
  std::optional<std::uint16_t> findGlossaryEntry(std::string_view w) const override {
    if (w.empty()) return std::nullopt;
    return static_cast<std::uint16_t>(w.size());
  }
  std::string colourName(std::uint16_t) const override { return {}; }
  std::optional<std::string> strunzText(const kalvor::StrunzNumber&) const override { return {}; }
  std::optional<std::string> heyText(const kalvor::HeyNumber&) const override { return {}; }
  std::vector<kalvor::MineralLocality> localitiesOfMineral(kalvor::MineralNumber) const override {
    return {};
  }
};

}  // namespace

// Lines are at most 255 columns wide: beyond a kilobyte a text only repeats
// the wrapping and markup that shorter ones reach, at a cost that grows with
// its length, so the rest of a longer input is not drawn.
constexpr std::size_t kMaxText = 1024;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  size = std::min(size, kMaxText + 1);
  const int width = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  kalvor::MeasuringCanvas canvas;
  const kalvor::FormulaExtent measured = kalvor::drawFormula(canvas, 3, 40, text, {}, true);
  if (!canvas.texts().empty()) std::abort();
  const kalvor::FormulaExtent drawn = kalvor::drawFormula(canvas, 3, 40, text, {}, false);
  if (measured.endX != drawn.endX || measured.lineHeight != drawn.lineHeight ||
      measured.extraAbove != drawn.extraAbove || drawn.endX < 3 ||
      canvas.currentFont() != kalvor::FontSlot::kText)
    std::abort();

  kalvor::TextCanvas textCanvas;
  NoSources sources;
  kalvor::DescriptionLayout layout(textCanvas, sources, kalvor::DescriptionOptions{});
  layout.drawRichText(0, 0, kalvor::FontSlot::kText, text, width, 1);
  layout.drawLabelledLine(20, 0, kalvor::kLabelColour, text, width, 0);
  (void)textCanvas.renderText();
  return 0;
}
