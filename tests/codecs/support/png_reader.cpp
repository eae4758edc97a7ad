#include "png_reader.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace kv::test {
namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

// Owns libpng's read and info structures.
struct PngRead {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    ~PngRead() { png_destroy_read_struct(&png, &info, nullptr); }
};

}  // namespace

RgbaImage ReadPng(const std::string& path) {
    const std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) throw std::runtime_error("png: cannot open " + path);
    PngRead read;
    if (!read.info) throw std::runtime_error("png: out of memory");
    RgbaImage image;
    std::vector<png_bytep> rows;
    // libpng reports its errors by jumping back here; nothing above needs unwinding by then.
    if (setjmp(png_jmpbuf(read.png))) throw std::runtime_error("png: libpng refused " + path);

    png_init_io(read.png, file.get());
    png_read_info(read.png, read.info);
    png_set_strip_16(read.png);
    png_set_packing(read.png);
    png_set_expand(read.png);  // palette to RGB, grey to 8 bits, a colour key to alpha
    png_set_gray_to_rgb(read.png);
    png_set_add_alpha(read.png, 0xff, PNG_FILLER_AFTER);
    png_set_interlace_handling(read.png);
    png_read_update_info(read.png, read.info);

    image.width = static_cast<int>(png_get_image_width(read.png, read.info));
    image.height = static_cast<int>(png_get_image_height(read.png, read.info));
    if (png_get_rowbytes(read.png, read.info) != static_cast<size_t>(image.width) * 4)
        throw std::runtime_error("png: unexpected row layout in " + path);
    image.rgba.resize(static_cast<size_t>(image.width) * image.height * 4);
    rows.resize(image.height);
    for (int y = 0; y < image.height; ++y) rows[y] = image.rgba.data() + static_cast<size_t>(y) * image.width * 4;
    png_read_image(read.png, rows.data());
    png_read_end(read.png, nullptr);
    return image;
}

}  // namespace kv::test
