#include "codecs/jpeg_source.h"

#include <algorithm>
#include <cstring>

#include <jerror.h>

namespace kv {

namespace {

JpegMemorySource& SourceOf(j_decompress_ptr cinfo) {
    return *reinterpret_cast<JpegMemorySource*>(cinfo->src);
}

extern "C" void InitSource(j_decompress_ptr cinfo) {
    SourceOf(cinfo).startOfFile = true;
}

extern "C" boolean FillInputBuffer(j_decompress_ptr cinfo) {
    JpegMemorySource& source = SourceOf(cinfo);
    size_t count = std::min(kJpegSourceBufferSize, source.size - source.position);
    if (count == 0) {
        if (source.startOfFile) ERREXIT(cinfo, JERR_INPUT_EMPTY);
        WARNMS(cinfo, JWRN_JPEG_EOF);
        source.buffer[0] = 0xFF;
        source.buffer[1] = JPEG_EOI;
        count = 2;
    } else {
        std::memcpy(source.buffer, source.data + source.position, count);
        source.position += count;
    }
    source.pub.next_input_byte = source.buffer;
    source.pub.bytes_in_buffer = count;
    source.startOfFile = false;
    return TRUE;
}

extern "C" void SkipInputData(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    jpeg_source_mgr& pub = SourceOf(cinfo).pub;
    auto remaining = static_cast<unsigned long>(count);
    while (remaining > pub.bytes_in_buffer) {
        remaining -= pub.bytes_in_buffer;
        // Never suspends: at the end it supplies the two bytes of an end marker.
        FillInputBuffer(cinfo);
    }
    pub.next_input_byte += remaining;
    pub.bytes_in_buffer -= remaining;
}

extern "C" void TermSource(j_decompress_ptr) {}

}  // namespace

void InstallJpegMemorySource(j_decompress_ptr cinfo, JpegMemorySource& source, const uint8_t* data,
                             size_t size) {
    source.data = data;
    source.size = data == nullptr ? 0 : size;
    source.position = 0;
    source.startOfFile = true;
    source.pub.init_source = InitSource;
    source.pub.fill_input_buffer = FillInputBuffer;
    source.pub.skip_input_data = SkipInputData;
    source.pub.resync_to_restart = jpeg_resync_to_restart;
    source.pub.term_source = TermSource;
    source.pub.next_input_byte = nullptr;
    source.pub.bytes_in_buffer = 0;
    cinfo->src = &source.pub;
}

void CutJpegSourceHere(j_decompress_ptr cinfo) {
    JpegMemorySource& source = SourceOf(cinfo);
    source.position = source.size;
    source.pub.bytes_in_buffer = 0;
}

}  // namespace kv
