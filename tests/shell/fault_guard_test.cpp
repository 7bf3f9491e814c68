// The fault guard around the mode: a fault is reported as an unhandled one
// and ends the process with the guard's exit code; without a fault the guard
// leaves no trace.
#include "shell/fault_guard.h"
#include "tests/shell/shell_test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>

using namespace shell_test;

namespace {

// A real bad access, not a raised signal.
volatile uintptr_t badAddress = 16;

int TouchBadAddress(char*) {
    return *reinterpret_cast<volatile int*>(badAddress);
}

int RaiseBusError(char*) {
    return raise(SIGBUS);
}

int RaiseArithmeticFault(char*) {
    return raise(SIGFPE);
}

int RaiseIllegalInstruction(char*) {
    return raise(SIGILL);
}

// Deep enough to run off the stack: the handler needs a stack of its own.
volatile int recursionLimit = 1 << 30;

int Recurse(volatile char* previous, int depth) {
    volatile char frame[1024];
    frame[0] = static_cast<char>(depth);
    frame[1023] = previous != nullptr ? previous[0] : 0;
    if (depth >= recursionLimit) {
        return frame[0];
    }
    return Recurse(frame, depth + 1) + frame[1023];
}

int OverflowTheStack(char*) {
    return Recurse(nullptr, 0);
}

struct FaultCase {
    const char* name;
    GuardedMode mode;
    const char* report;
};

std::ostream& operator<<(std::ostream& out, const FaultCase& c) {
    return out << c.name;
}

class FaultGuardDeathTest : public ::testing::TestWithParam<FaultCase> {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_P(FaultGuardDeathTest, FaultEndsTheProcessWithTheGuardsCode) {
    char tail[] = "/s";
    EXPECT_EXIT(RunUnderFaultGuard(GetParam().mode, tail), ::testing::ExitedWithCode(kFaultExitCode),
                GetParam().report);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultGuardDeathTest,
    ::testing::Values(FaultCase{"BadAccess", TouchBadAddress,
                                "Unhandled fault: segmentation fault .* at address 0x0*10"},
                      FaultCase{"BusError", RaiseBusError, "Unhandled fault: bus error"},
                      FaultCase{"Arithmetic", RaiseArithmeticFault, "Unhandled fault: arithmetic fault"},
                      FaultCase{"IllegalInstruction", RaiseIllegalInstruction, "Unhandled fault: illegal instruction"},
                      FaultCase{"StackOverflow", OverflowTheStack, "Unhandled fault: segmentation fault"}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

// A fault deep inside a running saver (here in the password prompt of the
// 95/98/Me family) reaches the guard as well.
TEST(FaultInModeDeathTest, FaultInTheSaverReachesTheGuard) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            FreshProcess();
            headless::SetWindowsFamily(headless::WindowsFamily::Win9x);
            InstallVerifier();
            RequirePassword(1);
            Verifier().duringPrompt = [](HWND) { TouchBadAddress(nullptr); };
            headless::Schedule(30, headless::KeyDown('A'));
            Dispatch("/s");
        },
        ::testing::ExitedWithCode(kFaultExitCode), "Unhandled fault: segmentation fault");
}

// ---------------------------------------------------------------------------

int ReturnsSeven(char* tail) {
    return tail[0] == '/' ? 7 : -7;
}

bool SameHandler(const struct sigaction& a, const struct sigaction& b) {
    return a.sa_handler == b.sa_handler && (a.sa_flags & SA_SIGINFO) == (b.sa_flags & SA_SIGINFO);
}

// Without a fault: the mode's result passes through, and the handlers and
// the signal stack are what they were before.
TEST(FaultGuard, LeavesNoTraceAfterTheMode) {
    const int signals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
    struct sigaction before[4];
    for (int i = 0; i < 4; ++i) {
        sigaction(signals[i], nullptr, &before[i]);
    }
    stack_t stackBefore;
    sigaltstack(nullptr, &stackBefore);

    char tail[] = "/x";
    EXPECT_EQ(RunUnderFaultGuard(ReturnsSeven, tail), 7);

    for (int i = 0; i < 4; ++i) {
        struct sigaction after;
        sigaction(signals[i], nullptr, &after);
        EXPECT_TRUE(SameHandler(before[i], after)) << "signal " << signals[i];
    }
    stack_t stackAfter;
    sigaltstack(nullptr, &stackAfter);
    EXPECT_EQ(stackAfter.ss_sp, stackBefore.ss_sp);
    EXPECT_EQ(stackAfter.ss_flags, stackBefore.ss_flags);
}

}  // namespace
