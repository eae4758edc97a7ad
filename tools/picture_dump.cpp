// picture-dump INPUT OUTPUT.ppm
//
// Loads INPUT through a picture holder (the format registry chooses the class by extension, as
// the preview does), converts the picture to a bitmap (as the game's load button does) and writes
// the bitmap as a binary PPM (P6), top row first, palette expanded. An empty bitmap gives
// "P6 0 0 255". On failure prints "EClassName: message" to standard error and exits with 1.
#include <tmmintrin.h>

#include <algorithm>
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

// Top-down rows of the picture as red, green, blue: 24-bit rows have their bytes exchanged
// straight from the storage and palette rows (1, 4 or 8 bits) are looked up in the palette (a
// full palette has an entry for every index); any other format goes through a one-row
// 24-bit conversion, so the whole picture is never copied.
class PpmRowWriter {
public:
    explicit PpmRowWriter(const kv::Dib& dib) : dib_(dib) {
        if (dib.BitCount() <= 8 && dib.Palette().size() == size_t{1} << dib.BitCount()) {
            for (const kv::RgbQuad& q : dib.Palette()) colours_.push_back({q.red, q.green, q.blue});
        } else if (dib.BitCount() != 24) {
            scratch_ = std::make_unique<kv::Dib>(kv::DescriptionFor(dib.Width(), -1, 24));
        }
    }

    // Writes row y, width * 3 bytes, at `out`.
    void Row(int y, uint8_t* out) {
        const int width = dib_.Width();
        const uint8_t* source = dib_.Row(y);
        if (!colours_.empty()) return LookUp(source, out, width);
        if (scratch_) {
            kv::StretchCopy(*scratch_, kv::TRect{0, 0, width, 1}, kv::TRect{0, 0, width, 1}, dib_,
                            kv::TRect{0, y, width, y + 1});
            source = scratch_->Row(0);
        }
        SwapRedBlue(source, out, width);  // stored blue, green, red
    }

private:
    struct Rgb {
        uint8_t red, green, blue;
    };

    // Indices are packed from the high bits of each byte, leftmost pixel first.
    void LookUp(const uint8_t* source, uint8_t* out, int width) const {
        const int bits = dib_.BitCount();
        const unsigned mask = (1u << bits) - 1;
        for (int x = 0; x < width; ++x, out += 3) {
            const size_t bit = static_cast<size_t>(x) * static_cast<size_t>(bits);
            const unsigned index = bits == 8 ? source[x] : (source[bit / 8] >> (8 - bits - bit % 8)) & mask;
            const Rgb& c = colours_[index];
            out[0] = c.red;
            out[1] = c.green;
            out[2] = c.blue;
        }
    }

    const kv::Dib& dib_;
    std::vector<Rgb> colours_;
    std::unique_ptr<kv::Dib> scratch_;
};

// Rows go out in runs of about 1 MB, so a large picture costs tens of writes, not thousands.
constexpr size_t kChunkBytes = size_t{1} << 20;

void WritePpm(const kv::TBitmap& bitmap, const std::string& path) {
    const kv::Dib* dib = bitmap.GetDib();
    const int width = dib ? dib->Width() : 0;
    const int height = dib ? dib->Height() : 0;

    std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!out) throw kv::EFOpenError("Cannot create file " + path);
    std::fprintf(out.get(), "P6 %d %d 255\n", width, height);
    if (dib) {
        PpmRowWriter rows(*dib);
        const size_t rowBytes = static_cast<size_t>(width) * 3;
        const int rowsPerChunk = static_cast<int>(std::max<size_t>(1, kChunkBytes / rowBytes));
        std::vector<uint8_t> chunk(rowBytes * static_cast<size_t>(std::min(rowsPerChunk, height)));
        for (int y = 0; y < height; y += rowsPerChunk) {
            const int count = std::min(rowsPerChunk, height - y);
            for (int i = 0; i < count; ++i) rows.Row(y + i, chunk.data() + rowBytes * static_cast<size_t>(i));
            const size_t bytes = rowBytes * static_cast<size_t>(count);
            if (std::fwrite(chunk.data(), 1, bytes, out.get()) != bytes) throw kv::EOSError("Cannot write file " + path);
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
