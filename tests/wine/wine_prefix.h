// A Wine prefix of the test run's own: made once in a temp folder, its
// server stopped after every test, removed at the end.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace wine {

using Environment = std::vector<std::pair<std::string, std::string>>;

// The variables every Wine process of the run gets: the prefix, no debug
// output, no Mono or Gecko download, no desktop menu entries.
Environment WineEnvironment(const std::string& prefix);

// Makes a fresh prefix (wineboot -i on an X server of its own); empty when
// that fails or takes longer than `milliseconds`.
std::string MakePrefix(int milliseconds);

// Ends the prefix's server and every Wine process still on it, so that the
// next test starts with its own display.
void StopServer(const std::string& prefix);

void RemovePrefix(const std::string& prefix);

}  // namespace wine
