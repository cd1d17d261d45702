// "kalvor-cli etiketten": specimen labels as a PDF file, laid out by the same
// code as the printed sheets — direct labels from typed texts, or labels for
// specimens of the collection. Needs cairo, so only the native build has it.
#include <charconv>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/cp1252.h"
#include "labels/label_content.h"
#include "labels/label_format.h"
#include "labels/label_geometry.h"
#include "labels/label_sheet.h"
#include "tools/cli/cli.h"
#include "tools/cli/open_collection.h"
#include "tools/cli/open_data_folder.h"

#if KALVOR_HAVE_CAIRO
#include "render/pdf_canvas.h"
#endif

namespace kalvor::cli {
namespace {

void printUsageLabels() {
  std::puts(
      "Aufruf: kalvor-cli etiketten [--format N] --stufen LISTE --pdf DATEI [--anzahl N] [--qr]\n"
      "        kalvor-cli etiketten [--format N] --mineral TEXT [--begleitminerale TEXT]\n"
      "                             [--fundort TEXT] [--zusaetze TEXT] [--anzahl N] --pdf DATEI [--qr]\n"
      "Schreibt Etiketten als PDF-Datei (DIN A4): f\xC3\xBCr Stufen der Sammlung (LISTE wie\n"
      "\"1-20\" oder \"3,5,7-9\") oder direkt aus den angegebenen Texten. --format w\xC3\xA4hlt\n"
      "das Etikettenformat: 0 bis 9 die eingebauten, ab 10 die eigenen aus kalvor.ini.\n"
      "--anzahl gibt die Zahl der Etiketten je Stufe oder Eintrag an (1 bis 999).\n"
      "--qr druckt einen QR-Code mit Sammlungsindex und Mineralen, wo das Format Platz hat.");
}

#if KALVOR_HAVE_CAIRO
// The resolution of the PDF's device units: that of a common laser printer.
constexpr int kPdfDpi = 300;

// "1-20", "3,5,7-9": the numbers in the order given; nothing when malformed.
std::optional<std::vector<std::uint32_t>> parseNumberList(const std::string& text) {
  std::vector<std::uint32_t> out;
  std::size_t pos = 0;
  auto number = [&](std::uint32_t& v) {
    const std::size_t start = pos;
    unsigned long n = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && n <= 0x7FFFF)
      n = n * 10 + static_cast<unsigned long>(text[pos++] - '0');
    if (pos == start || n == 0 || n > 0x7FFFF) return false;
    v = static_cast<std::uint32_t>(n);
    return true;
  };
  while (pos < text.size()) {
    std::uint32_t first = 0, last = 0;
    if (!number(first)) return std::nullopt;
    last = first;
    if (pos < text.size() && text[pos] == '-') {
      ++pos;
      if (!number(last) || last < first) return std::nullopt;
    }
    for (std::uint32_t n = first; n <= last; ++n) out.push_back(n);
    if (pos < text.size() && text[pos] != ',') return std::nullopt;
    if (pos < text.size()) ++pos;
  }
  if (out.empty()) return std::nullopt;
  return out;
}
#endif

}  // namespace

