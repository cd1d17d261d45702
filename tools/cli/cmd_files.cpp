// "kalvor-cli dateien": which reference files the data folder holds.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/cli/cli.h"

namespace kalvor::cli {
namespace {

struct ReferenceFile {
  const char* name;
  const char* role;  // UTF-8
  bool required;
};

const ReferenceFile kReferenceFiles[] = {
    {"kalvor.mi", "Satzverweise der Mineraldatei", true},
    {"kalvor.db", "Mineraldaten", true},
    {"kalvor.na", "Namen für den Aufbau der Namensliste", false},
    {"kalvor.fl", "sortierte Namensliste (wird bei Bedarf erzeugt)", false},
    {"kalvor.si", "Suchindex (wird bei Bedarf erzeugt)", false},
    {"kalvor.sy", "Systematik", false},
    {"kalvor.gl", "Glossar", false},
    {"kalvor.pf", "Bilder", false},
    {"kalvor.zi", "Bildverweise", false},
    {"kalvor.lf", "Kristallzeichnungen", false},
    {"kalvor.kf", "Kristallformen der berechneten Zeichnungen", false},
    {"logos.pf", "Programmbilder", false},
};

}  // namespace

int runFiles(Arguments& args) {
  namespace fs = std::filesystem;
  std::printf("Datenordner: %s\n", args.dataDir().c_str());
  bool complete = true;
  for (const ReferenceFile& f : kReferenceFiles) {
    std::error_code ec;
    const fs::path p = fs::path(args.dataDir()) / f.name;
    const auto size = fs::file_size(p, ec);
    if (ec) {
      std::printf("  %-10s %15s  %s\n", f.name, "fehlt", f.role);
      if (f.required) complete = false;
    } else {
      const std::string bytes = std::to_string(static_cast<unsigned long long>(size)) + " Bytes";
      std::printf("  %-10s %15s  %s\n", f.name, bytes.c_str(), f.role);
    }
  }
  if (!complete) {
    std::printf("Die Mineraldaten (kalvor.mi, kalvor.db) fehlen in diesem Ordner.\n");
    return 1;
  }
  return 0;
}

}  // namespace kalvor::cli
