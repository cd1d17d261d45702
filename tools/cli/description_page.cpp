#include "tools/cli/description_page.h"

#include <cstdio>

#include "collection/mineral_specimen.h"
#include "determination/colours.h"
#include "pages/collection_description.h"
#include "platform/settings.h"
#include "render/text_canvas.h"

namespace kalvor::cli {
namespace {

// Columns of the text page.
constexpr int kPageWidth = 78;

}  // namespace

MineralRecord CliDescriptionSources::mineralRecord(MineralNumber n) const {
  return database_.readMineralRecord(n);
}

std::optional<MineralNumber> CliDescriptionSources::findMineral(std::string_view name) const {
  return mineralNamed(names_, name);
}

std::optional<std::uint16_t> CliDescriptionSources::findGlossaryEntry(std::string_view word) const {
  if (!glossary_) return std::nullopt;
  return glossary_->findTerm(word);
}

std::string CliDescriptionSources::colourName(std::uint16_t colour) const {
  return std::string(colourNameOf(colour));
}

std::optional<std::string> CliDescriptionSources::strunzText(const StrunzNumber& n) const {
  return systematics_.strunzText(n);
}

std::optional<std::string> CliDescriptionSources::heyText(const HeyNumber& n) const {
  return systematics_.heyText(n);
}

std::vector<MineralLocality> CliDescriptionSources::localitiesOfMineral(MineralNumber n) const {
  if (!collection_) return {};
  return collectionLocalitiesOfMineral(*collection_, n);
}

void printDescriptionPage(ReferenceData& ref, const std::string& folder, Settings* settings,
                          const std::function<void(DescriptionLayout&, const LayoutArea&)>& draw) {
  const std::optional<Glossary> glossary = Glossary::open(folder);
  CliDescriptionSources sources(ref.database(), ref.names(), ref.systematics(), glossary,
                                &ref.collection());
  TextCanvas canvas;
  DescriptionLayout layout(canvas, sources,
                           settings ? readDescriptionOptions(*settings) : DescriptionOptions{});
  draw(layout, LayoutArea{0, 0, kPageWidth, 1 << 28});
  const std::string text = canvas.renderText();
  std::fwrite(text.data(), 1, text.size(), stdout);
}

}  // namespace kalvor::cli
