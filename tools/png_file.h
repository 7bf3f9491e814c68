// Writing RGB pictures as PNG files (libpng).
#pragma once

#include <cstdint>
#include <string>

// Writes width by height pixels, top row first, three bytes a pixel.
// Returns false (and leaves no partial file behind) when writing fails.
bool WritePng(const std::string& path, int width, int height, const uint8_t* rgb);
