#include "shell/row_renderers_win.h"

#include <optional>
#include <string>

#include "refdb/glossary.h"

namespace kalvor::shell {
namespace {

// Plain rows until the detailed locality and specimen rows exist: the record
// number, or for the glossary the entry's term.
class PlainRowRenderer final : public views::RowRenderer {
 public:
  PlainRowRenderer(AppContext& app, views::ListKind kind) : kind_(kind) {
    if (kind == views::ListKind::Glossary && app.data) glossary_ = Glossary::open(app.data->folder());
  }

  int drawRow(Canvas& canvas, int x, int y, int rowHeight, int, std::int32_t record) override {
    canvas.selectFont(FontSlot::kText);
    canvas.drawText(x + 2, y + rowHeight * 4 / 5, text(record));
    return 1;
  }
  int linesPerRecord(int) const override { return 1; }
  std::vector<views::HeaderCell> headerCells(int) const override { return {}; }
  bool columnResizable(int, int) const override { return false; }
  void setColumnWidth(int, int, int) override {}
  int firstCharacter(std::int32_t record) const override {
    if (kind_ != views::ListKind::Glossary) return -1;
    const std::string term = text(record);
    return term.empty() ? -1 : static_cast<unsigned char>(term.front());
  }

 private:
  // The term between the entry's leading "#" and the next "#"; nothing without them.
  std::string text(std::int32_t record) const {
    if (kind_ != views::ListKind::Glossary) return std::to_string(record);
    if (!glossary_ || record < 1) return {};
    const std::optional<std::string> entry = glossary_->entry(static_cast<std::uint16_t>(record - 1));
    if (!entry || entry->empty() || entry->front() != '#') return {};
    const std::size_t end = entry->find('#', 1);
    return entry->substr(1, end == std::string::npos ? std::string::npos : end - 1);
  }

  views::ListKind kind_;
  std::optional<Glossary> glossary_;
};

}  // namespace

std::unique_ptr<views::RowRenderer> makeRowRenderer(AppContext& app, views::ListKind kind) {
  return std::make_unique<PlainRowRenderer>(app, kind);
}

std::unique_ptr<views::RowRenderer> makeMineralRowRenderer(AppContext&) { return nullptr; }

}  // namespace kalvor::shell
