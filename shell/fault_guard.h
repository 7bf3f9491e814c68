// A guard around the mode that runs: a fault inside it is reported by the
// system as an unhandled fault would be; when that reporting lets the guard's
// handler run, the system is told that no saver runs any more and the process
// ends with kFaultExitCode.
#pragma once

#include "platform/win32.h"

// The exit code after a fault taken by the guard's handler (as abort() leaves
// on Windows). Nothing reads it beyond the process's end.
constexpr int kFaultExitCode = 3;

typedef int (*GuardedMode)(char* tail);

// Runs mode(tail) under the guard and returns its result.
int RunUnderFaultGuard(GuardedMode mode, char* tail);
