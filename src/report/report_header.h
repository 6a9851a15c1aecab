#pragma once

#include <string_view>

#include "checks/analysis_run.h"
#include "report/report_export.h"

namespace quorvel {

class CheckerFile;

// The header values of the text and HTML reports for a run of `inputs`
// against `engine`: the program version, the checker file's date and the
// current date and time in the order of the user's locale.
ReportHeader makeReportHeader(std::string_view project, const RunInputs& inputs,
                              std::string_view engine, const CheckerFile& checker);

}  // namespace quorvel
