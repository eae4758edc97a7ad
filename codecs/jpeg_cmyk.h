#pragma once
// Four-component JPEG files (CMYK, or YCCK which the library turns into CMYK) cannot be stored
// as they come in 24-bit rows; each pixel is converted to blue, green, red here.
#include <cstddef>
#include <cstdint>

namespace kv {

// Converts `width` CMYK pixels (4 bytes each) into blue-green-red triples.
// `inverted`: the file stores its inks inverted (0 = full ink), as files written with an Adobe
// marker do; otherwise 0 means no ink.
void ConvertCmykRowToBgr(const uint8_t* cmyk, uint8_t* bgr, size_t width, bool inverted);

}  // namespace kv
