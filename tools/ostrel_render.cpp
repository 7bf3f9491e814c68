// ostrel-render: draws chosen frames of the tower field offscreen and writes
// each as a PNG file of exactly what the frame presents. The frames before
// the first one asked for only move the camera, so a late frame costs no
// more than an early one.
#include "tools/offscreen_scene.h"
#include "tools/png_file.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr uint64_t kMaxFrame = 1000000000;  // about four months of saver time at 100 frames a second
constexpr int kMaxSide = 8192;

int Usage(const char* problem) {
    if (problem != nullptr) {
        std::fprintf(stderr, "ostrel-render: %s\n", problem);
    }
    std::fprintf(stderr,
                 "usage: ostrel-render [-s WIDTHxHEIGHT] [-o DIRECTORY] FRAME [FRAME...]\n"
                 "  Renders the given frames (1 is the first frame the saver draws) and writes\n"
                 "  DIRECTORY/ostrel-frame-FRAME.png for each. Default size 640x480, directory '.'.\n");
    return 2;
}

bool ParseNumber(const std::string& text, uint64_t* value) {
    if (text.empty() || text.size() > 19) {
        return false;
    }
    auto result = std::from_chars(text.data(), text.data() + text.size(), *value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

bool ParseSize(const std::string& text, int* width, int* height) {
    size_t cross = text.find('x');
    uint64_t w = 0;
    uint64_t h = 0;
    if (cross == std::string::npos || !ParseNumber(text.substr(0, cross), &w) ||
        !ParseNumber(text.substr(cross + 1), &h) || w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) {
        return false;
    }
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int width = 640;
    int height = 480;
    std::string directory = ".";
    std::vector<uint64_t> frames;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            Usage(nullptr);
            return 0;
        }
        if (argument == "-s" || argument == "-o") {
            if (i + 1 >= argc) {
                return Usage("missing value after option");
            }
            std::string value = argv[++i];
            if (argument == "-o") {
                directory = value;
            } else if (!ParseSize(value, &width, &height)) {
                return Usage("size must be WIDTHxHEIGHT, each from 1 to 8192");
            }
            continue;
        }
        uint64_t frame = 0;
        if (!ParseNumber(argument, &frame) || frame < 1 || frame > kMaxFrame) {
            return Usage("a frame is a number from 1 to 1000000000");
        }
        frames.push_back(frame);
    }
    if (frames.empty()) {
        return Usage("no frame given");
    }
    std::sort(frames.begin(), frames.end());
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());

    OffscreenScene scene(width, height);
    if (!scene.hasContext()) {
        std::fprintf(stderr, "ostrel-render: no OpenGL context could be made\n");
        return 1;
    }
    headless::Frame picture;
    for (uint64_t frame : frames) {
        scene.SkipFrames(frame - 1 - scene.framesDone());
        scene.DrawFrame();
        std::string path = directory + "/ostrel-frame-" + std::to_string(frame) + ".png";
        if (!scene.ReadFrame(&picture) || !WritePng(path, picture.width, picture.height, picture.rgb.data())) {
            std::fprintf(stderr, "ostrel-render: could not write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    return 0;
}
