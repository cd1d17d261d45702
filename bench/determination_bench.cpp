// The search index build and a typical determination on a synthetic database
// of 16,535 full minerals, and the same determination as an SQL query on
// SQLite over a table of the same property values, for comparison.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "determination/colours.h"
#include "determination/determination_search.h"
#include "determination/reference_sources.h"
#include "determination/search_index.h"
#include "refdb/mineral_record.h"
#include "refdb/names.h"

#ifdef KALVOR_HAVE_SQLITE
#include <sqlite3.h>
#endif

namespace kalvor {
namespace {

constexpr int kMinerals = 16535;

const char* const kFormulas[] = {
    "Ca_5(PO_4)_3(OH)", "Pb_5(PO_4,AsO_4)_3Cl", "Ca(P,As)O_4", "NaCl", "PbS", "SiO_2",
    "CaCO_3", "Cu_2CO_3(OH)_2", "CaSO_4*2H_2O", "Fe_2O_3", "FeS_2", "KAlSi_3O_8",
    "(Ce,La,Nd)PO_4", "Mg_3Si_4O_{10}(OH)_2", "Zn_4Si_2O_7(OH)_2*H_2O", "UO_2",
    "Cu(UO_2)_2(PO_4)_2*12H_2O", "PbCrO_4", "PbMoO_4", "CaWO_4", "Pb_5(VO_4)_3Cl",
    "BaSO_4", "Al_2SiO_5", "Be_3Al_2Si_6O_{18}", "ZnS", "HgS", "Sb_2S_3", "CuFeS_2",
    "Ca_2Al_3(SiO_4)(Si_2O_7)O(OH)", "Y(PO_4)", "Ag_3AsS_3", "MnCO_3", "NiAs", "CoAsS",
    "Bi_2Te_3", "TiO_2", "ZrSiO_4", "SnO_2", "Cu_3(AsO_4)(OH)_3", "FeTeO_4"};

// The synthetic reference data, built once for all benchmarks.
struct Synthetic {
  MineralFileWriter writer;
  std::optional<MineralDatabase> database;
  MineralNameList names;
  std::vector<MineralRecord> records;

