#include "crash/exception_names.h"

#include <signal.h>

namespace quorvel::crash {

namespace {

constexpr ExceptionKind kNames[] = {
    {0x40010005, "a Control-C"},
    {0x40010008, "a Control-Break"},
    {0x80000002, "a Datatype Misalignment"},
    {0x80000003, "a Breakpoint"},
    {kAccessViolation, "an Access Violation"},
    {0xC0000006, "an In Page Error"},
    {0xC0000017, "a No Memory"},
    {0xC000001D, "an Illegal Instruction"},
    {0xC0000025, "a Noncontinuable Exception"},
    {0xC0000026, "an Invalid Disposition"},
    {0xC000008C, "a Array Bounds Exceeded"},
    {0xC000008D, "a Float Denormal Operand"},
    {0xC000008E, "a Float Divide by Zero"},
    {0xC000008F, "a Float Inexact Result"},
    {0xC0000090, "a Float Invalid Operation"},
    {0xC0000091, "a Float Overflow"},
    {0xC0000092, "a Float Stack Check"},
    {0xC0000093, "a Float Underflow"},
    {0xC0000094, "an Integer Divide by Zero"},
    {0xC0000095, "an Integer Overflow"},
    {0xC0000096, "a Privileged Instruction"},
    {kStackOverflow, "a Stack Overflow"},
    {0xC0000142, "a DLL Initialization Failed"},
    {kCppException, "a C++ Exception"},
};

std::uint32_t codeOf(const FaultFacts& facts) {
    switch (facts.signal) {
        case SIGSEGV:
            return facts.stackGuardHit ? kStackOverflow : kAccessViolation;
        case SIGFPE:
            switch (facts.signalCode) {
                case FPE_INTDIV:
                    return 0xC0000094;
                case FPE_INTOVF:
                    return 0xC0000095;
                case FPE_FLTDIV:
                    return 0xC000008E;
                case FPE_FLTOVF:
                    return 0xC0000091;
                case FPE_FLTUND:
                    return 0xC0000093;
                case FPE_FLTRES:
                    return 0xC000008F;
                case FPE_FLTINV:
                    return 0xC0000090;
                case FPE_FLTSUB:
                    return 0xC000008C;  // subscript out of range
                default:
                    break;
            }
            break;
        case SIGILL:
            return facts.signalCode == ILL_PRVOPC || facts.signalCode == ILL_PRVREG ? 0xC0000096
                                                                                    : 0xC000001D;
        case SIGBUS:
            return facts.signalCode == BUS_ADRALN ? 0x80000002 : 0xC0000006;
        case SIGTRAP:
            return 0x80000003;
        case SIGABRT:
            if (facts.fromUncaughtException) return kCppException;
            break;
        default:
            break;
    }
    return static_cast<std::uint32_t>(facts.signal);
}

}  // namespace

const char* exceptionName(std::uint32_t code) {
    for (const ExceptionKind& kind : kNames) {
        if (kind.code == code) return kind.name;
    }
    return "an Unknown exception type";
}

ExceptionKind exceptionKindOf(const FaultFacts& facts) {
    const std::uint32_t code = codeOf(facts);
    return {code, exceptionName(code)};
}

}  // namespace quorvel::crash
