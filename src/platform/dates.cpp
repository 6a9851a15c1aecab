#include "platform/dates.h"

#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace quorvel {

namespace {

enum class DatePart { None, Day, Month, Year };

DatePart partOfConversion(char conversion) {
    switch (conversion) {
        case 'd':
        case 'e':
            return DatePart::Day;
        case 'm':
        case 'b':
        case 'B':
        case 'h':
            return DatePart::Month;
        case 'y':
        case 'Y':
        case 'C':
        case 'G':
        case 'g':
            return DatePart::Year;
        default:
            return DatePart::None;
    }
}

}  // namespace

DateOrder dateOrderFromFormat(std::string_view format) {
    // The three orders differ in their first part, so the first date part of
    // the format decides.
    constexpr char kConversion = '%';
    for (std::size_t i = 0; i + 1 < format.size(); ++i) {
        if (format[i] != kConversion) continue;
        char conversion = format[++i];
        if (conversion == kConversion) continue;  // a literal percent sign
        // Skip the flags, field width and E/O modifiers that strftime allows.
        while ((conversion == '_' || conversion == '-' || conversion == '0' || conversion == '^' ||
                conversion == '#' || conversion == 'E' || conversion == 'O' ||
                (conversion >= '1' && conversion <= '9')) &&
               i + 1 < format.size()) {
            conversion = format[++i];
        }
        if (conversion == 'D') return DateOrder::MonthDayYear;  // %m/%d/%y
        if (conversion == 'F') return DateOrder::YearMonthDay;  // %Y-%m-%d
        switch (partOfConversion(conversion)) {
            case DatePart::Day:
                return DateOrder::DayMonthYear;
            case DatePart::Month:
                return DateOrder::MonthDayYear;
            case DatePart::Year:
                return DateOrder::YearMonthDay;
            case DatePart::None:
                break;
        }
    }
    return DateOrder::MonthDayYear;
}

DateOrder localeDateOrder() {
    locale_t locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) return DateOrder::MonthDayYear;
    const char* format = nl_langinfo_l(D_FMT, locale);
    const DateOrder order = dateOrderFromFormat(format != nullptr ? format : "");
    freelocale(locale);
    return order;
}

std::string formatDate(int year, int month, int day, DateOrder order) {
    if (year < 1900) year = month = day = 0;
    char text[64];
    switch (order) {
        case DateOrder::DayMonthYear:
            std::snprintf(text, sizeof text, "%2.2d-%2.2d-%4.4d", day, month, year);
            break;
        case DateOrder::YearMonthDay:
            std::snprintf(text, sizeof text, "%4.4d-%2.2d-%2.2d", year, month, day);
            break;
        case DateOrder::MonthDayYear:
        default:
            std::snprintf(text, sizeof text, "%2.2d-%2.2d-%4.4d", month, day, year);
            break;
    }
    return text;
}

std::string formatDateTime(const LocalDateTime& when, DateOrder order) {
    const std::string date = formatDate(when.year, when.month, when.day, order);
    char text[128];
    std::snprintf(text, sizeof text, "%s, %2.2d:%2.2d:%2.2d", date.c_str(), when.hour, when.minute,
                  when.second);
    return text;
}

LocalDateTime toLocalDateTime(std::time_t time) {
    std::tm parts{};
    if (localtime_r(&time, &parts) == nullptr) return {};
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
            parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

LocalDateTime currentLocalDateTime() {
    return toLocalDateTime(std::time(nullptr));
}

std::optional<LocalDateTime> fileLastWriteTime(const std::string& path) {
    if (path.empty()) return std::nullopt;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    const bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    if (!ok) return std::nullopt;
    return toLocalDateTime(info.st_mtime);
}

std::string fileDateText(const std::string& path, DateOrder order) {
    const std::optional<LocalDateTime> when = fileLastWriteTime(path);
    if (!when) return {};
    return formatDate(when->year, when->month, when->day, order);
}

}  // namespace quorvel
