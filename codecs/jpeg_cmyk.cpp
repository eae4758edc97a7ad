#include "codecs/jpeg_cmyk.h"

namespace kv {

namespace {

// a * b / 255 rounded to nearest, exact for all byte inputs.
inline uint8_t MulDiv255(unsigned a, unsigned b) {
    unsigned t = a * b + 128;
    return static_cast<uint8_t>((t + (t >> 8)) >> 8);
}

}  // namespace

void ConvertCmykRowToBgr(const uint8_t* cmyk, uint8_t* bgr, size_t width, bool inverted) {
    const unsigned flip = inverted ? 0 : 255;
    for (size_t x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        // With the inks as "amount of light left": channel = (1 - ink) * (1 - black).
        unsigned c = cmyk[0] ^ flip, m = cmyk[1] ^ flip, y = cmyk[2] ^ flip, k = cmyk[3] ^ flip;
        bgr[0] = MulDiv255(y, k);
        bgr[1] = MulDiv255(m, k);
        bgr[2] = MulDiv255(c, k);
    }
}

}  // namespace kv
