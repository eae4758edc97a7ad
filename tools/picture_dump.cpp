// picture-dump INPUT OUTPUT.ppm
//
// Loads INPUT through a picture holder (the format registry chooses the class by extension, as
// the preview does), converts the picture to a bitmap (as the game's load button does) and writes
// the bitmap as a binary PPM (P6), top row first, palette expanded. An empty bitmap gives
// "P6 0 0 255". On failure prints "EClassName: message" to standard error and exits with 1.
#include <tmmintrin.h>

#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "codecs/picture.h"
#include "codecs/standard_formats.h"
#include "graphics/bitmap.h"
#include "graphics/dib.h"
#include "graphics/geometry.h"
#include "graphics/raster.h"
#include "runtime/exceptions.h"

namespace {

// Blue, green, red to red, green, blue: sixteen bytes (five whole pixels) per shuffle where the
// processor has one, which is most of the tool's own time on a large picture.
__attribute__((target("ssse3"))) void SwapRedBlueShuffled(const uint8_t* source, uint8_t* out, int width) {
    const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
    int x = 0;
    for (; x + 6 <= width; x += 5) {  // the sixteenth byte read belongs to the next pixel
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 3 * x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x), _mm_shuffle_epi8(pixels, order));
    }
    for (; x < width; ++x) {
        out[3 * x] = source[3 * x + 2];
        out[3 * x + 1] = source[3 * x + 1];
        out[3 * x + 2] = source[3 * x];
    }
}

void SwapRedBlue(const uint8_t* source, uint8_t* out, int width) {
    static const bool shuffle = __builtin_cpu_supports("ssse3");
    if (shuffle) return SwapRedBlueShuffled(source, out, width);
    for (int x = 0; x < width; ++x, source += 3, out += 3) {
        out[0] = source[2];
        out[1] = source[1];
        out[2] = source[0];
    }
}

// One top-down row of the picture as red, green, blue: 24-bit rows have their bytes exchanged
// straight from the storage; any other format goes through a one-row 24-bit conversion, so the
// whole picture is never copied.
class PpmRowWriter {
public:
    explicit PpmRowWriter(const kv::Dib& dib)
        : dib_(dib), rgb_(static_cast<size_t>(dib.Width()) * 3) {
        if (dib.BitCount() != 24) scratch_ = std::make_unique<kv::Dib>(kv::DescriptionFor(dib.Width(), -1, 24));
    }

    const std::vector<uint8_t>& Row(int y) {
        const int width = dib_.Width();
        const uint8_t* source = dib_.Row(y);
        if (scratch_) {
            kv::StretchCopy(*scratch_, kv::TRect{0, 0, width, 1}, kv::TRect{0, 0, width, 1}, dib_,
                            kv::TRect{0, y, width, y + 1});
            source = scratch_->Row(0);
        }
        SwapRedBlue(source, rgb_.data(), width);  // stored blue, green, red
        return rgb_;
    }

private:
    const kv::Dib& dib_;
    std::vector<uint8_t> rgb_;
    std::unique_ptr<kv::Dib> scratch_;
};

void WritePpm(const kv::TBitmap& bitmap, const std::string& path) {
    const kv::Dib* dib = bitmap.GetDib();
    const int width = dib ? dib->Width() : 0;
    const int height = dib ? dib->Height() : 0;

    std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!out) throw kv::EFOpenError("Cannot create file " + path);
    std::fprintf(out.get(), "P6 %d %d 255\n", width, height);
    if (dib) {
        PpmRowWriter rows(*dib);
        for (int y = 0; y < height; ++y) {
            const std::vector<uint8_t>& row = rows.Row(y);
            if (std::fwrite(row.data(), 1, row.size(), out.get()) != row.size())
                throw kv::EOSError("Cannot write file " + path);
        }
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
