// kalvor-mkdb: compiles the text sources of data/ into the reference files
// the program ships with. The output is byte-identical from run to run.
//
//   kalvor-mkdb [--quelle DATA] [--ziel OUT] [--bericht]
//   kalvor-mkdb --gif N DATEI [--ziel OUT]   picture N of OUT/logos.pf as a GIF file
//   kalvor-mkdb --pbm N DATEI [--ziel OUT]   the same, decoded by us, as a plain PBM file
#include <cstdio>
#include <cstring>
#include <string>

#include "base/file_io.h"
#include "refdb/lzw.h"
#include "refdb/picture_file.h"
#include "tools/mkdb/gif_export.h"
#include "tools/mkdb/compile.h"
#include "tools/mkdb/report.h"

namespace kalvor::mkdb {
namespace {

// Our own decoding of a picture as a plain PBM (1 = ink), to compare with another decoder's.
std::string plainPbm(const Picture& p) {
  std::string out = "P1\n" + std::to_string(p.width) + " " + std::to_string(p.height) + "\n";
  for (std::size_t y = 0; y < p.height; ++y) {
    for (std::size_t x = 0; x < p.width; ++x) out += pictureBit(p.bitmap, p.width, x, y) ? '0' : '1';
    out += '\n';
  }
  return out;
}

int exportPicture(const std::string& outDir, int number, const std::string& target, bool asGif) {
  const auto bytes = readWholeFile(joinPath(outDir, "logos.pf"));
  const auto file = bytes ? PictureFile::fromBytes(*bytes) : std::nullopt;
  const auto offset = file ? file->pictureOffset(static_cast<std::uint32_t>(number)) : std::nullopt;
  const auto header = offset ? file->readHeader(*offset) : std::nullopt;
  if (!header) {
    std::fprintf(stderr, "Bild %d in %s/logos.pf nicht gefunden\n", number, outDir.c_str());
    return 1;
  }
  Bytes data;
  if (asGif) {
    data = wrapPictureAsGif(*bytes, *header);
  } else if (const auto picture = file->readPicture(*offset)) {
    const std::string pbm = plainPbm(*picture);
    data.assign(pbm.begin(), pbm.end());
  }
  if (data.empty() || !writeWholeFile(target, data)) {
    std::fprintf(stderr, "%s kann nicht geschrieben werden\n", target.c_str());
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace kalvor::mkdb

int main(int argc, char** argv) {
  using namespace kalvor;
  using namespace kalvor::mkdb;
  std::string dataDir = "data", outDir = ".";
  bool wantReport = false;
  int pictureNumber = -1;
  bool asGif = true;
  std::string pictureTarget;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--quelle" && i + 1 < argc) {
      dataDir = argv[++i];
    } else if (a == "--ziel" && i + 1 < argc) {
      outDir = argv[++i];
    } else if (a == "--bericht") {
      wantReport = true;
    } else if ((a == "--gif" || a == "--pbm") && i + 2 < argc) {
      asGif = a == "--gif";
      pictureNumber = std::atoi(argv[++i]);
      pictureTarget = argv[++i];
    } else {
      std::fprintf(stderr,
                   "Aufruf: kalvor-mkdb [--quelle DATENORDNER] [--ziel AUSGABEORDNER] [--bericht]\n"
                   "        kalvor-mkdb --gif|--pbm N DATEI [--ziel AUSGABEORDNER]\n");
      return 2;
    }
  }
  if (pictureNumber >= 0) return exportPicture(outDir, pictureNumber, pictureTarget, asGif);

  Report report;
  const bool ok = compileReferenceData(dataDir, outDir, report);
  // The report always lands beside the files, so every build can be checked later.
  // Paths in the report are relative to the source folder, so that the report
  // of one build compares with another's wherever the sources lay.
  std::string reportText = report.text();
  const std::string prefix = joinPath(dataDir, "");
  for (std::size_t pos = reportText.find(prefix); pos != std::string::npos && !prefix.empty();
       pos = reportText.find(prefix, pos)) {
    reportText.erase(pos, prefix.size());
  }
  writeWholeFile(joinPath(outDir, "kalvor-mkdb-bericht.txt"), Bytes(reportText.begin(), reportText.end()));
  if (wantReport) std::fputs(reportText.c_str(), stdout);
  if (!ok || report.hasErrors()) {
    std::fputs(report.errorText().c_str(), stderr);
    std::fprintf(stderr, "kalvor-mkdb: %zu Fehler, keine vollständigen Referenzdateien erzeugt\n",
                 report.errors().size());
    return 1;
  }
  std::printf("kalvor-mkdb: %zu Einträge, %zu Glossareinträge nach %s geschrieben\n",
              report.countOf("Einträge in kalvor.db"), report.countOf("Glossareinträge"), outDir.c_str());
  return 0;
}
