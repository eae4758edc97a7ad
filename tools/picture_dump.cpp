// picture-dump INPUT OUTPUT.ppm
//
// Loads INPUT through a picture holder (the format registry chooses the class by extension, as
// the preview does), converts the picture to a bitmap (as the game's load button does) and writes
// the bitmap as a binary PPM (P6), top row first, palette expanded. An empty bitmap gives
// "P6 0 0 255". On failure prints "EClassName: message" to standard error and exits with 1.
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "codecs/picture.h"
#include "codecs/standard_formats.h"
#include "graphics/bitmap.h"
#include "graphics/dib.h"
#include "runtime/exceptions.h"

namespace {

void WritePpm(const kv::TBitmap& bitmap, const std::string& path) {
    const kv::Dib* dib = bitmap.GetDib();
    const int width = dib ? dib->Width() : 0;
    const int height = dib ? dib->Height() : 0;
    // Through 24-bit top-down storage: one conversion handles every pixel format.
    std::unique_ptr<kv::Dib> rgb;
    if (dib) rgb = dib->ConvertTo(kv::DescriptionFor(width, -height, 24));

    std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!out) throw kv::EFOpenError("Cannot create file " + path);
    std::fprintf(out.get(), "P6 %d %d 255\n", width, height);
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        const uint8_t* source = rgb->Row(y);
        for (int x = 0; x < width; ++x) {  // stored blue, green, red
            row[x * 3] = source[x * 3 + 2];
            row[x * 3 + 1] = source[x * 3 + 1];
            row[x * 3 + 2] = source[x * 3];
        }
        if (std::fwrite(row.data(), 1, row.size(), out.get()) != row.size())
            throw kv::EOSError("Cannot write file " + path);
    }
    if (std::fflush(out.get()) != 0) throw kv::EOSError("Cannot write file " + path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: picture-dump INPUT OUTPUT.ppm\n");
        return 2;
    }
    try {
        kv::RegisterStandardFormats();
        kv::TPicture picture;
        picture.LoadFromFile(argv[1]);
        kv::TBitmap bitmap;
        bitmap.Assign(picture.Graphic());
        WritePpm(bitmap, argv[2]);
        return 0;
    } catch (const kv::Exception& e) {
        std::fprintf(stderr, "%s: %s\n", e.ClassName(), e.Message().c_str());
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "EOutOfMemory: Out of memory\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Exception: %s\n", e.what());
    }
    return 1;
}
