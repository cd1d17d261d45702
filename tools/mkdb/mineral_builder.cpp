#include "tools/mkdb/mineral_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

#include "base/cp1252.h"
#include "base/file_io.h"
#include "refdb/systematics.h"
#include "tools/mkdb/density_check.h"

namespace kalvor::mkdb {
namespace {

constexpr std::uint16_t kCleavagePerfect = 0x08;      // vollkommen
constexpr std::uint16_t kCleavageVeryPerfect = 0x10;  // sehr vollkommen

std::optional<double> parseDecimal(std::string text) {
  text = trim(text);
  std::replace(text.begin(), text.end(), ',', '.');
  double extra = 0;
  // "5½" as the sources write it sometimes.
  if (const auto half = text.find("\xC2\xBD"); half != std::string::npos) {
    text.erase(half, 2);
    extra = 0.5;
  }
  if (text.empty()) return extra > 0 ? std::optional<double>(extra) : std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || *end != '\0' || !std::isfinite(v)) return std::nullopt;
  return v + extra;
}

// Sets a curated value, given by the names the curators use, on the mineral
// row's columns: ranges "a-b" split into minimum and maximum, "cell none"
// removes the lattice constants.
void setCuratedField(std::map<std::string, std::string>& cells, const std::string& field,
                     const std::string& value, const std::string& where, Report& report) {
  auto setRange = [&](const char* minCol, const char* maxCol) {
    const auto dash = value.find('-', 1);
    cells[minCol] = trim(value.substr(0, dash));
    cells[maxCol] = dash == std::string::npos ? cells[minCol] : trim(value.substr(dash + 1));
  };
  if (field == "hardness") {
    setRange("hardness_min", "hardness_max");
  } else if (field == "density") {
    setRange("density_min", "density_max");
  } else if (field == "cell") {
    // "none", or the corrected constants as "a=5.3; c=13.77"; constants not named are cleared.
    for (const char* col : {"a", "b", "c", "alpha", "beta", "gamma", "z"}) cells[col] = "";
    if (value == "none") return;
    for (const std::string& part : splitList(value)) {
      const auto eq = part.find('=');
      const std::string key = eq == std::string::npos ? "" : trim(part.substr(0, eq));
      if (key != "a" && key != "b" && key != "c" && key != "alpha" && key != "beta" && key != "gamma" &&
          key != "z") {
        report.error(where + ": \"" + part + "\" ist keine Angabe der Form a=, b=, c=, alpha=, beta=, gamma= oder z=");
        continue;
      }
      cells[key] = trim(part.substr(eq + 1));
    }
  } else if (field == "cleavage" || field == "fracture" || field == "tenacity" || field == "transparency") {
    cells[field + "_terms"] = value;
  } else if (field == "crystal_system") {
    cells["crystal_systems"] = value;
  } else {
    cells[field] = value;
  }
}

// A table keyed by English name whose cells replace those of the mineral row.
struct Overlay {
  std::map<std::string, std::map<std::string, std::string>> cells;
};

Overlay loadOverlay(const std::string& path, const char* keyColumn, Report& report) {
  Overlay overlay;
  std::string error;
  auto t = TsvTable::load(path, error);
  if (!t) return overlay;  // optional table
  if (!t->column(keyColumn)) {
    report.error(path + ": Spalte \"" + keyColumn + "\" fehlt");
    return overlay;
  }
  for (const auto& row : t->rows()) {
    const std::string key = trim(t->cell(row, keyColumn));
    if (key.empty()) {
      report.error(t->where(row) + ": ohne " + keyColumn);
      continue;
    }
    // Long form "english_name, field, value" or wide form with the mineral columns.
    if (t->column("field") && t->column("value")) {
      setCuratedField(overlay.cells[key], trim(t->cell(row, "field")), trim(t->cell(row, "value")),
                      t->where(row), report);
      continue;
    }
    for (const char* col : {"german_name", "formula", "hardness_min", "hardness_max", "density_min",
                            "density_max", "colours", "streak", "lustre", "cleavage_terms",
                            "fracture_terms", "tenacity_terms", "transparency_terms",
                            "crystal_systems", "point_group", "strunz8", "ima_status",
                            "english_name_cp1252"}) {
      const std::string v = trim(t->cell(row, col));
      if (!v.empty()) overlay.cells[key][col] = v;
    }
  }
  report.count(std::string("Zeilen in ") + path, t->rows().size());
  return overlay;
}

// The English names of collection_species.txt (one a line, "#" comments).
std::set<std::string> loadCollectionSpecies(const std::string& path) {
  std::set<std::string> names;
  const auto bytes = readWholeFile(path);
  if (!bytes) return names;
  std::string line;
  for (std::size_t i = 0; i <= bytes->size(); ++i) {
    const char c = i < bytes->size() ? static_cast<char>((*bytes)[i]) : '\n';
    if (c != '\n') {
      if (c != '\r') line.push_back(c);
      continue;
    }
    line = trim(line);
    if (!line.empty() && line[0] != '#') names.insert(line);
    line.clear();
  }
  return names;
}

}  // namespace

