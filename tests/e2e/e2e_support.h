// Running the real ostrel executable on a private X server: Xvfb on a free
// display, child processes with bounded waits, screenshots through xwd.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

namespace e2e {

// A child process; killed (and reaped) when it goes out of scope.
class Process {
public:
    Process() = default;
    // `environment`: variables set on top of ours; `output`: file that gets
    // the child's standard output (empty: ours).
    Process(const std::vector<std::string>& argv, const std::vector<std::pair<std::string, std::string>>& environment,
            const std::string& output = "");
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    ~Process();

    bool Started() const { return pid_ > 0; }
    // The exit code once the process has ended within `milliseconds`;
    // nullopt while it still runs (or when it was killed by a signal: -signal).
    std::optional<int> WaitExit(int milliseconds);
    void Kill();

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// 24-bit picture, top row first.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    const uint8_t* Pixel(int x, int y) const { return rgb.data() + (static_cast<size_t>(y) * width + x) * 3; }
};

// Reads an XWD file (ZPixmap, 24 or 32 bits a pixel, TrueColor masks);
// false for anything else.
bool ReadXwd(const std::vector<uint8_t>& bytes, Image* image);

// Pixels in the rectangle that are the towers' cyan.
int CyanPixels(const Image& image, int left, int top, int right, int bottom);
// Whether each quarter of the image shows some cyan: a window covering it all.
bool CyanInEveryQuarter(const Image& image);
// Whether the towers are on screen: cyan on more than a fiftieth of it.
bool ShowsTowers(const Image& image);

// An input that should close the running saver, as xdotool arguments.
struct CloseInput {
    const char* name;
    std::vector<std::string> xdotool;
};

// An Xvfb of its own, on a display number it picks.
class XServer {
public:
    XServer(int width, int height);
    ~XServer();
    bool Running() const { return display_ >= 0; }
    std::string Display() const { return ":" + std::to_string(display_); }
    // Starts a program with DISPLAY set to this server.
    Process Start(std::vector<std::string> argv, std::vector<std::pair<std::string, std::string>> environment = {},
                  const std::string& output = "") const;
    // Runs a tool (xdotool, xwd) to its end, at most 10 s; its exit code.
    int Run(const std::vector<std::string>& argv, const std::string& output = "") const;
    // xdotool with these arguments on this display; its exit code.
    int Xdotool(std::vector<std::string> arguments) const;
    // The whole screen; false when xwd fails.
    bool Screenshot(Image* image) const;
    // Takes screenshots until `ready` accepts one or `milliseconds` pass;
    // the last one is left in *image.
    template <class Ready>
    bool WaitForScreen(Image* image, int milliseconds, Ready ready) const;
    // Waits up to `milliseconds` for the towers and keeps the last screenshot
    // as `shotName` for viewing; false (with its path in *path) when they
    // never showed.
    bool WaitForTowers(int milliseconds, const std::string& shotName, std::string* path) const;

private:
    int display_ = -1;
    Process server_;
};

// Writes a screenshot where a person can look at it; returns the path.
std::string SaveForViewing(const Image& image, const std::string& name);
void SleepMilliseconds(int milliseconds);

template <class Ready>
bool XServer::WaitForScreen(Image* image, int milliseconds, Ready ready) const {
    for (int waited = 0; waited <= milliseconds; waited += 250) {
        if (Screenshot(image) && ready(*image)) {
            return true;
        }
        SleepMilliseconds(250);
    }
    return false;
}

}  // namespace e2e
