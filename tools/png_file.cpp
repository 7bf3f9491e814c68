#include "tools/png_file.h"

#include <png.h>

#include <cstdio>
#include <vector>

bool WritePng(const std::string& path, int width, int height, const uint8_t* rgb) {
    if (width <= 0 || height <= 0 || rgb == nullptr) {
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    bool ok = false;
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        for (int y = 0; y < height; ++y) {
            rows[static_cast<size_t>(y)] = const_cast<png_bytep>(rgb + static_cast<size_t>(y) * width * 3);
        }
        png_set_rows(png, info, rows.data());
        png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        std::remove(path.c_str());
    }
    return ok;
}
