// "kalvor-cli drucke": the printed reports — mineral profile, locality
// description and specimen list — as a PDF file, laid out by the same code
// that fills the printer's pages. Needs cairo, so only the native build has it.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "base/cp1252.h"
#include "collection/locality.h"
#include "determination/reference_sources.h"
#include "refdb/glossary.h"
#include "reports/collection_list.h"
#include "reports/locality_report.h"
#include "reports/mineral_profile.h"
#include "tools/cli/cli.h"
#include "tools/cli/description_page.h"
#include "tools/cli/open_collection.h"
#include "tools/cli/piece_search_options.h"

#if KALVOR_HAVE_CAIRO
#include "render/pdf_canvas.h"
#endif

namespace kalvor::cli {
namespace {

void printUsagePrint() {
  std::puts(
      "Aufruf: kalvor-cli drucke steckbrief NAME --pdf DATEI\n"
      "        kalvor-cli drucke fundort N --pdf DATEI\n"
      "        kalvor-cli drucke stufenliste [--suche KRITERIEN] --pdf DATEI [--fortschritt]\n"
      "Schreibt einen Bericht als PDF-Datei (DIN A4), Seite f\xC3\xBCr Seite wie gedruckt:\n"
      "den Mineralsteckbrief eines Minerals (der Name darf abgek\xC3\xBCrzt werden), die\n"
      "Fundortbeschreibung des Fundorts Nummer N oder die Stufenliste aller Stufen in\n"
      "der gew\xC3\xA4hlten Sortierung. Nach --suche folgen die Kriterien von\n"
      "\"kalvor-cli suche stufe\" (--minerale, --standort, --art ...); dann enth\xC3\xA4lt die\n"
      "Liste nur die gefundenen Stufen. --fortschritt zeigt \"Bearbeite Stufe ...\" an.");
}

#if KALVOR_HAVE_CAIRO
// The resolution of the PDF's device units: that of a common laser printer.
constexpr int kPdfDpi = 300;

// The progress of the specimen list on stderr, one line overwritten.
class CliProgress : public PrintProgress {
 public:
  explicit CliProgress(bool visible) : visible_(visible) {}
  ~CliProgress() override {
    if (visible_ && shown_) std::fputs("\n", stderr);
  }
  void show(std::string_view text) override {
    if (!visible_) return;
    shown_ = true;
    const std::string utf8 = cp1252ToUtf8(text);
    std::fprintf(stderr, "\r%s", utf8.c_str());
  }
  bool cancelled() override { return false; }

 private:
  bool visible_;
  bool shown_ = false;
};

// Writes the report `print` draws into the PDF file at `path` (Windows-1252).
int writeReport(const std::string& path, const char* reportName,
                const std::function<PrintResult(PageCanvas&)>& print) {
  const std::string fileName = cp1252ToUtf8(path);
  std::unique_ptr<PdfCanvas> pdf = PdfCanvas::create(fileName, kPdfDpi);
  if (!pdf) {
    printError("Die Datei \"" + path + "\" kann nicht angelegt werden.");
    return 1;
  }
  const PrintResult result = print(*pdf);
  const bool written = pdf->finish();
  if (result.outcome == PrintOutcome::kNothingToPrint) {
    std::remove(fileName.c_str());
    printError(std::string("Der Bericht \"") + reportName + "\" hat keinen Eintrag.");
    return 1;
  }
  if (!written || result.outcome != PrintOutcome::kPrinted) {
    std::remove(fileName.c_str());
    printError("Die Datei \"" + path + "\" konnte nicht vollst\xE4ndig geschrieben werden.");
    return 1;
  }
  printLine(std::string(reportName) + " mit " + std::to_string(pdf->pageCount()) +
            (pdf->pageCount() == 1 ? " Seite" : " Seiten") + " nach " + path + " geschrieben.");
  return 0;
}
#endif

}  // namespace

int runPrint(Arguments& args) {
  const std::optional<std::string> what = args.takeWord();
  if (!what || args.takeFlag("--hilfe")) {
    printUsagePrint();
    return what ? 0 : 2;
  }
  if (*what != "steckbrief" && *what != "fundort" && *what != "stufenliste") {
    printError("Unbekannter Bericht \"" + *what + "\": steckbrief, fundort oder stufenliste.");
    return 2;
  }
#if !KALVOR_HAVE_CAIRO
  printError("Berichte als PDF schreibt nur die Linux-Ausgabe von kalvor-cli.");
  return 1;
#else
  std::optional<std::string> word;
  if (*what != "stufenliste") {
    word = args.takeWord();
    if (!word || word->empty()) {
      printError(*what == "steckbrief" ? "Bitte geben Sie den Namen des Minerals an."
                                       : "Bitte geben Sie die Nummer des Fundorts an.");
      return 2;
    }
  }
  const std::optional<std::string> pdfPath = args.takeOption("--pdf");
  const bool search = args.takeFlag("--suche");
  const bool showProgress = args.takeFlag("--fortschritt");
  SpecimenSearchInput criteria;
  if (search && !takeSpecimenSearchOptions(args, criteria)) return 2;
  if (rejectRest(args)) return 2;
  if (!pdfPath || pdfPath->empty()) {
    printError("Bitte geben Sie --pdf DATEI an.");
    return 2;
  }
  std::unique_ptr<OpenCollection> session = OpenCollection::open(args.dataDir(), Collection::Access::kRead);
  if (!session) return 1;
  ReferenceData& ref = session->reference();
  Collection& c = session->collection();
  const std::optional<Glossary> glossary = Glossary::open(args.dataDir());
  const CliDescriptionSources sources(ref.database(), ref.names(), ref.systematics(), glossary, &c);
  const DescriptionOptions options =
      session->settings() ? readDescriptionOptions(*session->settings()) : DescriptionOptions{};

  if (*what == "steckbrief") {
    const std::optional<MineralNumber> number = sources.findMineral(*word);
    if (!number) {
      printError("Ein Mineral namens \"" + *word + "\" ist nicht verzeichnet.");
      return 1;
    }
    const MineralProfileSources ps{sources, options, &c, ref.drawings()};
    return writeReport(*pdfPath, "Mineralsteckbrief",
                       [&](PageCanvas& pdf) { return printMineralProfile(pdf, ps, *number); });
  }
  if (*what == "fundort") {
    const std::optional<std::uint32_t> n = parseRecordNumber(word, "des Fundorts");
    if (!n) return 2;
    const std::optional<Locality> locality = readLocality(c, *n, false);
    if (!locality || locality->deleted()) {
      printError("Den Fundort " + std::to_string(*n) + " gibt es nicht.");
      return 1;
    }
    return writeReport(*pdfPath, "Fundortbeschreibung", [&](PageCanvas& pdf) {
      return printLocalityDescription(pdf, *locality, ref.names(), sources);
    });
  }
  std::optional<RecordSet> set;
  if (search) {
    const ReferenceMineralFacts facts(ref.database(), ref.names());
    MineralCriteriaSources criteriaSources;
    criteriaSources.index = &ref.searchIndex();
    criteriaSources.minerals = &facts;
    const CollectionSearchOutcome out = searchSpecimens(c, criteria, criteriaSources);
    if (!out.succeeded()) return showSearchMessage(out, criteria.elementExpression);
    set = out.records;
  }
  CliProgress progress(showProgress);
  return writeReport(*pdfPath, "Stufenliste",
                     [&](PageCanvas& pdf) { return printSpecimenList(pdf, c, set, sources, &progress); });
#endif
}

}  // namespace kalvor::cli
