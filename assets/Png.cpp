#include "Png.h"

#include <png.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace gen {

void WritePng(const std::string& path, const art::Canvas& image, art::Color background) {
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
    png_set_IHDR(png, info, uint32_t(image.Width()), uint32_t(image.Height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(size_t(image.Width()) * 3);
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            art::Color c = image.Get(x, y);
            if (!c.Opaque()) c = background;
            row[size_t(x) * 3] = c.r, row[size_t(x) * 3 + 1] = c.g, row[size_t(x) * 3 + 2] = c.b;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
}

}  // namespace gen