int runLabels(Arguments& args) {
  if (args.takeFlag("--hilfe")) {
    printUsageLabels();
    return 0;
  }
#if !KALVOR_HAVE_CAIRO
  printError("Etiketten als PDF schreibt nur die Linux-Ausgabe von kalvor-cli.");
  return 1;
#else
  const std::optional<std::string> pdfPath = args.takeOption("--pdf");
  const std::optional<std::string> formatText = args.takeOption("--format");
  const std::optional<std::string> specimens = args.takeOption("--stufen");
  const std::optional<std::string> copiesText = args.takeOption("--anzahl");
  const bool qr = args.takeFlag("--qr");
  LabelContent direct;
  const std::optional<std::string> mineral = args.takeOption("--mineral");
  if (mineral) direct.mineral = *mineral;
  if (auto v = args.takeOption("--begleitminerale")) direct.accompanying = *v;
  if (auto v = args.takeOption("--fundort")) direct.locality = *v;
  if (auto v = args.takeOption("--zusaetze")) direct.freeLine = *v;
  if (rejectRest(args)) return 2;
  if (!pdfPath || pdfPath->empty() || (!specimens && !mineral) || (specimens && mineral)) {
    printError("Bitte geben Sie --pdf DATEI und entweder --stufen LISTE oder --mineral TEXT an.");
    return 2;
  }
  int copies = 1;
  if (copiesText) {
    const std::optional<int> n = parseLabelCopies(*copiesText);
    if (!n) {
      printError("Die Anzahl Etiketten muss zwischen 1 und 999 liegen.");
      return 2;
    }
    copies = *n;
  }
  std::optional<std::vector<std::uint32_t>> numbers;
  if (specimens) {
    numbers = parseNumberList(*specimens);
    if (!numbers) {
      printError("Die Liste der Stufen ist nicht lesbar (Beispiel: 1-20 oder 3,5,7-9).");
      return 2;
    }
  }

  // The data folder as the program opens it; the collection only for specimens.
  std::unique_ptr<OpenCollection> collection;
  std::unique_ptr<OpenDataFolder> data;
  if (specimens) {
    collection = OpenCollection::open(args.dataDir(), Collection::Access::kRead);
    if (!collection) return 1;
  } else {
    data = OpenDataFolder::open(args.dataDir());
    if (!data) return 1;
  }
  ReferenceData& ref = collection ? collection->reference() : data->data();
  Settings* settings = collection ? collection->settings() : data->settings();

  int index = 0;
  if (formatText) {
    const auto [end, ec] =
        std::from_chars(formatText->data(), formatText->data() + formatText->size(), index);
    if (ec != std::errc() || end != formatText->data() + formatText->size()) index = -1;
  }
  const std::vector<LabelFormat> userFormats =
      settings ? loadLabelFormats(*settings, true) : std::vector<LabelFormat>{};
  std::optional<LabelFormat> format = labelFormatAt(userFormats, index);
  if (!format) {
    printError("Das Etikettenformat gibt es nicht: 0 bis " +
               std::to_string(kBuiltInLabelFormatCount - 1 + static_cast<int>(userFormats.size())) +
               " sind m\xF6glich.");
    return 2;
  }
  if (qr) format->flags |= kLabelQrCode;

  // The contents first, so that nothing is written when none is there.
  std::vector<LabelContent> contents;
  if (numbers) {
    Collection& c = collection->collection();
    for (std::uint32_t n : *numbers) {
      const std::optional<Specimen> s = readSpecimen(c, n);
      if (!s || s->deleted()) continue;
      std::optional<Locality> locality;
      if (s->localityNumber() != 0) {
        locality = readLocality(c, s->localityNumber(), false);
        if (locality && locality->deleted()) locality.reset();
      }
      contents.push_back(specimenLabelContent(*s, ref.names(), locality, &ref.database()));
    }
    if (contents.empty()) {
      printError("Keine der angegebenen Stufen gibt es.");
      return 1;
    }
  } else {
    direct.formula = lookupLabelFormula(ref.names(), ref.database(), direct.mineral);
    direct.qrText = labelQrText("", direct.mineral, direct.accompanying);
    contents.push_back(direct);
  }

  // Options arrive in Windows-1252; the file system wants the UTF-8 name.
  const std::string fileName = cp1252ToUtf8(*pdfPath);
  std::unique_ptr<PdfCanvas> pdf = PdfCanvas::create(fileName, kPdfDpi);
  if (!pdf) {
    printError("Die Datei \"" + *pdfPath + "\" kann nicht angelegt werden.");
    return 1;
  }
  LabelSheet sheet(*pdf);
  const LabelFormatProblem problem = sheet.selectFormat(*format);
  if (problem != LabelFormatProblem::kNone) {
    printError("Das Etikettenformat \"" + format->name +
               "\" ist unbrauchbar: " + labelFormatProblemText(problem));
    pdf->finish();
    std::remove(fileName.c_str());
    return 1;
  }
  if (qr) {
    // The code must fit every label; the longest text decides.
    for (const LabelContent& content : contents) {
      if (!placeLabelQrCode(*format, *sheet.geometry(), setLabelFonts(*pdf, *format), pdf->geometry(),
                            content, 0, 0)) {
        printError("Das Etikettenformat \"" + format->name + "\" hat f\xFCr diesen QR-Code keinen Platz.");
        pdf->finish();
        std::remove(fileName.c_str());
        return 1;
      }
    }
  }
  int labels = 0;
  for (const LabelContent& content : contents) {
    sheet.printLabels(content, copies);
    labels += copies;
  }
  sheet.finish();
  if (!pdf->finish()) {
    printError("Die Datei \"" + *pdfPath + "\" konnte nicht vollst\xE4ndig geschrieben werden.");
    return 1;
  }
  printLine(std::to_string(labels) + (labels == 1 ? " Etikett" : " Etiketten") + " auf " +
            std::to_string(pdf->pageCount()) + (pdf->pageCount() == 1 ? " Seite" : " Seiten") +
            " im Format \"" + format->name + "\" nach " + *pdfPath + " geschrieben.");
  return 0;
#endif
}

}  // namespace kalvor::cli
