#include "report/report_header.h"

#include "checks/checker_file.h"
#include "platform/dates.h"

namespace quorvel {

ReportHeader makeReportHeader(std::string_view project, const RunInputs& inputs,
                              std::string_view engine, const CheckerFile& checker) {
    const DateOrder order = localeDateOrder();
    ReportHeader header;
    header.project = std::string(project);
    header.version = QUORVEL_VERSION;
    header.checkFileDate = checker.checkFileDate(order);
    header.projectFolder = inputs.folder;
    header.projectUrl = inputs.homeUrl;
    header.keyword = inputs.keyword;
    header.engine = std::string(engine);
    header.killTerminatingS = inputs.killTerminatingS ? 1 : 0;
    header.skipShortWords = inputs.skipShortWords ? 1 : 0;
    header.minWordLength = inputs.minWordLength;
    header.date = formatDateTime(currentLocalDateTime(), order);
    return header;
}

}  // namespace quorvel
