#include "report/report_mail.h"

#include "platform/ascii_text.h"

namespace quorvel {

namespace {

bool staysUnencoded(unsigned char byte) {
    const char c = static_cast<char>(byte);
    return isAsciiLetter(c) || isAsciiDigit(c) || c == '-' || c == '.' || c == '_' || c == '~';
}

}  // namespace

std::size_t mailEncodedSize(std::string_view text) {
    std::size_t size = 0;
    for (const char byte : text)
        size += staysUnencoded(static_cast<unsigned char>(byte)) ? 1 : 3;
    return size;
}

MailBody mailBody(std::string_view textReport, std::size_t limit) {
    if (mailEncodedSize(textReport) <= limit) return {std::string(textReport), false};
    const std::size_t noteSize = mailEncodedSize(kMailBodyCutNote);
    const std::size_t budget = limit > noteSize ? limit - noteSize : 0;
    // Whole lines while they fit; a first line longer than the budget is cut
    // inside.
    std::size_t used = 0;
    std::size_t cutAt = 0;
    for (std::size_t i = 0; i < textReport.size(); ++i) {
        used += staysUnencoded(static_cast<unsigned char>(textReport[i])) ? 1 : 3;
        if (used > budget) {
            if (cutAt == 0) cutAt = i;
            break;
        }
        if (textReport[i] == '\n') cutAt = i + 1;
    }
    MailBody body{std::string(textReport.substr(0, cutAt)), true};
    body.text += kMailBodyCutNote;
    return body;
}

std::vector<std::string> mailProgramArguments(std::string_view body,
                                              const std::vector<std::string>& attachments) {
    std::vector<std::string> arguments{"--subject", std::string(kMailSubject), "--body",
                                       std::string(body)};
    for (const std::string& attachment : attachments) {
        arguments.emplace_back("--attach");
        arguments.push_back(attachment);
    }
    return arguments;
}

int mailResultOfExit(std::optional<int> exitStatus, bool started) {
    if (!started) return kMailNoMailSystem;
    if (!exitStatus) return kMailFailure;
    switch (*exitStatus) {
        case 0:
            return kMailSuccess;
        case 2:
            return kMailAttachmentNotFound;
        case 3:
            return kMailNoMailSystem;
        case 5:
            return kMailAttachmentOpenFailure;
        default:
            return kMailFailure;
    }
}

}  // namespace quorvel