std::optional<std::uint8_t> parseHardnessHalfSteps(const std::string& text) {
  const auto v = parseDecimal(text);
  if (!v || *v < 1.0 || *v > 10.0) return std::nullopt;
  return static_cast<std::uint8_t>(std::lround(*v * 2.0));
}

std::optional<DensityValue> parseDensityValue(const std::string& text) {
  const auto v = parseDecimal(text);
  if (!v || *v < 0.005 || *v >= 255.995) return std::nullopt;
  const long hundredths = std::lround(*v * 100.0);
  return DensityValue{static_cast<std::uint8_t>(hundredths / 100), static_cast<std::uint8_t>(hundredths % 100)};
}

std::optional<std::string> MineralBuilder::toRecordText(const std::string& utf8, std::size_t maxBytes,
                                                        const char* what, const std::string& where) {
  std::string text = utf8;
  for (const auto& [from, to] : mappings_.formulaCharacters) {
    if (from.empty()) continue;
    for (std::size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size()))
      text.replace(pos, from.size(), to);
  }
  const auto cp = utf8ToCp1252(text);
  if (!cp) {
    report_.error(where + ": " + what + " \"" + utf8 + "\" enthält Zeichen außerhalb von Windows-1252");
    return std::nullopt;
  }
  if (cp->size() > maxBytes) {
    report_.error(where + ": " + what + " \"" + utf8 + "\" ist länger als " + std::to_string(maxBytes) + " Bytes");
    return std::nullopt;
  }
  return cp;
}

std::uint16_t MineralBuilder::mapProperty(const std::string& sourceField, const std::string& cell,
                                          const char* vocabularyField) {
  std::uint16_t bits = 0;
  const auto fieldMap = mappings_.properties.find(sourceField);
  for (const std::string& part : splitList(cell)) {
    const std::string word = lowerAscii(part);
    std::vector<std::string> targets;
    if (fieldMap != mappings_.properties.end() && fieldMap->second.count(word)) {
      targets = fieldMap->second.at(word);
      if (targets.empty()) report_.unmapped(sourceField + " (bewusst ohne Wort)", part);
    } else if (vocabulary_.propertyBits(vocabularyField, part)) {
      targets = {part};  // already one of the program's own words
    } else {
      report_.unmapped(sourceField, part);
      continue;
    }
    for (const std::string& target : targets) {
      if (const auto b = vocabulary_.propertyBits(vocabularyField, target)) {
        bits = static_cast<std::uint16_t>(bits | *b);
      } else {
        report_.error("property_words.tsv: \"" + target + "\" ist kein Wort von " + vocabularyField);
      }
    }
  }
  return bits;
}