  Synthetic() {
    std::mt19937 rng(4711);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    std::vector<NameSource> nameSources;
    for (int n = 0; n < kMinerals; ++n) {
      MineralRecord r;
      const int status = pick(0, 99);
      r.setFlags(status < 70 ? 0x01 : status < 95 ? 0x02 : 0x08);
      char name[40];
      std::snprintf(name, sizeof name, "%c%s%05d", 'A' + pick(0, 25), "ineralit", pick(0, 99999));
      r.setName(name);
      r.setFormula(kFormulas[pick(0, static_cast<int>(std::size(kFormulas)) - 1)]);
      const int h = pick(2, 16);
      r.setHardness(static_cast<std::uint8_t>(h), static_cast<std::uint8_t>(h + pick(0, 3)));
      const DensityValue dmin{static_cast<std::uint8_t>(pick(2, 7)),
                              static_cast<std::uint8_t>(pick(0, 99))};
      DensityValue dmax{};
      if (pick(0, 9) < 4) dmax = {static_cast<std::uint8_t>(dmin.whole + pick(0, 1)), dmin.hundredths};
      r.setDensity(dmin, dmax);
      std::vector<std::uint16_t> colours(static_cast<std::size_t>(pick(1, 4)));
      for (auto& c : colours) c = static_cast<std::uint16_t>(pick(2, 427));
      r.setColours(colours);
      const std::uint16_t streak[] = {static_cast<std::uint16_t>(pick(2, 427))};
      r.setStreaks(streak);
      std::uint16_t cs = kCrystalSystemMasks[static_cast<std::size_t>(pick(0, 7))] & 0x00FF;
      if (pick(0, 19) == 0) cs |= 0x0100;
      r.setCrystalSystems(cs);
      r.setLustre(static_cast<std::uint16_t>((1u << pick(0, 11)) | (pick(0, 2) ? 0 : 1u << pick(0, 11))));
      r.setCleavage(static_cast<std::uint8_t>(1u << pick(0, 4)));
      r.setFracture(static_cast<std::uint16_t>(1u << pick(0, 11)));
      r.setTransparency(static_cast<std::uint16_t>(1u << pick(0, 4)));
      r.setStrunz({static_cast<std::uint8_t>(pick(1, 9)), static_cast<std::uint8_t>('A' + pick(0, 7)),
                   static_cast<std::uint8_t>(pick(1, 30)), 0, 0});
      writer.add(r);
      nameSources.push_back({false, name});
      records.push_back(r);
    }
    database = MineralDatabase::fromBytes(writer.indexFile(), writer.recordFile());
    names = MineralNameList::build(std::move(nameSources));
  }
};

const Synthetic& data() {
  static const Synthetic s;
  return s;
}

const ColourTable& colourTable() {
  static const ColourTable table = [] {
    ColourTable t;
    t.buildColourGroups();
    return t;
  }();
  return table;
}

int colourGroupOf(int colourNumber) {
  return colourTable().colourGroupOf(static_cast<std::uint16_t>(colourNumber));
}

int streakChoice() {
  const auto& choices = colourTable().colourChoices();
  for (std::size_t k = 0; k < choices.size(); ++k) {
    if (choices[k] == "wei\xDF") return static_cast<int>(k + 1);
  }
  return 1;
}

#ifdef KALVOR_HAVE_SQLITE
// The colour groups the approximate matching gives for the streak choice.
std::string streakGroupsSql() {
  std::string list;
  for (ColourGroup g :
       colourTable().matchingColourGroups(static_cast<ColourGroup>(streakChoice()), false)) {
    list += (list.empty() ? "" : ",") + std::to_string(g);
  }
  return list;
}
#endif

// Streak "weiß", hardness 3 - 4.5, density 2.5 - 3.5, lustre "glas", the
// default status boxes; precision "Annähernd".
DeterminationInput typicalInput() {
  DeterminationInput in;
  in.exactChecked = false;
  in.approximateChecked = true;
  in.streak = streakChoice();
  in.hardness = "3-4.5";
  in.density = "2.5-3.5";
  in.lustre = 3;
  return in;
}

void BM_BuildSearchIndex(benchmark::State& state) {
  const Synthetic& s = data();
  std::size_t bytes = 0;
  for (auto _ : state) {
    Bytes index = buildSearchIndex(*s.database, colourGroupOf);
    bytes = index.size();
    benchmark::DoNotOptimize(index.data());
  }
  state.counters["index_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_BuildSearchIndex)->Unit(benchmark::kMillisecond);

void BM_TypicalDetermination(benchmark::State& state) {
  const Synthetic& s = data();
  const SearchIndex index(buildSearchIndex(*s.database, colourGroupOf));
  const ColourTableSlots colours(colourTable());
  const ReferenceMineralFacts facts(*s.database, s.names);
  const DeterminationInput in = typicalInput();
  std::size_t found = 0;
  for (auto _ : state) {
    DeterminationCriteria saved;
    DeterminationOutcome out = runDetermination(in, saved, {index, colours, facts, nullptr});
    found = out.results.size();
    benchmark::DoNotOptimize(out.results.data());
  }
  state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_TypicalDetermination)->Unit(benchmark::kMicrosecond);

#ifdef KALVOR_HAVE_SQLITE
class SqliteDb {
 public:
  SqliteDb() { sqlite3_open(":memory:", &db_); }
  ~SqliteDb() { sqlite3_close(db_); }
  SqliteDb(const SqliteDb&) = delete;
  SqliteDb& operator=(const SqliteDb&) = delete;
  void exec(const char* sql) { sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }
  sqlite3* get() { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

// The same property values as the index holds, one row per mineral and one
// per streak colour, with indexes on the searched columns.
void fillSqlite(SqliteDb& db) {
  const Synthetic& s = data();
  db.exec("CREATE TABLE mineral(n INTEGER PRIMARY KEY, name TEXT, ordinal INTEGER, flags INTEGER,"
          " h_lo INTEGER, h_hi INTEGER, d_lo INTEGER, d_hi INTEGER, systems INTEGER, lustre INTEGER);"
          "CREATE TABLE streak(n INTEGER, grp INTEGER);");
  db.exec("BEGIN");
  sqlite3_stmt* m = nullptr;
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db.get(), "INSERT INTO mineral VALUES(?,?,?,?,?,?,?,?,?,?)", -1, &m, nullptr);
  sqlite3_prepare_v2(db.get(), "INSERT INTO streak VALUES(?,?)", -1, &st, nullptr);
  for (int n = 0; n < kMinerals; ++n) {
    const MineralRecord& r = s.records[static_cast<std::size_t>(n)];
    const IndexedMineral x = indexedMineralOf(r);
    const int dlo = densityClassOf(x.densityMin);
    const int dhi = (x.densityMin != 0 && x.densityMax == 0) ? dlo : densityClassOf(x.densityMax);
    const std::string name = r.name();
    sqlite3_bind_int(m, 1, n);
    sqlite3_bind_text(m, 2, name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(m, 3, static_cast<int>(*s.names.ordinalOfNumber(static_cast<MineralNumber>(n))));
    sqlite3_bind_int(m, 4, x.flags);
    sqlite3_bind_int(m, 5, std::min(20, x.hardness >> 8));
    sqlite3_bind_int(m, 6, std::min(20, x.hardness & 0xFF));
    sqlite3_bind_int(m, 7, dlo);
    sqlite3_bind_int(m, 8, dhi);
    sqlite3_bind_int(m, 9, x.crystalSystems);
    sqlite3_bind_int(m, 10, x.lustre);
    sqlite3_step(m);
    sqlite3_reset(m);
    for (std::int16_t code : x.streaks) {
      if (code == 0) break;
      sqlite3_bind_int(st, 1, n);
      sqlite3_bind_int(st, 2, colourGroupOf(code));
      sqlite3_step(st);
      sqlite3_reset(st);
    }
  }
  sqlite3_finalize(m);
  sqlite3_finalize(st);
  db.exec("COMMIT");
  db.exec("CREATE INDEX mineral_h ON mineral(h_lo, h_hi); CREATE INDEX mineral_d ON mineral(d_lo, d_hi);"
          "CREATE INDEX streak_grp ON streak(grp, n); CREATE INDEX mineral_ordinal ON mineral(ordinal);"
          "ANALYZE;");
}

void BM_TypicalDeterminationSqlite(benchmark::State& state) {
  SqliteDb db;
  fillSqlite(db);
  // The streak groups of the approximate matching, hardness half steps 6 - 9,
  // density classes 10 - 14, lustre bit 2 ("glas"), IMA status a or b.
  const std::string sql =
      "SELECT name FROM mineral WHERE (flags & 3) != 0 AND h_lo <= 9 AND h_hi >= 6 AND h_lo <= h_hi"
      " AND d_lo <= 14 AND d_hi >= 10 AND (lustre & 4) != 0"
      " AND n IN (SELECT n FROM streak WHERE grp IN (" + streakGroupsSql() + ")) ORDER BY ordinal";
  sqlite3_stmt* q = nullptr;
  sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &q, nullptr);
  std::size_t found = 0;
  for (auto _ : state) {
    std::vector<std::string> names;
    while (sqlite3_step(q) == SQLITE_ROW) {
      names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(q, 0)));
    }
    sqlite3_reset(q);
    found = names.size();
    benchmark::DoNotOptimize(names.data());
  }
  sqlite3_finalize(q);
  state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_TypicalDeterminationSqlite)->Unit(benchmark::kMicrosecond);
#endif

}  // namespace
}  // namespace kalvor
