#pragma once
// When a piece counts as lying in its home cell.
#include <cstdint>

namespace kv {

// True when the piece's window position (left, top) is at most 4 pixels off, either way, from
// its exact home (kBoardLeft + homeX, kBoardTop + homeY); 5 pixels off is out of place.
bool IsInPlace(std::int32_t left, std::int32_t top, std::int32_t homeX, std::int32_t homeY);

}  // namespace kv
