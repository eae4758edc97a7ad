// Feeds arbitrary bytes to the GIF picture: reading, copying, conversion to a bitmap, rendering every frame
// and drawing its frames through their masks. Every failure must be one of the reader's own set.
#include <cstddef>
#include <cstdint>

#include "codecs/gif/gif_errors.h"
#include "codecs/gif/gif_image.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"

namespace {

// Big pictures decode correctly but slowly; the fuzzer learns nothing from their size. The work
// per input is bounded like the JPEG target's: the frames' pixels together (decoded while
// reading) and the logical screen (every conversion and draw renders at its size).
constexpr uint64_t kMaxFuzzFramePixels = 256 * 1024;
constexpr uint64_t kMaxFuzzScreenPixels = 64 * 1024;

void Exercise(const uint8_t* data, size_t size) {
    kv::TGIFImage gif;
    gif.PixelStorageLimit = kMaxFuzzFramePixels;
    kv::TMemoryStream stream(data, size);
    gif.LoadFromStream(stream);
    if (static_cast<uint64_t>(gif.Width()) * gif.Height() > kMaxFuzzScreenPixels) return;
    kv::TBitmap bitmap;
    bitmap.Assign(&gif);
    // A copy holds the same model and converts alike.
    kv::TGIFImage copy;
    copy.Assign(&gif);
    kv::TBitmap copied;
    copied.Assign(&copy);
    for (auto& frame : gif.Images()) {
        if (frame->Empty()) continue;
        frame->Bitmap();
        frame->Mask();
    }
    // Every frame drawn still, through its mask (playing would only add waiting).
    gif.PaintFlags &= static_cast<uint16_t>(~(1u << static_cast<int>(kv::TGIFPaintFlag::PlayFrames)));
    kv::TBitmap target;
    target.SetSize(37, 23);
    for (int i = 0; i < gif.Images().Count() && i < 8; ++i) {
        gif.ActiveFrame = i;
        target.Canvas().StretchDraw({-5, 3, 40, 30}, &gif);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Failures of the reader's own set are expected; any other escapes and is a finding.
    kv::GifReaderFailures::Accepts([&] { Exercise(data, size); });
    return 0;
}
