// The label dialogs behind "Etiketten (&Direkt)" and "Stufen&etiketten":
// the default printer is opened first, so that without one the message
// comes and no dialog opens.
#include <algorithm>
#include <vector>

#include "collection/sort_order.h"
#include "shell/dialogs/direct_labels_dialog.h"
#include "shell/dialogs/piece_labels_dialog.h"
#include "shell/host/win_ports.h"
#include "shell/label_print_job.h"

namespace kalvor::shell {
namespace {

constexpr const char* kDirectLabelsDocument = "Etiketten aus Direkterfassung";
constexpr const char* kPieceLabelsDocument = "Etiketten f\xFCr Stufen";

// The members of `records` in the order the Stufen list shows them.
std::vector<std::uint32_t> inListOrder(Collection& collection, const RecordSet& records) {
  std::vector<std::uint32_t> members = records.members();
  // A copy: the list window reads the collection's order in its own form.
  SortOrder order = collection.specimenOrder();
  if (!switchOrderForm(order, kOrderPositions) || order.entries.size() < order.count) return members;
  auto position = [&order](std::uint32_t r) {
    return r >= 1 && r <= order.count ? order.entries[r - 1] : r + order.count;
  };
  std::stable_sort(members.begin(), members.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return position(a) < position(b); });
  return members;
}

}  // namespace

void WinDialogs::runDirectLabels() {
  if (!app_.data.reference || !app_.settings.ini) return;
  const std::unique_ptr<LabelPrintJob> job =
      LabelPrintJob::open(app_.windows.main, app_.windows.instance, kDirectLabelsDocument);
  if (!job) return;
  DirectLabelsDialog dialog(app_.windows.instance, *job, *app_.settings.ini, *app_.data.reference,
                            app_.display.lists, app_.display.fonts);
  // A dialog that cannot be shown leaves no job behind: the job aborts when it ends.
  dialog.run(app_.windows.main);
}

void WinPrinting::printSpecimenLabels(const std::optional<RecordSet>& records, std::int32_t selected) {
  if (!app_.data.reference || !app_.settings.ini) return;
  std::vector<std::uint32_t> pieces;
  if (records) pieces = inListOrder(app_.data.reference->collection(), *records);
  if (pieces.empty() && selected <= 0) return;
  const std::unique_ptr<LabelPrintJob> job =
      LabelPrintJob::open(app_.windows.main, app_.windows.instance, kPieceLabelsDocument);
  if (!job) return;
  PieceLabelsDialog dialog(app_.windows.instance, *job, *app_.settings.ini, *app_.data.reference,
                           std::move(pieces), selected > 0 ? static_cast<std::uint32_t>(selected) : 0);
  dialog.run(app_.windows.main);
}

}  // namespace kalvor::shell
