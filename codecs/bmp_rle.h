#pragma once
// Expansion of the BMP run-length encodings (8-bit and 4-bit) into display-compatible storage.
#include <array>
#include <cstddef>
#include <cstdint>

#include "graphics/dib.h"

namespace kv {

// Colours for every possible index; indices past the file's colour table are black.
using RleColours = std::array<RgbQuad, 256>;

// Decodes `size` bytes of run-length data into `target`, which must be 32 bits per pixel,
// bottom-up and zero-filled. Follows the published encoding: encoded runs, absolute runs padded
// to 16 bits, end of line, end of bitmap and delta codes. Pixels past the right edge are dropped;
// decoding stops at the end of the data, at end of bitmap or above the top row. Pixels the data
// never reaches keep their zero (black) value.
void ExpandRle8(const uint8_t* data, size_t size, const RleColours& colours, Dib& target);
void ExpandRle4(const uint8_t* data, size_t size, const RleColours& colours, Dib& target);

}  // namespace kv
