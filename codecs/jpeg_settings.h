#pragma once
// Decoding and encoding settings of a JPEG picture. Every picture copies the process-wide
// default record when it is created; nothing in the program changes the settings afterwards.
#include <cstdint>

namespace kv {

enum class TJPEGPerformance { jpBestQuality, jpBestSpeed };
enum class TJPEGPixelFormat { jf24Bit, jf8Bit };
// Output scale: full size or 1/2, 1/4, 1/8 (denominator 2^value).
enum class TJPEGScale { jsFullSize = 0, jsHalf = 1, jsQuarter = 2, jsEighth = 3 };

struct TJPEGSettings {
    int compressionQuality = 90;      // only used when compressing
    bool grayscale = false;           // force grayscale output
    TJPEGPerformance performance = TJPEGPerformance::jpBestQuality;
    TJPEGPixelFormat pixelFormat = TJPEGPixelFormat::jf24Bit;
    bool progressiveDisplay = false;
    bool progressiveEncoding = false; // set from the file: more than one scan
    TJPEGScale scale = TJPEGScale::jsFullSize;
    bool smoothing = true;
};

// The process-wide defaults new pictures copy. The colour depth is chosen from the display
// before the format is registered (see InitJpegDefaults).
TJPEGSettings& JPEGDefaults();

// Picks the default colour depth from the display's bits per pixel times planes: 8 bits for
// displays of 8 bits or fewer, else 24.
void InitJpegDefaults(int displayBitsPerPixel);

}  // namespace kv
