// Calls that a test can make fail once, to reach the system's failure paths.
#pragma once

namespace layer {

enum class Failure { HeapAlloc, SetTimer, RegisterClass, CreateWindow, LoadLibrary, Count };

// The next call of that kind fails.
void FailNext(Failure call);
// True once after FailNext: the caller then fails.
bool TakeFailure(Failure call);
void ResetFailures();

}  // namespace layer
