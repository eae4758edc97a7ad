#pragma once
// The library reads compressed bytes held in memory through this source. Like a stream-backed
// source it refills a 4096-byte buffer from the current position. When the data runs out after
// at least one byte, it issues the library's premature-end warning (ignored) and supplies an
// end-of-image marker, so a truncated file decodes to its end with the library filling the rest.
// An input that yields no byte at all stops the library with its empty-input error.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

namespace kv {

inline constexpr size_t kJpegSourceBufferSize = 4096;

struct JpegMemorySource {
    jpeg_source_mgr pub{};    // must stay first: the library only sees this part
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t position = 0;      // next byte of data to copy into the buffer
    bool startOfFile = true;  // no byte delivered yet
    JOCTET buffer[kJpegSourceBufferSize];
};

// Points the decompressor at `data` (which must outlive the decompressor) from its first byte.
void InstallJpegMemorySource(j_decompress_ptr cinfo, JpegMemorySource& source, const uint8_t* data,
                             size_t size);

// Treats the data as ending here: what the library holds of the buffer is dropped, and its next
// refill finds no byte, so decoding ends as for a file cut off at this point.
void CutJpegSourceHere(j_decompress_ptr cinfo);

}  // namespace kv
