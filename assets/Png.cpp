#include "Png.h"

#include <png.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace gen {

namespace {
// Alpha: keep the canvas's transparency; otherwise fill it with Background.
void Write(const std::string& path, const art::Canvas& image, bool Alpha, art::Color Background) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("Cannot create file " + path + ".");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        throw std::runtime_error("Cannot write to file " + path);
    }
    png_init_io(png, f);
    const size_t Channels = Alpha ? 4 : 3;
    png_set_IHDR(png, info, uint32_t(image.Width()), uint32_t(image.Height()), 8,
                 Alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(size_t(image.Width()) * Channels);
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            art::Color c = image.Get(x, y);
            if (!Alpha && !c.Opaque()) c = Background;
            png_byte* p = &row[size_t(x) * Channels];
            p[0] = c.r, p[1] = c.g, p[2] = c.b;
            if (Alpha) p[3] = c.a;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
}
}  // namespace

void WritePng(const std::string& path, const art::Canvas& image, art::Color background) {
    Write(path, image, false, background);
}

void WritePngWithAlpha(const std::string& path, const art::Canvas& image) {
    Write(path, image, true, art::CLEAR);
}

}  // namespace gen