std::vector<std::uint16_t> MineralBuilder::mapColours(const std::string& field, const std::string& cell,
                                                      std::size_t max, const std::string& where) {
  std::vector<std::uint16_t> numbers;
  for (const std::string& part : splitList(cell)) {
    std::vector<std::string> targets;
    const auto it = mappings_.colourWords.find(lowerAscii(part));
    if (it != mappings_.colourWords.end()) {
      targets = it->second;
      if (targets.empty()) report_.unmapped(field + " (bewusst ohne Farbe)", part);
    } else if (vocabulary_.colourNumber(part)) {
      targets = {part};
    } else {
      report_.unmapped(field, part);
      continue;
    }
    for (const std::string& target : targets) {
      const auto n = vocabulary_.colourNumber(target);
      if (!n) {
        report_.error("colour_words.tsv: \"" + target + "\" ist keine Farbe der Farbtabelle");
        continue;
      }
      if (std::find(numbers.begin(), numbers.end(), *n) == numbers.end()) numbers.push_back(*n);
    }
  }
  if (numbers.size() > max) {
    report_.warning(where + ": " + field + " hat " + std::to_string(numbers.size()) +
                    " Farben, gespeichert werden die ersten " + std::to_string(max));
    numbers.resize(max);
  }
  return numbers;
}

void MineralBuilder::checkCellDensity(const std::string& english, const std::string& pointGroup,
                                      std::string formula, const CrystalDataEntry& cd,
                                      const MineralRecord& r) {
  const double volume = cellVolume(pointGroup, cd.a0, cd.b0, cd.c0, cd.alpha, cd.beta, cd.gamma);
  if (volume <= 0) {
    report_.warning("Gitter unvollständig: " + english + " (Klasse " + pointGroup +
                    ") nennt nicht alle Konstanten, die das Kristallsystem braucht");
    return;
  }
  if (cd.z == 0 || !r.densityMin().isKnown()) return;
  // A vacancy weighs nothing.
  for (std::size_t pos = formula.find("\xE2\x96\xA1"); pos != std::string::npos; pos = formula.find("\xE2\x96\xA1"))
    formula.erase(pos, 3);
  const auto weight = formulaWeight(formula);
  if (!weight) return;
  report_.count("Dichte aus Formel, Z und Gitter geprüft");
  const double low = densityOf(cd.z, weight->lightest, volume);
  const double high = densityOf(cd.z, weight->heaviest, volume);
  const double measuredLow = r.densityMin().gramsPerCm3();
  const double measuredHigh = r.densityMax().isKnown() ? r.densityMax().gramsPerCm3() : measuredLow;
  const double gap = densityGap(low, high, measuredLow, measuredHigh);
  if (gap <= kDensityTolerance) return;
  char text[200];
  std::snprintf(text, sizeof text, "berechnet %.2f-%.2f g/cm³ (Z=%d, V=%.1f Å³), gemessen %.2f-%.2f g/cm³, %.0f %% daneben",
                low, high, cd.z, volume, measuredLow, measuredHigh, gap * 100);
  report_.warning("Dichte aus Formel, Z und Gitter: " + english + ": " + text);
}

