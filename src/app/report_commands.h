#pragma once

// What the Report page does with its report: the text and HTML exports, the
// clipboard copies, the HTML report in the browser, the mail, and opening
// the file of an entry in another program.

#include <QString>
#include <string>

class QWidget;

namespace quorvel {
class ReportList;
struct ReportHeader;
}  // namespace quorvel

namespace quorvel::app {

struct AppState;

enum class ReportFormat { Text, Html };

// The report header of the current project, keyword and engine, dated now.
ReportHeader currentReportHeader(const AppState& state);
// The report of the rows in the given format, as bytes.
std::string buildReport(const AppState& state, const ReportList& list, ReportFormat format);

// Asks for a file name (proposing "Quorvel-" + project) and writes the
// report there; a file that cannot be written is named in a message with the
// reason, and an existing file of that name is left as it was. False when
// cancelled or failed.
bool exportReport(QWidget* parent, const AppState& state, const ReportList& list,
                  ReportFormat format);
// Puts the report on the clipboard as plain text.
void copyReport(const AppState& state, const ReportList& list, ReportFormat format);

// The name of the HTML report in the user's private folder.
inline constexpr char kHtmlReportFileName[] = "QuorvelReport.html";
inline constexpr char kTextReportFileName[] = "QuorvelReport.txt";

// Writes the HTML report to the private folder and opens it in the
// configured browser or the desktop's; nothing for an empty report. Returns
// the path written, empty when nothing was.
QString showHtmlReport(QWidget* parent, const AppState& state, const ReportList& list);

// Hands the report to the desktop's mail program: the text report as body,
// the HTML report (and the text report, when the body had to be cut)
// attached. Failures are shown when the mail program ends, as "Mapi error N".
void sendReportMail(QWidget* parent, const AppState& state, const ReportList& list);

}  // namespace quorvel::app
