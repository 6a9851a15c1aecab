#pragma once

#include <cstdint>

namespace quorvel::crash {

// Exception codes the error log names.
inline constexpr std::uint32_t kAccessViolation = 0xC0000005;
inline constexpr std::uint32_t kStackOverflow = 0xC00000FD;
inline constexpr std::uint32_t kCppException = 0xE06D7363;

// One fault as the error log names it.
struct ExceptionKind {
    std::uint32_t code;
    const char* name;
};

// The name of an exception code; "an Unknown exception type" for codes
// outside the table.
const char* exceptionName(std::uint32_t code);

// What is known about a fault when the handler runs.
struct FaultFacts {
    int signal = 0;
    int signalCode = 0;                  // si_code
    bool stackGuardHit = false;          // a SIGSEGV address in the guard area below a stack
    bool fromUncaughtException = false;  // SIGABRT raised by the terminate handler
};

// The exception of a signal: SIGSEGV is an access violation or, in a stack's
// guard area, a stack overflow; SIGFPE by its si_code; SIGILL an illegal or
// privileged instruction; SIGBUS a misalignment or an in-page error; SIGTRAP
// a breakpoint; SIGABRT from the terminate handler the C++ exception. Any
// other signal keeps its number as the code and is of an unknown type.
ExceptionKind exceptionKindOf(const FaultFacts& facts);

}  // namespace quorvel::crash
