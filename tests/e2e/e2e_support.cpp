// Xvfb, child processes and xwd screenshots for the end-to-end tests.
#include "tests/e2e/e2e_support.h"

#include "tools/png_file.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <iterator>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace e2e {
namespace {

uint32_t BigEndian32(const std::vector<uint8_t>& bytes, size_t at) {
    return (static_cast<uint32_t>(bytes[at]) << 24) | (static_cast<uint32_t>(bytes[at + 1]) << 16) |
           (static_cast<uint32_t>(bytes[at + 2]) << 8) | bytes[at + 3];
}

int ChannelOf(uint32_t pixel, uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = __builtin_ctz(mask);
    uint32_t value = (pixel & mask) >> shift;
    uint32_t top = mask >> shift;
    return static_cast<int>(value * 255 / top);
}


}  // namespace

void SleepMilliseconds(int milliseconds) {
    timespec wait{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}

Process::Process(const std::vector<std::string>& argv,
                 const std::vector<std::pair<std::string, std::string>>& environment, const std::string& output) {
    pid_ = fork();
    if (pid_ == 0) {
        for (const auto& [name, value] : environment) {
            setenv(name.c_str(), value.c_str(), 1);
        }
        if (!output.empty()) {
            int file = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (file >= 0) {
                dup2(file, STDOUT_FILENO);
                close(file);
            }
        }
        int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) {
            dup2(quiet, STDERR_FILENO);
            close(quiet);
        }
        std::vector<char*> args;
        for (const std::string& a : argv) {
            args.push_back(const_cast<char*>(a.c_str()));
        }
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
}

Process::Process(Process&& other) noexcept : pid_(other.pid_), status_(other.status_) {
    other.pid_ = -1;
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Kill();
        pid_ = other.pid_;
        status_ = other.status_;
        other.pid_ = -1;
    }
    return *this;
}

Process::~Process() {
    Kill();
}

std::optional<int> Process::WaitExit(int milliseconds) {
    if (status_.has_value() || pid_ <= 0) {
        return status_;
    }
    for (int waited = 0;; waited += 10) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
            return status_;
        }
        if (waited >= milliseconds) {
            return std::nullopt;
        }
        SleepMilliseconds(10);
    }
}

void Process::Kill() {
    if (pid_ <= 0 || status_.has_value()) {
        return;
    }
    kill(pid_, SIGTERM);
    if (!WaitExit(2000).has_value()) {
        kill(pid_, SIGKILL);
        WaitExit(5000);
    }
}

bool ReadXwd(const std::vector<uint8_t>& bytes, Image* image) {
    if (bytes.size() < 100) {
        return false;
    }
    uint32_t header[25];
    for (size_t i = 0; i < 25; ++i) {
        header[i] = BigEndian32(bytes, i * 4);
    }
    const uint32_t headerSize = header[0], format = header[2], width = header[4], height = header[5],
                   byteOrder = header[7], bitsPerPixel = header[11], bytesPerLine = header[12],
                   redMask = header[14], greenMask = header[15], blueMask = header[16], colours = header[19];
    const uint32_t kZPixmap = 2;
    if (format != kZPixmap || (bitsPerPixel != 24 && bitsPerPixel != 32) || width == 0 || height == 0 ||
        width > 16384 || height > 16384 || bytesPerLine < width * (bitsPerPixel / 8)) {
        return false;
    }
    size_t start = static_cast<size_t>(headerSize) + static_cast<size_t>(colours) * 12;
    if (start > bytes.size() || (bytes.size() - start) / bytesPerLine < height) {
        return false;
    }
    image->width = static_cast<int>(width);
    image->height = static_cast<int>(height);
    image->rgb.assign(static_cast<size_t>(width) * height * 3, 0);
    size_t step = bitsPerPixel / 8;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t* p = bytes.data() + start + static_cast<size_t>(y) * bytesPerLine + x * step;
            uint32_t pixel = 0;
            for (size_t b = 0; b < step; ++b) {
                size_t shift = byteOrder == 0 ? b : step - 1 - b;  // 0: least significant byte first
                pixel |= static_cast<uint32_t>(p[b]) << (8 * shift);
            }
            uint8_t* out = image->rgb.data() + (static_cast<size_t>(y) * width + x) * 3;
            out[0] = static_cast<uint8_t>(ChannelOf(pixel, redMask));
            out[1] = static_cast<uint8_t>(ChannelOf(pixel, greenMask));
            out[2] = static_cast<uint8_t>(ChannelOf(pixel, blueMask));
        }
    }
    return true;
}

