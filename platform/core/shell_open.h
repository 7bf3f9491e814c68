// Opening a document with the desktop's opener, for ShellExecuteA.
#pragma once

#include "platform/api/windows.h"

#include <string>
#include <vector>

namespace layer {

// 0 when ShellExecuteA can open `file` with `verb` (null or "open"), else
// the error it returns (SE_ERR_FNF for no file, SE_ERR_NOASSOC for another
// verb).
int CheckShellOpen(LPCSTR verb, LPCSTR file);
// The argument vector that opens a target with xdg-open: the target is one
// argument; one that starts with '-' is made a relative path so that it
// cannot pass for an option.
std::vector<std::string> OpenerArgv(const char* target);
// Starts a program, looked up on PATH when its name has no '/', with the
// given arguments and no shell. Does not wait for it and leaves no zombie
// (it runs as a grandchild that init adopts). False when it could not be
// started.
bool SpawnDetached(const std::vector<std::string>& argv);
// ShellExecuteA's work on a real desktop: checks, then starts the opener.
// Returns ShellExecuteA's result (above 32 on success).
HINSTANCE OpenDocument(LPCSTR verb, LPCSTR file);

}  // namespace layer
