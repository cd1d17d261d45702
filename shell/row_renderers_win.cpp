#include "shell/row_renderers_win.h"

#include <optional>

#include "controls/list_control.h"
#include "refdb/glossary.h"
#include "views/list_rows.h"

namespace kalvor::shell {
namespace {

// The glossary rows with the glossary they read, so the list owns both.
class OwnedGlossaryRows final : public views::RowRenderer {
 public:
  explicit OwnedGlossaryRows(Glossary glossary) : glossary_(std::move(glossary)), rows_(glossary_) {}

  int drawRow(Canvas& canvas, int x, int y, int rowHeight, int rowWidth, std::int32_t record) override {
    return rows_.drawRow(canvas, x, y, rowHeight, rowWidth, record);
  }
  int linesPerRecord(int rowWidth) const override { return rows_.linesPerRecord(rowWidth); }
  std::vector<views::HeaderCell> headerCells(int rowWidth) const override { return rows_.headerCells(rowWidth); }
  bool columnResizable(int line, int position) const override { return rows_.columnResizable(line, position); }
  void setColumnWidth(int line, int position, int quarters) override {
    rows_.setColumnWidth(line, position, quarters);
  }
  int firstCharacter(std::int32_t record) const override { return rows_.firstCharacter(record); }

 private:
  Glossary glossary_;
  views::GlossaryRowRenderer rows_;
};

}  // namespace

std::unique_ptr<views::RowRenderer> makeRowRenderer(AppContext& app, views::ListKind kind) {
  if (!app.data.reference) return nullptr;
  const views::RowMetrics metrics = controls::listRowMetrics(app.display.lists);
  switch (kind) {
    case views::ListKind::Glossary: {
      std::optional<Glossary> glossary = Glossary::open(app.data.reference->folder());
      if (!glossary) return nullptr;
      return std::make_unique<OwnedGlossaryRows>(std::move(*glossary));
    }
    case views::ListKind::Locality:
      return std::make_unique<views::LocalityRowRenderer>(app.data.reference->collection(), app.data.reference->names(),
                                                          app.display.listLayouts.localities, metrics);
    case views::ListKind::Specimen:
      return std::make_unique<views::SpecimenRowRenderer>(app.data.reference->collection(), app.data.reference->names(),
                                                          app.display.listLayouts.specimens, metrics);
  }
  return nullptr;
}

std::unique_ptr<views::RowRenderer> makeMineralRowRenderer(AppContext& app) {
  if (!app.data.reference) return nullptr;
  return std::make_unique<views::MineralRowRenderer>(app.data.reference->database(), app.display.listLayouts.minerals,
                                                     controls::listRowMetrics(app.display.lists));
}

}  // namespace kalvor::shell