int CyanPixels(const Image& image, int left, int top, int right, int bottom) {
    int count = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, image.height); ++y) {
        for (int x = std::max(left, 0); x < std::min(right, image.width); ++x) {
            const uint8_t* p = image.Pixel(x, y);
            if (p[1] > 100 && p[2] > 100 && p[0] + 60 < p[1] && p[0] + 60 < p[2]) {
                ++count;
            }
        }
    }
    return count;
}

bool CyanInEveryQuarter(const Image& image) {
    int halfW = image.width / 2;
    int halfH = image.height / 2;
    return CyanPixels(image, 0, 0, halfW, halfH) > 0 && CyanPixels(image, halfW, 0, image.width, halfH) > 0 &&
           CyanPixels(image, 0, halfH, halfW, image.height) > 0 &&
           CyanPixels(image, halfW, halfH, image.width, image.height) > 0;
}

bool ShowsTowers(const Image& image) {
    return CyanPixels(image, 0, 0, image.width, image.height) > image.width * image.height / 50;
}

bool XServer::WaitForTowers(int milliseconds, const std::string& shotName, std::string* path) const {
    Image screen;
    bool shown = WaitForScreen(&screen, milliseconds, ShowsTowers);
    *path = SaveForViewing(screen, shotName);
    return shown;
}

int XServer::Xdotool(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), "xdotool");
    return Run(arguments);
}

XServer::XServer(int width, int height) {
    // Xvfb picks a free display number itself and writes it to the pipe once
    // it accepts connections, so parallel tests never meet on one server.
    int ready[2];
    if (pipe(ready) != 0) {
        return;
    }
    server_ = Process({"Xvfb", "-displayfd", std::to_string(ready[1]), "-screen", "0",
                       std::to_string(width) + "x" + std::to_string(height) + "x24", "-nolisten", "tcp"},
                      {});
    close(ready[1]);
    std::string number;
    pollfd wait{ready[0], POLLIN, 0};
    for (int waited = 0; waited < 10000 && number.find('\n') == std::string::npos; waited += 100) {
        if (poll(&wait, 1, 100) > 0) {
            char text[16];
            ssize_t got = read(ready[0], text, sizeof text);
            if (got <= 0) {
                break;  // the server ended without a display
            }
            number.append(text, static_cast<size_t>(got));
        }
    }
    close(ready[0]);
    if (number.find('\n') == std::string::npos) {
        server_.Kill();
        return;
    }
    display_ = std::atoi(number.c_str());
}

XServer::~XServer() {
    server_.Kill();
}

Process XServer::Start(std::vector<std::string> argv, std::vector<std::pair<std::string, std::string>> environment,
                       const std::string& output) const {
    environment.emplace_back("DISPLAY", Display());
    return Process(argv, environment, output);
}

int XServer::Run(const std::vector<std::string>& argv, const std::string& output) const {
    Process tool = Start(argv, {}, output);
    std::optional<int> code = tool.WaitExit(10000);
    return code.value_or(-1);
}

bool XServer::Screenshot(Image* image) const {
    std::string path = "/tmp/ostrel-e2e-" + std::to_string(getpid()) + ".xwd";
    if (Run({"xwd", "-root", "-silent"}, path) != 0) {
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    return ReadXwd(bytes, image);
}

std::string SaveForViewing(const Image& image, const std::string& name) {
    std::string folder = std::string(OSTREL_BINARY_DIR) + "/e2e-screens";
    mkdir(folder.c_str(), 0755);
    std::string path = folder + "/" + name + ".png";
    WritePng(path, image.width, image.height, image.rgb.data());
    return path;
}

}  // namespace e2e
