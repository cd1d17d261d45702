#include "tools/mkdb/crystal_drawings.h"

#include <cstdlib>
#include <map>

#include "base/file_io.h"
#include "crystal/computed_drawing.h"
#include "crystal/point_groups.h"
#include "refdb/crystal_classes.h"
#include "refdb/drawing_blocks.h"
#include "tools/mkdb/tsv_table.h"

namespace kalvor::mkdb {
namespace {

using namespace kalvor::crystal;

struct CuratedForms {
  std::string forms;  // the form text, parsed once the class is known
  std::int16_t turn = 0;
  std::string where;
};

// The class bit of a point-group symbol as written in the data ("m-3m", "-6m2").
std::optional<unsigned> classBitOfSymbol(const std::string& symbol) {
  static const std::map<std::string, unsigned> kBits = {
      {"1", 0},    {"2", 1},     {"3", 2},      {"4", 3},      {"6", 4},     {"2/m", 5},  {"-6", 6},
      {"4/m", 7},  {"6/m", 8},   {"m", 9},      {"mm2", 10},   {"3m", 11},   {"4mm", 12}, {"6mm", 13},
      {"mmm", 14}, {"-6m2", 15}, {"4/mmm", 16}, {"6/mmm", 17}, {"222", 18},  {"32", 19},  {"422", 20},
      {"622", 21}, {"-1", 22},   {"-3", 23},    {"-4", 24},    {"-42m", 25}, {"-3m", 26}, {"23", 27},
      {"m-3", 28}, {"432", 29},  {"-43m", 30},  {"m-3m", 31}};
  const auto it = kBits.find(symbol);
  if (it == kBits.end()) return std::nullopt;
  return it->second;
}

std::optional<TsvTable> loadTable(const std::string& path, std::initializer_list<const char*> columns,
                                  Report& report) {
  std::string error;
  auto t = TsvTable::load(path, error);
  if (!t) {
    report.error(error);
    return std::nullopt;
  }
  for (const char* c : columns)
    if (!t->column(c)) {
      report.error(path + ": Spalte " + c + " fehlt");
      return std::nullopt;
    }
  return t;
}

// The mineral's class and cell: the first crystal-data entry that gives a
// drawable cell, its class the one with the largest group among alternatives.
std::optional<std::pair<unsigned, Cell>> classAndCell(const MineralRecord& record) {
  for (const CrystalDataEntry& d : record.crystalData()) {
    const int bit = preferredClassBit(d.classes);
    if (bit < 0) continue;
    if (auto cell = cellForClass(static_cast<unsigned>(bit), d))
      return std::pair{static_cast<unsigned>(bit), *cell};
  }
  return std::nullopt;
}

// The centring letter of a space group ("C2/c" -> 'C') when it fits the
// class's system, else 'P': a letter that contradicts the class (the data
// corrected one but not the other) must not bend the drawing.
char latticeLetter(const std::string& spaceGroup, unsigned bit) {
  const char c = spaceGroup.empty() ? 'P' : spaceGroup[0];
  switch (axisSystemOfClass(bit)) {
    case AxisSystem::kCubic:
      return c == 'F' || c == 'I' ? c : 'P';
    case AxisSystem::kTetragonal:
      return c == 'I' ? c : 'P';
    case AxisSystem::kOrthorhombic:
      return c == 'A' || c == 'B' || c == 'C' || c == 'F' || c == 'I' ? c : 'P';
    case AxisSystem::kMonoclinic:
      return c == 'A' || c == 'C' || c == 'I' ? c : 'P';
    case AxisSystem::kTrigonal:
      return c == 'R' ? c : 'P';
    default:
      return 'P';
  }
}

struct Drawn {
  DrawingBlock block;
  MineralForms forms;
};

std::optional<Drawn> draw(const MineralForms& forms) {
  const auto shape = buildCrystalShape(forms.set);
  if (!shape) return std::nullopt;
  Drawn d{{}, forms};
  for (std::uint8_t view = 0; view < forms.viewCount; ++view) {
    const std::vector<std::uint32_t> values = drawShape(*shape, viewOfDrawing(forms, view));
    if (values.empty() || d.block.values.size() + values.size() > 0xFFFF) return std::nullopt;
    d.block.drawings.push_back(
        {static_cast<std::uint16_t>(d.block.values.size()), static_cast<std::uint16_t>(values.size())});
    d.block.values.insert(d.block.values.end(), values.begin(), values.end());
    DrawingSource source = DrawingSource::make(kComputedVolume, 0, static_cast<std::uint16_t>(view + 1),
                                               computedDrawingNote(forms, refformat::kSourceNoteSize - 1));
    DrawingSource::Image image = source.bytes();
    image[0] = static_cast<std::uint8_t>(forms.origin);
    d.block.sources.push_back(DrawingSource(image));
  }
  return d;
}

}  // namespace

DrawingFiles buildDrawingFiles(const std::string& dataDir, const std::vector<BuiltEntry>& entries,
                               Report& report) {
  const auto curatedTable =
      loadTable(joinPath(dataDir, "crystal_forms.tsv"), {"english_name", "forms", "turn", "source"}, report);
  const auto defaultTable =
      loadTable(joinPath(dataDir, "crystal_default_forms.tsv"), {"class", "forms", "reason"}, report);
  if (!curatedTable || !defaultTable) return {};

  std::map<std::string, CuratedForms> curated;
  for (const auto& row : curatedTable->rows()) {
    const std::string name = curatedTable->cell(row, "english_name");
    if (trim(curatedTable->cell(row, "source")).empty())
      report.error(curatedTable->where(row) + ": Quelle fehlt");
    const std::string turnText = trim(curatedTable->cell(row, "turn"));
    char* end = nullptr;
    const long turn = turnText.empty() ? 0 : std::strtol(turnText.c_str(), &end, 10);
    if (!turnText.empty() && (end != turnText.c_str() + turnText.size() || turn < -180 || turn > 180))
      report.error(curatedTable->where(row) + ": Drehung " + turnText +
                   " ist keine Gradzahl von -180 bis 180");
    if (!curated
             .emplace(name, CuratedForms{curatedTable->cell(row, "forms"), static_cast<std::int16_t>(turn),
                                         curatedTable->where(row)})
             .second)
      report.error(curatedTable->where(row) + ": " + name + " steht doppelt");
  }
  // The lattice centring of each species, for the spacing of its default forms.
  std::map<std::string, std::string> spaceGroups;
  {
    std::string error;
    if (const auto minerals = TsvTable::load(joinPath(dataDir, "minerals.tsv"), error))
      for (const auto& row : minerals->rows())
        spaceGroups[minerals->cell(row, "english_name")] = trim(minerals->cell(row, "space_group"));
  }
  std::map<unsigned, std::vector<CrystalForm>> defaults;
  for (const auto& row : defaultTable->rows()) {
    const auto bit = classBitOfSymbol(defaultTable->cell(row, "class"));
    const auto forms =
        bit ? parseForms(defaultTable->cell(row, "forms"), usesHexagonalAxes(*bit)) : std::nullopt;
    if (!forms) {
      report.error(defaultTable->where(row) + ": Klasse oder Formen unlesbar");
      continue;
    }
    defaults[*bit] = *forms;
  }
  if (report.hasErrors()) return {};

  const auto count = static_cast<std::uint32_t>(entries.size());
  DrawingFileWriter drawingWriter(count);
  FormsFileWriter formsWriter(count);
  std::map<std::string, bool> curatedUsed;
  for (std::uint32_t n = 0; n < count; ++n) {
    const BuiltEntry& e = entries[n];
    if (!isFullMineralFlags(e.record.flags())) continue;
    const auto cc = classAndCell(e.record);
    const auto cur = curated.find(e.englishName);
    if (cur != curated.end()) curatedUsed[e.englishName] = true;
    if (!cc) {
      if (cur != curated.end())
        report.warning(cur->second.where + ": " + e.englishName + " hat keine Klasse mit Zelle");
      continue;
    }
    const auto [bit, cell] = *cc;
    MineralForms forms;
    forms.set.classBit = bit;
    forms.set.cell = cell;
    forms.viewCount = wantsMainAxisView(bit) ? 2 : 1;
    std::optional<Drawn> drawn;
    if (cur != curated.end()) {
      const auto parsed = parseForms(cur->second.forms, usesHexagonalAxes(bit));
      if (!parsed) {
        report.error(cur->second.where + ": Formen unlesbar für die Klasse " + crystalClassSymbol(bit));
        continue;
      }
      forms.set.forms = *parsed;
      forms.set.kind = DistanceKind::kAbsolute;
      forms.origin = FormOrigin::kCurated;
      forms.turnDegrees = cur->second.turn;
      drawn = draw(forms);
      if (!drawn)
        report.warning(cur->second.where + ": " + e.englishName + " ergibt keinen geschlossenen Körper");
    }
    if (!drawn) {
      const auto it = defaults.find(bit);
      if (it == defaults.end()) continue;
      forms.set.forms = it->second;
      const char lattice = latticeLetter(spaceGroups[e.englishName], bit);
      for (CrystalForm& f : forms.set.forms) f.distance *= centringMultiple(lattice, f.face);
      forms.set.kind = DistanceKind::kLattice;
      forms.turnDegrees = 0;
      forms.origin = FormOrigin::kClassDefault;
      drawn = draw(forms);
      if (!drawn) {
        report.warning(e.englishName + ": Standardformen der Klasse ergeben keinen Körper");
        continue;
      }
    }
    const bool curatedForms = drawn->forms.origin == FormOrigin::kCurated;
    const std::size_t drawings = drawn->block.drawings.size();
    if (!drawingWriter.setBlock(static_cast<MineralNumber>(n), std::move(drawn->block)) ||
        !formsWriter.set(n, std::move(drawn->forms))) {
      report.error(e.englishName + ": Zeichnungen passen nicht in kalvor.lf oder kalvor.kf");
      continue;
    }
    report.count(curatedForms ? "Arten mit Kristallformen der Art" : "Arten mit Standardformen der Klasse");
    report.count("Kristallzeichnungen", drawings);
  }
  for (const auto& [name, c] : curated)
    if (!curatedUsed.count(name)) report.warning(c.where + ": " + name + " ist keine Art der Daten");
  return {drawingWriter.build(), formsWriter.build()};
}

}  // namespace kalvor::mkdb
