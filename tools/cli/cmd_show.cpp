// "kalvor-cli zeige NAME": the description page of a mineral or an alias as
// text, followed by the localities of the user's collection where the mineral
// occurs, laid out by the same code as the program's description window.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "collection/collection.h"
#include "collection/mineral_specimen.h"
#include "determination/collection_description.h"
#include "determination/colours.h"
#include "determination/description.h"
#include "platform/settings.h"
#include "refdb/glossary.h"
#include "refdb/mineral_record.h"
#include "refdb/names.h"
#include "refdb/systematics.h"
#include "render/text_canvas.h"
#include "tools/cli/cli.h"
#include "tools/cli/data_session.h"

namespace kalvor::cli {
namespace {

// Columns of the text page.
constexpr int kPageWidth = 78;

// The reference data and (when the data folder holds one) the collection,
// as the description layout asks for them.
class CliDescriptionSources : public DescriptionSources {
 public:
  CliDescriptionSources(const MineralDatabase& database, const MineralNameList& names,
                        const Systematics& systematics, const std::optional<Glossary>& glossary,
                        Collection* collection)
      : database_(database), names_(names), systematics_(systematics), glossary_(glossary),
        collection_(collection) {}

  MineralRecord mineralRecord(MineralNumber n) const override {
    return database_.readMineralRecord(n);
  }
  std::optional<MineralNumber> findMineral(std::string_view name) const override {
    // The program's own rule: collation order, the typed text as a prefix.
    const std::vector<std::uint16_t> found = parseMineralList(names_, name);
    if (found.empty() || found.front() == 0) return std::nullopt;
    return static_cast<MineralNumber>(found.front() - 1);
  }
  std::optional<std::uint16_t> findGlossaryEntry(std::string_view word) const override {
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
  std::string colourName(std::uint16_t colour) const override {
    return std::string(colourNameOf(colour));
  }
  std::optional<std::string> strunzText(const StrunzNumber& n) const override {
    return systematics_.strunzText(n);
  }
  std::optional<std::string> heyText(const HeyNumber& n) const override {
    return systematics_.heyText(n);
  }
  std::vector<MineralLocality> localitiesOfMineral(MineralNumber n) const override {
    if (!collection_) return {};
    return collectionLocalitiesOfMineral(*collection_, n);
  }

 private:
  const MineralDatabase& database_;
  const MineralNameList& names_;
  const Systematics& systematics_;
  const std::optional<Glossary>& glossary_;
  Collection* collection_;
};

void printUtf8(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

}  // namespace

int runShow(Arguments& args) {
  if (args.takeFlag("--hilfe")) {
    std::puts("Aufruf: kalvor-cli zeige NAME\n"
              "Zeigt die Beschreibung eines Minerals oder eines anderen Namens und die\n"
              "Fundorte der Sammlung, an denen es vorkommt. Der Name darf abgekürzt werden.");
    return 0;
  }
  const std::optional<std::string> name = args.takeWord();
  if (!name || name->empty() || !args.rest().empty()) {
    printError("Aufruf: kalvor-cli zeige NAME");
    return 2;
  }
  const std::string& folder = args.dataDir();
  const std::unique_ptr<DataSession> session = DataSession::open(folder);
  if (!session) return 1;
  ReferenceData& ref = session->data();
  const MineralDatabase* database = &ref.database();
  const std::optional<Glossary> glossary = Glossary::open(folder);

  CliDescriptionSources sources(*database, ref.names(), ref.systematics(), glossary,
                                &ref.collection());
  const std::optional<MineralNumber> number = sources.findMineral(*name);
  if (!number) {
    printError("Ein Mineral namens \"" + *name + "\" ist nicht verzeichnet.");
    return 1;
  }
  TextCanvas canvas;
  DescriptionLayout layout(canvas, sources, readDescriptionOptions(*session->settings()));
  layout.describeEntry(LayoutArea{0, 0, kPageWidth, 1 << 28}, database->readMineralRecord(*number),
                       *number);
  printUtf8(canvas.renderText());
  return 0;
}

}  // namespace kalvor::cli
