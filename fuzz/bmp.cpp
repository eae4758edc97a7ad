// libFuzzer target for the BMP reader: any bytes must load or raise a failure of the reader's set,
// with no sanitizer finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "codecs/bmp.h"
#include "codecs/bmp_errors.h"
#include "graphics/dib.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"

namespace {

uint32_t Le(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

// Pictures between 256 MiB and the 1 GiB limit are legal but cost a second or more each to clear;
// they are skipped so the fuzzer spends its time on parsing. Larger ones still run: they are
// refused before anything is allocated.
bool TooSlowToFuzz(const uint8_t* data, size_t size) {
    if (size < 34) return false;
    const uint32_t headerSize = Le(data + 14, 4);
    int64_t width, height;
    int bits;
    if (headerSize == 12) {
        width = Le(data + 18, 2);
        height = Le(data + 20, 2);
        bits = static_cast<int>(Le(data + 24, 2));
    } else {
        width = static_cast<int32_t>(Le(data + 18, 4));
        height = static_cast<int32_t>(Le(data + 22, 4));
        bits = static_cast<int>(Le(data + 28, 2));
        if (Le(data + 30, 4) == 1 || Le(data + 30, 4) == 2) bits = 32;  // run-length: expanded to 32 bits
    }
    if (width <= 0 || height == 0 || bits <= 0 || bits > 32) return false;
    const uint64_t bytes = kv::DibImageSize(width, height < 0 ? -height : height, bits);
    return bytes > (uint64_t{256} << 20) && bytes <= kv::kMaxStorageBytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (TooSlowToFuzz(data, size)) return 0;
    kv::TMemoryStream stream(data, size);
    // Failures of the reader's own set are expected; any other escapes and is a finding.
    kv::BmpReaderFailures::Accepts([&] {
        const kv::BmpReadResult result = kv::ReadBmpStream(stream);
        if (result.dib) {
            const kv::Dib& dib = *result.dib;
            // Decode a few pixels so masks and palettes are exercised too.
            volatile uint32_t sink = 0;
            const int w = dib.Width(), h = dib.Height();
            for (int y : {0, h / 2, h - 1})
                for (int x : {0, w / 2, w - 1}) sink = sink + dib.PixelAt(x, y).red;
        }
    });
    return 0;
}
