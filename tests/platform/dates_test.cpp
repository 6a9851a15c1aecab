#include "platform/dates.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

namespace quorvel {
namespace {

TEST(DateOrderFromFormat, FirstDatePartDecides) {
    struct Case {
        std::string_view format;
        DateOrder expected;
    };
    const Case cases[] = {
        {"%m/%d/%y", DateOrder::MonthDayYear},  // C and en_US
        {"%d.%m.%Y", DateOrder::DayMonthYear},  // de_DE
        {"%d/%m/%Y", DateOrder::DayMonthYear},  // en_GB
        {"%Y-%m-%d", DateOrder::YearMonthDay},  // sv_SE
        {"%Y年%m月%d日", DateOrder::YearMonthDay},
        {"%D", DateOrder::MonthDayYear},
        {"%F", DateOrder::YearMonthDay},
        {"%e %b %Y", DateOrder::DayMonthYear},
        {"%b %e, %Y", DateOrder::MonthDayYear},
        {"%Ey/%Om/%Od", DateOrder::YearMonthDay},
        {"%-d.%-m.%Y", DateOrder::DayMonthYear},
        {"%%Y %d.%m", DateOrder::DayMonthYear},  // a literal percent sign is no part
        {"", DateOrder::MonthDayYear},
        {"%", DateOrder::MonthDayYear},
        {"%E", DateOrder::MonthDayYear},
        {"no parts", DateOrder::MonthDayYear},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.format));
        EXPECT_EQ(dateOrderFromFormat(c.format), c.expected);
    }
}

TEST(FormatDate, AllThreeOrdersAndOldYears) {
    struct Case {
        int year, month, day;
        DateOrder order;
        std::string_view expected;
    };
    const Case cases[] = {
        {2024, 3, 7, DateOrder::MonthDayYear, "03-07-2024"},
        {2024, 3, 7, DateOrder::DayMonthYear, "07-03-2024"},
        {2024, 3, 7, DateOrder::YearMonthDay, "2024-03-07"},
        {1900, 12, 31, DateOrder::MonthDayYear, "12-31-1900"},
        {1899, 12, 31, DateOrder::MonthDayYear, "00-00-0000"},
        {1899, 12, 31, DateOrder::DayMonthYear, "00-00-0000"},
        {1601, 1, 1, DateOrder::YearMonthDay, "0000-00-00"},
        {12345, 1, 2, DateOrder::YearMonthDay, "12345-01-02"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.expected));
        EXPECT_EQ(formatDate(c.year, c.month, c.day, c.order), c.expected);
    }
}

TEST(FormatDateTime, DateThenPaddedTime) {
    const LocalDateTime when{2023, 11, 5, 9, 4, 0};
    EXPECT_EQ(formatDateTime(when, DateOrder::DayMonthYear), "05-11-2023, 09:04:00");
    EXPECT_EQ(formatDateTime(when, DateOrder::YearMonthDay), "2023-11-05, 09:04:00");
    EXPECT_EQ(formatDateTime({1850, 1, 1, 23, 59, 58}, DateOrder::MonthDayYear),
              "00-00-0000, 23:59:58");
}

class FileDateTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("quorvel_dates_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST_F(FileDateTest, LastWriteDateInLocalTime) {
    const std::string path = (dir_ / "Quorvel.chk").string();
    std::ofstream(path) << "x";
    std::tm noon{};
    noon.tm_year = 2021 - 1900;
    noon.tm_mon = 5;
    noon.tm_mday = 14;
    noon.tm_hour = 12;
    noon.tm_isdst = -1;
    const std::time_t stamp = std::mktime(&noon);
    const struct timespec times[2] = {{stamp, 0}, {stamp, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);

    const auto when = fileLastWriteTime(path);
    ASSERT_TRUE(when.has_value());
    EXPECT_EQ(when->year, 2021);
    EXPECT_EQ(when->month, 6);
    EXPECT_EQ(when->day, 14);
    EXPECT_EQ(when->hour, 12);
    EXPECT_EQ(fileDateText(path, DateOrder::MonthDayYear), "06-14-2021");
    EXPECT_EQ(fileDateText(path, DateOrder::DayMonthYear), "14-06-2021");
    EXPECT_EQ(fileDateText(path, DateOrder::YearMonthDay), "2021-06-14");
}

TEST_F(FileDateTest, MissingFileOrFolderGivesEmptyText) {
    EXPECT_EQ(fileDateText((dir_ / "absent.chk").string(), DateOrder::MonthDayYear), "");
    EXPECT_EQ(fileDateText(dir_.string(), DateOrder::MonthDayYear), "");
    EXPECT_EQ(fileDateText("", DateOrder::MonthDayYear), "");
}

TEST(LocaleDateOrder, FollowsTheEnvironment) {
    const char* saved = std::getenv("LC_ALL");
    const std::string savedText = saved != nullptr ? saved : "";
    ::setenv("LC_ALL", "C", 1);
    EXPECT_EQ(localeDateOrder(), DateOrder::MonthDayYear);
    ::setenv("LC_ALL", "no_SUCH_locale.really", 1);  // cannot be loaded
    EXPECT_EQ(localeDateOrder(), DateOrder::MonthDayYear);
    if (saved != nullptr) {
        ::setenv("LC_ALL", savedText.c_str(), 1);
    } else {
        ::unsetenv("LC_ALL");
    }
}

TEST(LocalDateTime, ConvertsTimeStamp) {
    std::tm parts{};
    parts.tm_year = 1999 - 1900;
    parts.tm_mon = 11;
    parts.tm_mday = 31;
    parts.tm_hour = 23;
    parts.tm_min = 59;
    parts.tm_sec = 30;
    parts.tm_isdst = -1;
    const LocalDateTime when = toLocalDateTime(std::mktime(&parts));
    EXPECT_EQ(formatDateTime(when, DateOrder::YearMonthDay), "1999-12-31, 23:59:30");
}

}  // namespace
}  // namespace quorvel
