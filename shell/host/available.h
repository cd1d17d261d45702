// The dialogs and print jobs kalvor.exe has today. A developer who adds one
// implements its call in shell/host/ and lists it here; from then on the
// command layer enables the commands that need it. Portable, so the unit
// tests walk the command table against exactly this set.
#pragma once

#include <algorithm>
#include <array>

#include "views/ports.h"

namespace kalvor::shell {

// One line each, so that dialogs added side by side merge cleanly.
// clang-format off
inline constexpr std::array kAvailableDialogs = {
    views::DialogKind::MineralSearch,
    views::DialogKind::LocalitySearch,
    views::DialogKind::SpecimenSearch,
    views::DialogKind::NewSpecimen,
    views::DialogKind::ChangeSpecimen,
    views::DialogKind::NameSearch,
    views::DialogKind::Info,
    views::DialogKind::Options,
    views::DialogKind::NewLocality,
    views::DialogKind::ChangeLocality,
    views::DialogKind::DeleteLocality,
    views::DialogKind::DirectLabels,
};
// clang-format on

// clang-format off
inline constexpr std::array kAvailablePrintJobs = {
    views::PrintJob::MineralProfile,
    views::PrintJob::Locality,
    views::PrintJob::SpecimenList,
    views::PrintJob::SpecimenLabels,
};
// clang-format on

constexpr bool available(views::DialogKind dialog) {
  return std::find(kAvailableDialogs.begin(), kAvailableDialogs.end(), dialog) != kAvailableDialogs.end();
}

constexpr bool available(views::PrintJob job) {
  return std::find(kAvailablePrintJobs.begin(), kAvailablePrintJobs.end(), job) != kAvailablePrintJobs.end();
}

}  // namespace kalvor::shell
