#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

inline constexpr std::string_view kMailSubject = "Quorvel HTML Report";
inline constexpr std::string_view kMailProgram = "xdg-email";

// The mail program hands the body to the mail client inside one mailto:
// address, one command-line argument, which Linux limits to 128 KiB. Where
// the body is percent-encoded a byte may take three, so the body is measured
// in its encoded size, and some room is left for the subject and the
// attachments.
inline constexpr std::size_t kMailArgumentLimit = 128 * 1024;
inline constexpr std::size_t kMailBodyLimit = kMailArgumentLimit - 8 * 1024;

// The line that ends a body that was cut.
inline constexpr std::string_view kMailBodyCutNote =
    "\r\n[The report is too long for the mail text and was cut here. The full report is "
    "attached.]\r\n";

// The size of a text once percent-encoded for a mailto: address: letters,
// digits and "-._~" stay one byte, every other byte takes three.
std::size_t mailEncodedSize(std::string_view text);

struct MailBody {
    std::string text;
    bool cut = false;  // the text report did not fit and must be attached too
};
// The mail body for a text report: the report whole when its encoded size
// is at most `limit`; otherwise as many whole lines as fit with
// kMailBodyCutNote after them.
MailBody mailBody(std::string_view textReport, std::size_t limit = kMailBodyLimit);

// The arguments of the mail program for a message without recipients.
std::vector<std::string> mailProgramArguments(std::string_view body,
                                              const std::vector<std::string>& attachments);

// Result codes of sending the report, in the numbering of the classic
// simple mail interface so that users and their support can look them up.
enum MailResult : int {
    kMailSuccess = 0,
    kMailUserAbort = 1,               // the user cancelled; nothing is shown
    kMailFailure = 2,                 // the mail program failed
    kMailAttachmentNotFound = 11,     // an attachment is missing
    kMailAttachmentOpenFailure = 12,  // an attachment cannot be read
    kMailNoMailSystem = 27,           // no mail program, or no mail client behind it
};

// The result for the exit status of the mail program (xdg-email): 0 success,
// 1 bad arguments and 4 a failed action give kMailFailure, 2 (a file does
// not exist) kMailAttachmentNotFound, 3 (a required tool is missing)
// kMailNoMailSystem, 5 (no permission to read a file)
// kMailAttachmentOpenFailure, any other status kMailFailure. No value for the
// exit status means the program did not start or crashed: kMailNoMailSystem
// when it could not be started, kMailFailure when it crashed.
int mailResultOfExit(std::optional<int> exitStatus, bool started);

}  // namespace quorvel
