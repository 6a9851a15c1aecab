#include <gtest/gtest.h>
#include <signal.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "crash/crash_files.h"
#include "crash/error_log.h"
#include "crash/exception_names.h"
#include "crash/proc_maps.h"
#include "crash/safe_text.h"
#include "platform/scratch_folder.h"

namespace quorvel {
namespace {

using crash::FaultFacts;

TEST(ExceptionKind, SignalsAndCodes) {
    struct Case {
        const char* name;
        FaultFacts facts;
        std::uint32_t code;
        const char* text;
    } cases[] = {
        {"segfault", {SIGSEGV, SEGV_MAPERR, false, false}, 0xC0000005, "an Access Violation"},
        {"protection fault",
         {SIGSEGV, SEGV_ACCERR, false, false},
         0xC0000005,
         "an Access Violation"},
        {"guard area", {SIGSEGV, SEGV_MAPERR, true, false}, 0xC00000FD, "a Stack Overflow"},
        {"integer division",
         {SIGFPE, FPE_INTDIV, false, false},
         0xC0000094,
         "an Integer Divide by Zero"},
        {"integer overflow", {SIGFPE, FPE_INTOVF, false, false}, 0xC0000095, "an Integer Overflow"},
        {"float division",
         {SIGFPE, FPE_FLTDIV, false, false},
         0xC000008E,
         "a Float Divide by Zero"},
        {"float overflow", {SIGFPE, FPE_FLTOVF, false, false}, 0xC0000091, "a Float Overflow"},
        {"float underflow", {SIGFPE, FPE_FLTUND, false, false}, 0xC0000093, "a Float Underflow"},
        {"float inexact", {SIGFPE, FPE_FLTRES, false, false}, 0xC000008F, "a Float Inexact Result"},
        {"float invalid",
         {SIGFPE, FPE_FLTINV, false, false},
         0xC0000090,
         "a Float Invalid Operation"},
        {"subscript", {SIGFPE, FPE_FLTSUB, false, false}, 0xC000008C, "a Array Bounds Exceeded"},
        {"sent SIGFPE", {SIGFPE, SI_USER, false, false}, SIGFPE, "an Unknown exception type"},
        {"illegal opcode",
         {SIGILL, ILL_ILLOPN, false, false},
         0xC000001D,
         "an Illegal Instruction"},
        {"privileged opcode",
         {SIGILL, ILL_PRVOPC, false, false},
         0xC0000096,
         "a Privileged Instruction"},
        {"privileged register",
         {SIGILL, ILL_PRVREG, false, false},
         0xC0000096,
         "a Privileged Instruction"},
        {"misaligned", {SIGBUS, BUS_ADRALN, false, false}, 0x80000002, "a Datatype Misalignment"},
        {"bus error", {SIGBUS, BUS_ADRERR, false, false}, 0xC0000006, "an In Page Error"},
        {"breakpoint", {SIGTRAP, SI_KERNEL, false, false}, 0x80000003, "a Breakpoint"},
        {"abort", {SIGABRT, SI_TKILL, false, false}, SIGABRT, "an Unknown exception type"},
        {"uncaught exception", {SIGABRT, SI_TKILL, false, true}, 0xE06D7363, "a C++ Exception"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const crash::ExceptionKind kind = crash::exceptionKindOf(c.facts);
        EXPECT_EQ(kind.code, c.code);
        EXPECT_STREQ(kind.name, c.text);
    }
    EXPECT_STREQ(crash::exceptionName(0x40010005), "a Control-C");
    EXPECT_STREQ(crash::exceptionName(0xC0000142), "a DLL Initialization Failed");
    EXPECT_STREQ(crash::exceptionName(0x12345678), "an Unknown exception type");
}

TEST(CrashList, NumbersOnlyTheFilesThatExistWithoutGaps) {
    testing::ScratchFolder scratch;
    const std::string programFolder = scratch.file("program"), userFolder = scratch.file("user");
    std::filesystem::create_directories(programFolder);
    std::filesystem::create_directories(userFolder);
    const std::string head =
        "[FilesToAdd]\r\nFile001=ERRORLOG.TXT,Error description and details,Log file\r\n"
        "File002=CRASH.DMP,Process memory dump,Debug file\r\n";
    struct Case {
        const char* name;
        std::vector<std::string> existing;
        std::string expected;
    } cases[] = {
        {"none", {}, head},
        {"program settings and checker",
         {"program/Quorvel.hc", "program/Quorvel.chk"},
         head + "File003=" + programFolder + "/Quorvel.hc,User Settings File,Settings\r\nFile004=" +
             programFolder + "/Quorvel.chk,Checker File,VEV Settings\r\n"},
        {"program folder wins",
         {"program/Quorvel.hc", "user/Quorvel.hc"},
         head + "File003=" + programFolder + "/Quorvel.hc,User Settings File,Settings\r\n"},
        {"user settings when the program folder has none",
         {"user/Quorvel.hc"},
         head + "File003=" + userFolder + "/Quorvel.hc,User Settings File,Settings\r\n"},
        {"checker alone takes number 3",
         {"user/Quorvel.chk"},
         head + "File003=" + userFolder + "/Quorvel.chk,Checker File,VEV Settings\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* name :
             {"program/Quorvel.hc", "program/Quorvel.chk", "user/Quorvel.hc", "user/Quorvel.chk"}) {
            std::filesystem::remove(scratch.file(name));
        }
        for (const std::string& name : c.existing)
            std::ofstream(scratch.file(name)) << "x";
        const std::string settings[2] = {programFolder + "/Quorvel.hc", userFolder + "/Quorvel.hc"};
        const std::string checker[2] = {programFolder + "/Quorvel.chk",
                                        userFolder + "/Quorvel.chk"};
        crash::FixedText<4096> text;
        crash::formatCrashList(text, {{settings[0].c_str(), settings[1].c_str()},
                                      {checker[0].c_str(), checker[1].c_str()}});
        EXPECT_EQ(std::string(text.data(), text.size()), c.expected);
        // The reporter reads back what was written.
        std::size_t lines = 0;
        for (std::size_t at = 0; (at = c.expected.find("\nFile", at)) != std::string::npos; ++at)
            ++lines;
        EXPECT_EQ(parseCrashList(c.expected).size(), lines);
    }
}

TEST(CrashList, Parse) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> paths;
    } cases[] = {
        {"two files",
         "[FilesToAdd]\r\nFile001=A.TXT,Log,Log file\r\nFile002=B.DMP,Dump,Debug file\r\n",
         {"A.TXT", "B.DMP"}},
        {"numbering stops at a gap", "[FilesToAdd]\r\nFile001=A,d,k\r\nFile003=C,d,k\r\n", {"A"}},
        {"order by number", "[FilesToAdd]\nFile002=B,d,k\nFile001=A,d,k\n", {"A", "B"}},
        {"comma in the path",
         "[FilesToAdd]\r\nFile001=/home/a,b/Quorvel.hc,User Settings File,Settings\r\n",
         {"/home/a,b/Quorvel.hc"}},
        {"other sections ignored",
         "[Other]\r\nFile001=X,d,k\r\n[FilesToAdd]\r\nFile001=A,d,k\r\n",
         {"A"}},
        {"too few fields", "[FilesToAdd]\r\nFile001=A,d\r\n", {}},
        {"not a number", "[FilesToAdd]\r\nFileX01=A,d,k\r\n", {}},
        {"empty", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> paths;
        for (const CrashListedFile& file : parseCrashList(c.text))
            paths.push_back(file.path);
        EXPECT_EQ(paths, c.paths);
    }
    const auto files =
        parseCrashList("[FilesToAdd]\r\nFile001=A.TXT,Error description and details,Log file\r\n");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].description, "Error description and details");
    EXPECT_EQ(files[0].kind, "Log file");
}

