// ShellExecuteA and the desktop opener it stands for on Linux: xdg-open,
// started with an argument vector (never through a shell) as a detached
// grandchild, so the caller neither waits for it nor leaves a zombie.
#include "platform/core/shell_open.h"

#include "platform/core/host.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <strings.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace layer {
namespace {

// The program's path: as given when it names a folder, else the first
// executable match on PATH. Looked up before fork, where it is safe to.
std::string FindProgram(const std::string& name) {
    if (name.find('/') != std::string::npos) {
        return access(name.c_str(), X_OK) == 0 ? name : std::string();
    }
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos) {
            end = folders.size();
        }
        std::string folder = folders.substr(start, end - start);
        std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return std::string();
}

}  // namespace

int CheckShellOpen(LPCSTR verb, LPCSTR file) {
    if (file == nullptr || file[0] == '\0') {
        return SE_ERR_FNF;
    }
    if (verb != nullptr && verb[0] != '\0' && strcasecmp(verb, "open") != 0) {
        return SE_ERR_NOASSOC;
    }
    return 0;
}

std::vector<std::string> OpenerArgv(const char* target) {
    std::string argument = target != nullptr ? target : "";
    if (!argument.empty() && argument[0] == '-') {
        argument = "./" + argument;
    }
    return {"xdg-open", argument};
}

bool SpawnDetached(const std::vector<std::string>& argv) {
    if (argv.empty() || argv[0].empty()) {
        return false;
    }
    std::string program = FindProgram(argv[0]);
    if (program.empty()) {
        return false;
    }
    std::vector<char*> arguments;
    for (const std::string& argument : argv) {
        arguments.push_back(const_cast<char*>(argument.c_str()));
    }
    arguments.push_back(nullptr);
    // The grandchild reports a failed exec through this pipe; a successful
    // exec closes it (close-on-exec), which the parent reads as end of file.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        return false;
    }
    pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (child == 0) {
        // Only async-signal-safe calls from here on.
        pid_t grandchild = fork();
        if (grandchild == 0) {
            setsid();
            execve(program.c_str(), arguments.data(), environ);
            int error = errno;
            ssize_t ignored = write(report[1], &error, sizeof error);
            (void)ignored;
            _exit(127);
        }
        if (grandchild < 0) {
            int error = errno;
            ssize_t ignored = write(report[1], &error, sizeof error);
            (void)ignored;
        }
        _exit(0);
    }
    close(report[1]);
    // The middle child ends at once; reaping it here leaves no zombie. It may
    // already be gone when SIGCHLD is ignored or reaped elsewhere (ECHILD).
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    do {
        got = read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    close(report[0]);
    return got == 0;
}

HINSTANCE OpenDocument(LPCSTR verb, LPCSTR file) {
    int error = CheckShellOpen(verb, file);
    if (error == 0 && !SpawnDetached(OpenerArgv(file))) {
        error = SE_ERR_NOASSOC;  // no opener to hand the document to
    }
    return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(error != 0 ? error : 42));
}

}  // namespace layer

HINSTANCE WINAPI ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                               INT show) {
    return layer::host::ShellExecute(owner, verb, file, parameters, directory, show);
}
