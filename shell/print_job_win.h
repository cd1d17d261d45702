// The frame of a print job in kalvor.exe: the default printer, the document
// named after the report, the main and side windows disabled for the job's
// length (only "Druckstatus" answers, so nothing can close the program or
// change the data being printed), the abort procedure, and the German
// message when the printer or the spooler fails. One job at a time.
#pragma once

#include <functional>

#include "reports/print_job.h"
#include "shell/app_context.h"

namespace kalvor::shell {

// Lays the report out on the printer; `progress` is null for a job without
// status window.
using ReportBody = std::function<PrintResult(PageCanvas& device, PrintProgress* progress)>;

// Prints one report on the default printer. `documentNameId` is the string
// id of the document's name; `withStatus` shows "Druckstatus" and lets the
// user cancel. A second job while one runs is refused with a beep.
PrintOutcome runPrintJob(AppContext& app, int documentNameId, bool withStatus, const ReportBody& body);

// True while a job runs.
bool printJobRunning();

}  // namespace kalvor::shell