std::vector<BuiltEntry> MineralBuilder::buildFullMinerals(const std::string& dataDir) {
  std::vector<BuiltEntry> out;
  std::string error;
  // The merged source table, unless a reworked minerals.tsv stands beside the mappings.
  auto table = TsvTable::load(joinPath(dataDir, "minerals.tsv"), error);
  if (!table) table = TsvTable::load(joinPath(dataDir, "sources/merged_minerals.tsv"), error);
  if (!table) {
    report_.error(error);
    return out;
  }
  for (const char* col : {"english_name", "german_name", "formula", "ima_status"}) {
    if (!table->column(col)) {
      report_.error(table->path() + ": Spalte \"" + col + "\" fehlt");
      return out;
    }
  }
  const std::set<std::string> collectionSpecies = loadCollectionSpecies(joinPath(dataDir, "collection_species.txt"));
  const Overlay names = loadOverlay(joinPath(dataDir, "german_names.tsv"), "english_name", report_);
  const Overlay curated = loadOverlay(joinPath(dataDir, "curated.tsv"), "english_name", report_);

  for (const auto& row : table->rows()) {
    const std::string english = trim(table->cell(row, "english_name"));
    const std::string where = table->where(row);
    auto value = [&](const char* col) -> std::string {
      for (const Overlay* o : {&curated, &names}) {
        const auto m = o->cells.find(english);
        if (m == o->cells.end()) continue;
        const auto c = m->second.find(col);
        if (c != m->second.end()) return c->second;
      }
      return trim(table->cell(row, col));
    };
    if (english.empty()) {
      report_.error(where + ": Zeile ohne englischen Namen");
      continue;
    }
    BuiltEntry e;
    e.englishName = english;
    e.source = where;
    MineralRecord& r = e.record;

    const std::string status = value("ima_status");
    if (const auto flag = mappings_.statusFlag(status)) {
      r.setFlags(*flag);
    } else {
      report_.unmapped("ima_status", status.empty() ? "(leer)" : status);
      r.setFlags(kMineralOtherStatus);
    }

    const auto name = toRecordText(value("german_name"), 39, "Name", where);
    if (!name || name->empty()) {
      if (name) report_.error(where + ": deutscher Name fehlt");
      continue;
    }
    // The English name as the record can hold it: the curated spelling, the
    // source's own, or (for names with letters outside Windows-1252) the one
    // derived from the transliterated German name.
    const std::string englishCell = value("english_name_cp1252");
    std::optional<std::string> englishCp = utf8ToCp1252(englishCell.empty() ? english : englishCell);
    if (!englishCp) englishCp = englishNameOf(*name);
    e.name = *name;
    r.setName(*name);
    if (englishNameOf(*name) != *englishCp) {
      if (englishCp->size() > 39) {
        report_.error(where + ": englischer Name \"" + english + "\" ist länger als 39 Bytes");
        continue;
      }
      r.setFlags(static_cast<std::uint8_t>(r.flags() | kMineralEnglishNames));
      r.setEnglishName(*englishCp);
      report_.count("Minerale mit ausdrücklichem englischem Namen");
    } else {
      r.setEnglishName(englishNameOf(*name));
    }

    if (const std::string f = value("formula"); !f.empty()) {
      if (const auto formula = toRecordText(f, 150, "Formel", where)) {
        r.setFormula(*formula);
        report_.count("Feld Formel");
      }
    }

    const std::string hMinText = value("hardness_min"), hMaxText = value("hardness_max");
    if (!hMinText.empty() || !hMaxText.empty()) {
      auto hMin = parseHardnessHalfSteps(hMinText.empty() ? hMaxText : hMinText);
      auto hMax = parseHardnessHalfSteps(hMaxText.empty() ? hMinText : hMaxText);
      if (!hMin || !hMax) {
        report_.error(where + ": Härte \"" + hMinText + "\"/\"" + hMaxText + "\" ist keine Mohshärte");
      } else {
        if (*hMin > *hMax) std::swap(hMin, hMax);
        r.setHardness(*hMin, *hMax);
        report_.count("Feld Härte");
      }
    }

    const std::string dMinText = value("density_min"), dMaxText = value("density_max");
    if (!dMinText.empty() || !dMaxText.empty()) {
      auto dMin = parseDensityValue(dMinText.empty() ? dMaxText : dMinText);
      auto dMax = parseDensityValue(dMaxText.empty() ? dMinText : dMaxText);
      if (!dMin || !dMax) {
        report_.error(where + ": Dichte \"" + dMinText + "\"/\"" + dMaxText + "\" ist keine Dichte");
      } else {
        if (dMin->gramsPerCm3() > dMax->gramsPerCm3()) std::swap(dMin, dMax);
        r.setDensity(*dMin, *dMax);
        report_.count("Feld Dichte");
      }
    }

    const auto colours = mapColours("colours", value("colours"), 20, where);
    r.setColours(colours);
    if (!colours.empty()) report_.count("Feld Farbe");
    const auto streak = mapColours("streak", value("streak"), 4, where);
    r.setStreaks(streak);
    if (!streak.empty()) report_.count("Feld Strichfarbe");

    r.setCrystalSystems(mapProperty("crystal_system", value("crystal_systems"), "kristallsystem"));
    r.setLustre(mapProperty("lustre", value("lustre"), "glanz"));
    std::uint16_t cleavage = mapProperty("cleavage", value("cleavage_terms"), "spaltbarkeit");
    // A very perfect cleavage is a perfect one: stored as both, so that a
    // search for "vollkommen" finds mica, gypsum and galena.
    if (cleavage & kCleavageVeryPerfect) cleavage |= kCleavagePerfect;
    r.setCleavage(static_cast<std::uint8_t>(cleavage));
    r.setFracture(static_cast<std::uint16_t>(mapProperty("fracture", value("fracture_terms"), "bruch") |
                                             mapProperty("tenacity", value("tenacity_terms"), "bruch")));
    r.setTransparency(mapProperty("transparency", value("transparency_terms"), "transparenz"));
    if (r.crystalSystems()) report_.count("Feld Kristallsystem");
    if (r.lustre()) report_.count("Feld Glanz");
    if (r.cleavage()) report_.count("Feld Spaltbarkeit");
    if (r.fracture()) report_.count("Feld Bruch");

    if (const std::string s = value("strunz8"); !s.empty()) {
      const StrunzNumber n = parseStrunzNumber(s);
      if (n.classNumber == 0) {
        report_.error(where + ": Lapis/Strunz-Nummer \"" + s + "\" ist nicht lesbar");
      } else {
        r.setStrunz(StrunzField{n.classNumber, n.letter, n.number, 0, n.rangeEnd});
        report_.count("Feld Lapis/Strunz");
      }
    }

    // "none": the curators found the sources' class contradictory and left it out.
    if (const std::string pg = value("point_group"); !pg.empty() && pg != "none") {
      const auto bit = mappings_.pointGroups.find(pg);
      if (bit == mappings_.pointGroups.end()) {
        report_.unmapped("point_group", pg);
      } else {
        CrystalDataEntry cd;
        cd.classes = 1u << bit->second;
        auto cellValue = [&](const char* col) { return parseDecimal(value(col)).value_or(0.0); };
        cd.a0 = cellValue("a");
        cd.b0 = cellValue("b");
        cd.c0 = cellValue("c");
        cd.alpha = cellValue("alpha");
        cd.beta = cellValue("beta");
        cd.gamma = cellValue("gamma");
        const double z = cellValue("z");
        cd.z = (z >= 1 && z <= 255) ? static_cast<std::uint8_t>(std::lround(z)) : 0;
        if (cd.a0 <= 0) cd.flags = refformat::kCrystalClassOnly;
        if (cd.a0 > 0) checkCellDensity(english, pg, value("formula"), cd, r);
        r.setCrystalData(std::span<const CrystalDataEntry>(&cd, 1));
        report_.count(cd.a0 > 0 ? "Kristalldaten mit Gitterkonstanten" : "Kristalldaten nur Klasse");
      }
    } else if (!value("a").empty()) {
      // Without a class the lattice kind, and so the meaning of the constants, is unknown.
      report_.count("Gitterkonstanten ohne Kristallklasse (nicht übernommen)");
    }

    const bool densityRange = r.densityMax().isKnown() && !(r.densityMax() == r.densityMin());
    if (densityRange) report_.count("Dichte als Bereich");
    if (collectionSpecies.count(english)) {
      // The species collectors own: how many carry what the descriptions and drawings need.
      report_.count("Sammlungsarten");
      const auto crystal = r.crystalData();
      if (!crystal.empty() && crystal.front().a0 > 0) report_.count("Sammlungsarten mit Kristallklasse und Gitter");
      if (!crystal.empty()) report_.count("Sammlungsarten mit Kristallklasse");
      if (r.strunz().cls != 0) report_.count("Sammlungsarten mit Lapis/Strunz-Nummer");
      if (densityRange) report_.count("Sammlungsarten mit Dichtebereich");
    }
    if (r.hardnessMax() && r.densityMin().isKnown() && !colours.empty() && !streak.empty() && r.lustre())
      report_.count("Minerale mit Härte, Dichte, Farbe, Strich und Glanz");
    report_.count("Vollständige Minerale");
    out.push_back(std::move(e));
  }
  return out;
}

