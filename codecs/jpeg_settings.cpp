#include "codecs/jpeg_settings.h"

namespace kv {

TJPEGSettings& JPEGDefaults() {
    static TJPEGSettings defaults;
    return defaults;
}

void InitJpegDefaults(int displayBitsPerPixel) {
    JPEGDefaults().pixelFormat =
        displayBitsPerPixel <= 8 ? TJPEGPixelFormat::jf8Bit : TJPEGPixelFormat::jf24Bit;
}

}  // namespace kv
