// "kalvor-cli zeige NAME": the description page of a mineral or an alias as
// text, followed by the localities of the user's collection where the mineral
// occurs, laid out by the same code as the program's description window.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "collection/collection.h"
#include "collection/mineral_specimen.h"
#include "determination/colours.h"
#include "determination/description.h"
#include "pages/collection_description.h"
#include "platform/settings.h"
#include "refdb/glossary.h"
#include "refdb/mineral_record.h"
#include "refdb/names.h"
#include "refdb/systematics.h"
#include "render/text_canvas.h"
#include "tools/cli/cli.h"
#include "tools/cli/description_page.h"
#include "tools/cli/open_data_folder.h"

namespace kalvor::cli {


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
  const std::unique_ptr<OpenDataFolder> session = OpenDataFolder::open(folder);
  if (!session) return 1;
  ReferenceData& ref = session->data();
  const std::optional<Glossary> noGlossary;
  const CliDescriptionSources lookup(ref.database(), ref.names(), ref.systematics(), noGlossary, nullptr);
  const std::optional<MineralNumber> number = lookup.findMineral(*name);
  if (!number) {
    printError("Ein Mineral namens \"" + *name + "\" ist nicht verzeichnet.");
    return 1;
  }
  printDescriptionPage(ref, folder, session->settings(), [&](DescriptionLayout& layout, const LayoutArea& area) {
    layout.describeEntry(area, ref.database().readMineralRecord(*number), *number);
  });
  return 0;
}

}  // namespace kalvor::cli