TEST(CrashReportFolder, Cases) {
    struct Case {
        const char* name;
        DataEnvironment environment;
        std::string expected;
    } cases[] = {
        {"XDG value", {"/home/ann/data", "/home/ann"}, "/home/ann/data/Maltrane"},
        {"XDG value with a slash", {"/home/ann/data/", "/home/ann"}, "/home/ann/data/Maltrane"},
        {"relative XDG value ignored", {"data", "/home/ann"}, "/home/ann/.local/share/Maltrane"},
        {"home only", {"", "/home/ann"}, "/home/ann/.local/share/Maltrane"},
        {"nothing known", {"", ""}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(crashReportFolder(c.environment), c.expected);
    }
}

TEST(SafeText, FormatsAndDropsWhatDoesNotFit) {
    crash::FixedText<64> text;
    text.hex(0xc0000005, 8)
        .byte(' ')
        .hex(0x1f, 16)
        .byte(' ')
        .dec(-42)
        .byte('|')
        .dec(7, 4)
        .byte('|')
        .dec(7, 4, true)
        .byte('|')
        .dec0(5, 3)
        .byte('|')
        .dec(INT64_MIN);
    EXPECT_EQ(std::string(text.data(), text.size()),
              "c0000005 000000000000001f -42|   7|7   |005|-9223372036854775808");
    crash::FixedText<8> small;
    small.text("0123456789");
    EXPECT_EQ(std::string(small.data(), small.size()), "01234567");
    EXPECT_STREQ(small.c_str(), "0123456");
}

TEST(LocalTime, MonthDayYearWithEvenSeconds) {
    struct Case {
        std::int64_t utc;
        long offset;
        const char* expected;
    } cases[] = {
        {0, 0, "1/1/1970 00:00:00"},
        {59, 0, "1/1/1970 00:00:58"},
        {1709164800 + 3723, 0, "2/29/2024 01:02:02"},
        {0, -3600, "12/31/1969 23:00:00"},
        {1765200000, 3600, "12/8/2025 14:20:00"},
    };
    for (const Case& c : cases) {
        crash::FixedText<64> text;
        crash::appendLocalTime(text, c.utc, c.offset);
        EXPECT_EQ(std::string(text.data(), text.size()), c.expected) << c.utc;
    }
}

TEST(MapsSnapshot, ParsesLinesAndFindsTheStack) {
    static crash::MapsSnapshot maps;
    char text[] =
        "00400000-00452000 r-xp 00000000 08:02 173521      /usr/bin/dbus-daemon\n"
        "00651000-00652000 rw-p 00051000 08:02 173521      /usr/bin/dbus-daemon\n"
        "7ffd0000-7ffd1000 ---p 00000000 00:00 0\n"
        "7ffe0000-7fff0000 rw-p 00000000 00:00 0           [stack]\n";
    maps.parse(text, sizeof text - 1);
    ASSERT_EQ(maps.mappingCount(), 4u);
    EXPECT_STREQ(maps.mapping(0).path, "/usr/bin/dbus-daemon");
    EXPECT_EQ(maps.mapping(1).offset, 0x51000u);
    EXPECT_TRUE(maps.mapping(0).executable);
    EXPECT_FALSE(maps.mapping(2).readable);
    EXPECT_EQ(maps.find(0x651800), &maps.mapping(1));
    EXPECT_EQ(maps.find(0x500000), nullptr);
    EXPECT_EQ(maps.stackMapping(0x7ffe8000, 0x10000), &maps.mapping(3));
    EXPECT_EQ(maps.stackMapping(0x7ffdfff0, 0x10000), &maps.mapping(3));  // overflowed below
    EXPECT_EQ(maps.stackMapping(0x7ff00000, 0x10000), nullptr);
    EXPECT_EQ(maps.mappedBytes(), 0x52000u + 0x1000u + 0x1000u + 0x10000u);

    // This program's own map: its image is a module that holds its code.
    ASSERT_TRUE(maps.read());
    const crash::Module* self =
        maps.findModule(reinterpret_cast<std::uint64_t>(&crash::exceptionName));
    ASSERT_NE(self, nullptr);
    EXPECT_STREQ(crash::baseName(self->path), "crash_tests");
}

}  // namespace
}  // namespace quorvel