std::vector<BuiltEntry> MineralBuilder::buildAliases(const std::string& dataDir,
                                                     const std::vector<BuiltEntry>& minerals) {
  std::vector<BuiltEntry> out;
  std::map<std::string, const BuiltEntry*> byName;     // German name, Windows-1252
  std::map<std::string, const BuiltEntry*> byEnglish;  // UTF-8
  for (const auto& m : minerals) {
    byName.emplace(m.name, &m);
    byEnglish.emplace(m.englishName, &m);
  }
  std::map<std::string, bool> taken;  // every entry name, so no alias shadows another entry
  for (const auto& m : minerals) taken[m.name] = true;

  std::string error;
  auto table = TsvTable::load(joinPath(dataDir, "aliases.tsv"), error);
  if (!table) {
    report_.error(error);
  } else {
    for (const char* col : {"alias", "target", "kind", "text"})
      if (!table->column(col)) report_.error(table->path() + ": Spalte \"" + col + "\" fehlt");
    for (const auto& row : table->rows()) {
      if (report_.hasErrors() && !table->column("kind")) break;
      const std::string where = table->where(row);
      const auto alias = toRecordText(trim(table->cell(row, "alias")), 39, "Alias", where);
      const auto target = toRecordText(trim(table->cell(row, "target")), 39, "Ziel", where);
      if (!alias || !target) continue;
      if (!byName.count(*target)) {
        report_.error(where + ": Ziel \"" + table->cell(row, "target") + "\" ist kein Mineral der Datenbank");
        continue;
      }
      if (taken.count(*alias)) {
        report_.warning(where + ": \"" + table->cell(row, "alias") + "\" gibt es schon, übergangen");
        continue;
      }
      std::string text = *target;
      if (trim(table->cell(row, "kind")) == "sentence") {
        const auto sentence = toRecordText(trim(table->cell(row, "text")), 800, "Text", where);
        if (!sentence) continue;
        if (sentence->find("@" + *target + "@") == std::string::npos) {
          report_.error(where + ": der Satz nennt das Ziel nicht als @" + table->cell(row, "target") + "@");
          continue;
        }
        text = *sentence;
      }
      BuiltEntry e;
      e.name = *alias;
      e.englishName = cp1252ToUtf8(englishNameOf(*alias));
      e.source = where;
      e.record.setName(*alias);
      e.record.setAliasTarget(text);
      taken[*alias] = true;
      report_.count("Aliasnamen aus aliases.tsv");
      out.push_back(std::move(e));
    }
  }

  // English names that the "-e" rule cannot derive are found under their English spelling too.
  for (const auto& m : minerals) {
    if (!(m.record.flags() & kMineralEnglishNames)) continue;
    const std::string english = m.record.englishName();
    if (english == m.name || taken.count(english)) continue;
    BuiltEntry e;
    e.name = english;
    e.englishName = m.englishName;
    e.source = m.source;
    e.record.setFlags(kMineralEnglishNames);
    e.record.setName(english);
    e.record.setAliasTarget(m.name);
    e.record.setEnglishAliasName(english);
    e.record.setEnglishAliasTarget(english);
    taken[english] = true;
    report_.count("Englische Namen als Alias");
    out.push_back(std::move(e));
  }
  return out;
}

}  // namespace kalvor::mkdb
