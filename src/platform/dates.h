#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// The order in which the user's locale writes the parts of a short date.
enum class DateOrder { MonthDayYear = 0, DayMonthYear = 1, YearMonthDay = 2 };

// A broken-down local date and time.
struct LocalDateTime {
    int year = 0;    // e.g. 2024
    int month = 0;   // 1..12
    int day = 0;     // 1..31
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
    int second = 0;  // 0..60
};

// The date order of a strftime date format such as "%d.%m.%Y": decided by
// which of day (%d, %e), month (%m, %b, %B, %h) and year (%y, %Y, %C, %G, %g)
// comes first; "%D" stands for "%m/%d/%y" and "%F" for "%Y-%m-%d". A format
// with no recognisable part gives MonthDayYear.
DateOrder dateOrderFromFormat(std::string_view format);

// The date order of the user's locale (LC_TIME from the environment), read
// from its "%x" format without changing the process locale. MonthDayYear
// when the locale cannot be loaded.
DateOrder localeDateOrder();

// "MM-DD-YYYY", "DD-MM-YYYY" or "YYYY-MM-DD" with zero-padded numbers. A year
// before 1900 writes all three numbers as zeros.
std::string formatDate(int year, int month, int day, DateOrder order);

// The date of formatDate, then ", HH:MM:SS".
std::string formatDateTime(const LocalDateTime& when, DateOrder order);

// A time stamp in local time.
LocalDateTime toLocalDateTime(std::time_t time);
// Now, in local time.
LocalDateTime currentLocalDateTime();

// The last-write time of a file in local time; nothing when the file cannot
// be opened or is not a regular file.
std::optional<LocalDateTime> fileLastWriteTime(const std::string& path);

// The last-write date of a file as formatDate writes it; empty when the file
// cannot be opened.
std::string fileDateText(const std::string& path, DateOrder order);

}  // namespace quorvel
