// The fault guard on Windows. MSVC has structured-exception blocks; g++ has
// none, so there the guard installs a top-level filter for the time the mode
// runs, which sees the same faults.
#ifdef _WIN32

#include "shell/fault_guard.h"
#include "shell/shell_state.h"

#if defined(_MSC_VER)

int RunUnderFaultGuard(GuardedMode mode, char* tail) {
    __try {
        return mode(tail);
    } __except (UnhandledExceptionFilter(GetExceptionInformation())) {
        SetSaverRunning(FALSE);
        return kFaultExitCode;
    }
}

#else

namespace {

LPTOP_LEVEL_EXCEPTION_FILTER outerFilter = nullptr;

LONG WINAPI OnFault(EXCEPTION_POINTERS* fault) {
    // The system's reporting calls the top-level filter itself: step out of
    // its way first, or it would come straight back here.
    SetUnhandledExceptionFilter(outerFilter);
    LONG decision = UnhandledExceptionFilter(fault);
    if (decision == EXCEPTION_EXECUTE_HANDLER) {
        SetSaverRunning(FALSE);
        ExitProcess(kFaultExitCode);
    }
    return decision;
}

}  // namespace

int RunUnderFaultGuard(GuardedMode mode, char* tail) {
    outerFilter = SetUnhandledExceptionFilter(OnFault);
    int result = mode(tail);
    SetUnhandledExceptionFilter(outerFilter);
    return result;
}

#endif
#endif
