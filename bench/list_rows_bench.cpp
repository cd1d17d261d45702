// Painting the wide mineral list on the shipped reference data
// (KALVOR_REFDATA_DIR): one screen of rows with every mineral column shown,
// each row read from the database, as the list control does on a scroll.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "refdb/mineral_record.h"
#include "render/measuring_canvas.h"
#include "views/list_rows.h"

namespace kalvor {
namespace {

const std::optional<MineralDatabase>& database() {
  static const std::optional<MineralDatabase> db = [] {
    const char* folder = std::getenv("KALVOR_REFDATA_DIR");
    return folder ? MineralDatabase::open(folder) : std::nullopt;
  }();
  return db;
}

// 40 rows of three lines each, all eleven mineral columns visible.
void BM_WideMineralScreen(benchmark::State& state) {
  if (!database()) return state.SkipWithError("KALVOR_REFDATA_DIR not set");
  views::ColumnLayout layout = views::defaultMineralLayout();
  const int lines[] = {1, 1, 1, 1, 2, 2, 3, 3, 3, 3, 1};
  const int orders[] = {1, 5, 3, 4, 6, 7, 8, 9, 10, 11, 2};
  for (std::size_t i = 0; i < layout.columns.size(); ++i) {
    layout.columns[i].order = static_cast<std::uint8_t>(orders[i]);
    layout.columns[i].line = static_cast<std::uint8_t>(lines[i]);
    if (layout.columns[i].width < 0) layout.columns[i].width = 200;
  }
  views::MineralRowRenderer rows(*database(), layout, views::RowMetrics{8, 200});
  MeasuringCanvas canvas;
  const std::int32_t count = static_cast<std::int32_t>(database()->entryCount());
  std::int32_t first = 0;
  for (auto _ : state) {
    int y = 0;
    for (int row = 0; row < 40; ++row)
      y += 20 * rows.drawRow(canvas, 0, y, 20, 1200, (first + row) % count);
    first = (first + 40) % count;
    benchmark::DoNotOptimize(canvas.texts().data());
    canvas.clearRecord();
  }
  state.SetItemsProcessed(state.iterations() * 40);
}
BENCHMARK(BM_WideMineralScreen);

}  // namespace
}  // namespace kalvor
