// Feeds arbitrary bytes to the JPEG picture: the header pass when reading, then the full decode
// into a bitmap. Every failure must be one of the reader's own set.
#include <cstddef>
#include <cstdint>

#include "codecs/jpeg.h"
#include "codecs/jpeg_errors.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"

namespace {

// Big pictures decode correctly but slowly; the fuzzer learns nothing from their size.
constexpr long kMaxFuzzPixels = 1024L * 1024L;

void DecodeWith(const uint8_t* data, size_t size, kv::TJPEGPixelFormat format) {
    kv::TJPEGImage jpeg;
    jpeg.Settings().pixelFormat = format;
    kv::TMemoryStream stream(data, size);
    jpeg.LoadFromStream(stream);
    if (static_cast<long>(jpeg.Width()) * jpeg.Height() > kMaxFuzzPixels) return;
    kv::TBitmap bitmap;
    bitmap.Assign(&jpeg);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Failures of the reader's own set are expected; any other escapes and is a finding.
    kv::JpegReaderFailures::Accepts([&] {
        DecodeWith(data, size, kv::TJPEGPixelFormat::jf24Bit);
        // The odd-sized half of the inputs also runs the colour quantiser.
        if (size % 2 == 1) DecodeWith(data, size, kv::TJPEGPixelFormat::jf8Bit);
    });
    return 0;
}
