#include <csignal>
#include <cstdio>
#include <cstring>

#include "base/cp1252.h"
#include "tools/cli/cli.h"

namespace kalvor::cli {
namespace {

#ifndef KALVOR_VERSION
#define KALVOR_VERSION "0.0.0"
#endif

const Command kCommands[] = {
    {"dateien", "Listet die Referenzdateien im Datenordner auf.", runFiles},
    {"bestimme", "Bestimmt ein Mineral aus beobachteten Eigenschaften.", runDetermine},
    {"farben", "Listet die Farbauswahl der Mineralbestimmung auf.", runColours},
    {"fundort", "Fundorte erfassen, auflisten, zeigen, \xC3\xA4ndern und l\xC3\xB6schen.", runLocality},
    {"stufe", "Stufen erfassen, auflisten, zeigen, \xC3\xA4ndern und l\xC3\xB6schen.", runSpecimen},
    {"index",
     "Den Stufen/Fundstellen-Index pr\xC3\xBC"
     "fen oder neu aufbauen.",
     runIndex},
    {"zeige", "Zeigt die Beschreibung eines Minerals (zeige NAME).", runShow},
    {"suche", "Fundorte oder Stufen der Sammlung suchen.", runSearch},
    {"glossar", "Listet die Begriffe des Glossars oder zeigt einen (glossar BEGRIFF).", runGlossary},
    {"tausch", "Tauschliste (*.ktl) exportieren oder anzeigen.", runExchange},
    {"etiketten", "Etiketten f\xC3\xBCr Stufen oder direkt erfasste Minerale als PDF.", runLabels},
    {"drucke", "Mineralsteckbrief, Fundortbeschreibung oder Stufenliste als PDF.", runPrint},
    {"export", "Fundorte oder Stufen als Tabelle (CSV, Semikolon, UTF-8) ausgeben.", runExport},
    {"import",
     "Fundorte oder Stufen aus einer Tabelle (CSV) einlesen; pr\xC3\xBC"
     "ft jede Zeile vorher.",
     runImport},
    {"sicherung",
     "Sicherungen der Sammlung auflisten, anlegen oder zur\xC3\xBC"
     "ckschreiben.",
     runBackup},
    {"reparatur",
     "Eine besch\xC3\xA4"
     "digte Sammlung reparieren: rettet jeden lesbaren Datensatz.",
     runRepair},
};

void printUsage(std::FILE* out) {
  std::fputs(
      "Aufruf: kalvor-cli [--daten ORDNER] BEFEHL [OPTIONEN]\n"
      "\n"
      "Kalvor auf der Kommandozeile. Texte werden in UTF-8 gelesen und ausgegeben.\n"
      "\n"
      "Allgemeine Optionen:\n"
      "  --daten ORDNER   Ordner mit den Datendateien (Vorgabe: aktueller Ordner)\n"
      "  --version        Versionsangabe ausgeben\n"
      "  --hilfe, --help  diese Hilfe ausgeben\n"
      "\n"
      "R\xC3\xBC"
      "ckgabewerte: 0 erledigt, 1 Fehler (nichts gespeichert), 2 falscher Aufruf,\n"
      "3 gespeichert, aber der Suchindex wird erst beim n\xC3\xA4"
      "chsten Start neu aufgebaut.\n"
      "\n"
      "Befehle:\n",
      out);
  for (const Command& c : kCommands) std::fprintf(out, "  %-14s %s\n", c.word, c.synopsis);
}

}  // namespace

std::optional<std::string> Arguments::takeOption(std::string_view name) {
  std::optional<std::string> value = takeOptionUtf8(name);
  if (!value) return value;
  return utf8ToCp1252Lossy(*value);
}

std::optional<std::string> Arguments::takeOptionUtf8(std::string_view name) {
  for (std::size_t i = 0; i + 1 < words_.size(); ++i) {
    if (words_[i] == name) {
      std::string value = words_[i + 1];
      words_.erase(words_.begin() + static_cast<std::ptrdiff_t>(i),
                   words_.begin() + static_cast<std::ptrdiff_t>(i) + 2);
      return value;
    }
  }
  return std::nullopt;
}

bool Arguments::takeFlag(std::string_view name) {
  for (std::size_t i = 0; i < words_.size(); ++i) {
    if (words_[i] == name) {
      words_.erase(words_.begin() + static_cast<std::ptrdiff_t>(i));
      return true;
    }
  }
  return false;
}

std::optional<std::string> Arguments::takeWord() {
  for (std::size_t i = 0; i < words_.size(); ++i) {
    if (words_[i].rfind("--", 0) != 0) {
      std::string w = utf8ToCp1252Lossy(words_[i]);
      words_.erase(words_.begin() + static_cast<std::ptrdiff_t>(i));
      return w;
    }
  }
  return std::nullopt;
}

void printLine(std::string_view cp1252) {
  const std::string s = cp1252ToUtf8(cp1252);
  std::fwrite(s.data(), 1, s.size(), stdout);
  std::fputc('\n', stdout);
}

void printError(std::string_view cp1252) {
  std::fflush(stdout);
  const std::string s = cp1252ToUtf8(cp1252);
  std::fwrite(s.data(), 1, s.size(), stderr);
  std::fputc('\n', stderr);
}

}  // namespace kalvor::cli

int main(int argc, char** argv) {
  using namespace kalvor::cli;
#ifdef SIGXFSZ
  // A file-size limit must end a write with an error that is reported, not
  // end the process in the middle of a save.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  std::vector<std::string> words;
  std::string dataDir = ".";
  bool wantHelp = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--daten") == 0 && i + 1 < argc) {
      dataDir = argv[++i];
    } else if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("kalvor-cli %s\n", KALVOR_VERSION);
      return 0;
    } else if (std::strcmp(argv[i], "--hilfe") == 0 || std::strcmp(argv[i], "--help") == 0) {
      wantHelp = true;
    } else {
      words.emplace_back(argv[i]);
    }
  }
  if (words.empty()) {
    printUsage(wantHelp ? stdout : stderr);
    return wantHelp ? 0 : 2;
  }
  const std::string word = words.front();
  words.erase(words.begin());
  for (const Command& c : kCommands) {
    if (word == c.word) {
      if (wantHelp) words.emplace_back("--hilfe");
      Arguments args(std::move(words), dataDir);
      return c.run(args);
    }
  }
  std::fprintf(stderr, "Unbekannter Befehl \"%s\". \"kalvor-cli --hilfe\" zeigt alle Befehle.\n",
               word.c_str());
  return 2;
}
