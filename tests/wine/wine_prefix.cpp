// Making and taking down the run's Wine prefix.
#include "tests/wine/wine_prefix.h"

#include "tests/e2e/e2e_support.h"

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace wine {

Environment WineEnvironment(const std::string& prefix) {
    return {{"WINEPREFIX", prefix},
            {"WINEDEBUG", "-all"},
            {"WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d"}};
}

std::string MakePrefix(int milliseconds) {
    char folder[] = "/tmp/ostrel-wine-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        return "";
    }
    std::string prefix = folder;
    // Its own display, so that nothing of the first start lands on a
    // developer's screen.
    e2e::XServer server(640, 480);
    if (!server.Running()) {
        RemovePrefix(prefix);
        return "";
    }
    e2e::Process boot = server.Start({OSTREL_WINE64_PATH, "wineboot", "-i"}, WineEnvironment(prefix));
    std::optional<int> code = boot.WaitExit(milliseconds);
    StopServer(prefix);
    if (code != std::optional<int>(0)) {
        RemovePrefix(prefix);
        return "";
    }
    return prefix;
}

void StopServer(const std::string& prefix) {
    e2e::Process stop({OSTREL_WINESERVER_PATH, "-k"}, WineEnvironment(prefix));
    stop.WaitExit(10000);
    // -w: returns once the server has gone.
    e2e::Process gone({OSTREL_WINESERVER_PATH, "-w"}, WineEnvironment(prefix));
    gone.WaitExit(10000);
}

void RemovePrefix(const std::string& prefix) {
    std::error_code ignored;
    std::filesystem::remove_all(prefix, ignored);
}

}  // namespace wine
