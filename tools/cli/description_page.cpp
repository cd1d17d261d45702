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
  // The program's own rule: collation order, the typed text as a prefix.
  const std::vector<std::uint16_t> found = parseMineralList(names_, name);
  if (found.empty() || found.front() == 0) return std::nullopt;
  return static_cast<MineralNumber>(found.front() - 1);
}

std::optional<std::uint16_t> CliDescriptionSources::findGlossaryEntry(std::string_view word) const {
  if (!glossary_) return std::nullopt;
  // An entry names its term between a leading "#" and the next one.
  for (std::uint16_t i = 0; i < glossary_->entryCount(); ++i) {
    const std::optional<std::string> text = glossary_->entry(i);
    if (!text || text->empty() || (*text)[0] != '#') continue;
    const std::size_t end = text->find('#', 1);
    if (end != std::string::npos && std::string_view(*text).substr(1, end - 1) == word) return i;
  }
  return std::nullopt;
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
