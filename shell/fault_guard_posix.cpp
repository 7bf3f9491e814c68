// The fault guard on POSIX hosts: handlers for the fault signals, on a stack
// of their own so that a stack overflow is caught too. The handler reports
// the fault on stderr as the system would for an unhandled one, tells the
// system that no saver runs and ends the process with kFaultExitCode.
#ifndef _WIN32

#include "shell/fault_guard.h"
#include "shell/shell_state.h"

#include <csignal>
#include <cstdint>
#include <cstring>
#include <unistd.h>

namespace {

struct FaultSignal {
    int number;
    const char* name;
};

const FaultSignal kFaultSignals[] = {
    {SIGSEGV, "segmentation fault (SIGSEGV)"},
    {SIGBUS, "bus error (SIGBUS)"},
    {SIGFPE, "arithmetic fault (SIGFPE)"},
    {SIGILL, "illegal instruction (SIGILL)"},
};
constexpr int kFaultSignalCount = sizeof kFaultSignals / sizeof kFaultSignals[0];

alignas(16) char faultStack[64 * 1024];

// Only async-signal-safe calls from here on.
void Report(const char* text) {
    ssize_t ignored = write(STDERR_FILENO, text, std::strlen(text));
    (void)ignored;
}

void ReportAddress(const void* address) {
    char text[2 + 2 * sizeof(uintptr_t) + 1];
    uintptr_t value = reinterpret_cast<uintptr_t>(address);
    text[0] = '0';
    text[1] = 'x';
    for (size_t i = 0; i < 2 * sizeof value; ++i) {
        text[2 + i] = "0123456789abcdef"[(value >> (4 * (2 * sizeof value - 1 - i))) & 0xF];
    }
    text[sizeof text - 1] = '\0';
    Report(text);
}

void OnFault(int number, siginfo_t* info, void*) {
    const char* name = "fault";
    for (const FaultSignal& fault : kFaultSignals) {
        if (fault.number == number) {
            name = fault.name;
        }
    }
    Report("Unhandled fault: ");
    Report(name);
    Report(" at address ");
    ReportAddress(info != nullptr ? info->si_addr : nullptr);
    Report("\n");
    SetSaverRunning(FALSE);
    _exit(kFaultExitCode);
}

}  // namespace

int RunUnderFaultGuard(GuardedMode mode, char* tail) {
    stack_t stack;
    std::memset(&stack, 0, sizeof stack);
    stack.ss_sp = faultStack;
    stack.ss_size = sizeof faultStack;
    stack_t outerStack;
    bool stackSet = sigaltstack(&stack, &outerStack) == 0;

    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_sigaction = OnFault;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    struct sigaction outer[kFaultSignalCount];
    for (int i = 0; i < kFaultSignalCount; ++i) {
        sigaction(kFaultSignals[i].number, &action, &outer[i]);
    }

    int result = mode(tail);

    for (int i = 0; i < kFaultSignalCount; ++i) {
        sigaction(kFaultSignals[i].number, &outer[i], nullptr);
    }
    if (stackSet) {
        sigaltstack(&outerStack, nullptr);
    }
    return result;
}

#endif
