#pragma once
// Small reading helpers shared by the GIF reader and its LZW decoder, over the stream's
// ReadExact/ReadUpTo. All reads are bounded by what the stream really holds; nothing is allocated
// from a size found in the data.
#include <cstdint>

#include "runtime/byte_order.h"
#include "codecs/gif/gif_errors.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"

namespace kv {


// Reads exactly n bytes; fewer raise GIFException "Premature end of data".
inline void ReadExact(TStream& stream, void* buffer, int64_t n) {
    if (n > 0) stream.ReadExact<GIFException>(buffer, n, kGifPrematureEndText);
}
// Reads one byte; false at the end of the data.
inline bool ReadGifByte(TStream& stream, uint8_t& value) { return stream.ReadUpTo(&value, 1) == 1; }
// Moves back over the byte just read (the reader's one-byte look-ahead).
void StepBack(TStream& stream);
// Skips n bytes, or up to the end of the data when fewer are left: skipped bytes are not read,
// and the reads that follow meet the end of the data as usual.
void SkipBytes(TStream& stream, int64_t n);

}  // namespace kv
