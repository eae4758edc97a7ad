#pragma once
// Builders of memory and time bombs: small files declaring huge pictures, huge counts of frames
// or scans, or huge chains of blocks. Each returns the file's bytes.
#include <cstdint>
#include <string>
#include <vector>

namespace kv::test::bombs {

class Bytes {
public:
    Bytes& U8(uint32_t v) {
        data.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    Bytes& Le16(uint32_t v) { return U8(v & 0xFF).U8(v >> 8); }
    Bytes& Le32(uint32_t v) { return Le16(v & 0xFFFF).Le16(v >> 16); }
    Bytes& Be16(uint32_t v) { return U8(v >> 8).U8(v & 0xFF); }
    Bytes& Raw(std::initializer_list<uint8_t> more) {
        data.insert(data.end(), more);
        return *this;
    }
    Bytes& Text(const std::string& text) {
        for (char c : text) U8(static_cast<uint8_t>(c));
        return *this;
    }
    std::vector<uint8_t> data;
};

// --- GIF ---------------------------------------------------------------------------------------

// Header, a logical screen of width x height and a two-entry global table.
inline Bytes GifHeader(uint32_t width, uint32_t height) {
    Bytes b;
    b.Text("GIF89a").Le16(width).Le16(height).U8(0x80).U8(0).U8(0);
    b.Raw({0, 0, 0, 255, 255, 255});
    return b;
}

// An image descriptor of width x height at (0, 0) whose data is one clear and one end code.
inline void GifTinyFrame(Bytes& b, uint32_t width, uint32_t height) {
    b.U8(0x2C).Le16(0).Le16(0).Le16(width).Le16(height).U8(0);
    b.Raw({2, 1, 0x2C, 0});  // code size 2; codes clear (4) and end (5) in 3 bits each
}

// A 65535 x 65535 logical screen holding one 1 x 1 frame.
inline std::vector<uint8_t> GifHugeScreen() {
    Bytes b = GifHeader(65535, 65535);
    GifTinyFrame(b, 1, 1);
    b.U8(0x3B);
    return b.data;
}

// `frames` frames, each declaring 65535 x 65535 with no pixel data to speak of.
inline std::vector<uint8_t> GifHugeFrames(int frames) {
    Bytes b = GifHeader(16, 16);
    for (int i = 0; i < frames; ++i) GifTinyFrame(b, 65535, 65535);
    b.U8(0x3B);
    return b.data;
}

// A 1 x 1 picture preceded by one comment of `bytes` bytes in 255-byte sub-blocks.
inline std::vector<uint8_t> GifCommentChain(size_t bytes) {
    Bytes b = GifHeader(1, 1);
    b.Raw({0x21, 0xFE});
    b.data.reserve(bytes + bytes / 255 + 64);
    for (size_t done = 0; done < bytes; done += 255) {
        b.U8(255);
        b.data.insert(b.data.end(), 255, 'x');
    }
    b.U8(0);
    GifTinyFrame(b, 1, 1);
    b.U8(0x3B);
    return b.data;
}

// --- BMP ---------------------------------------------------------------------------------------

// File header and 40-byte information header; an 8-bit file gets a two-entry colour table.
inline Bytes BmpHeaders(int32_t width, int32_t height, uint16_t bitCount, uint32_t compression) {
    const uint32_t table = bitCount == 8 ? 2 : 0;
    Bytes b;
    b.Text("BM").Le32(0).Le32(0).Le32(14 + 40 + table * 4);
    b.Le32(40).Le32(static_cast<uint32_t>(width)).Le32(static_cast<uint32_t>(height)).Le16(1).Le16(bitCount);
    b.Le32(compression).Le32(0).Le32(0).Le32(0).Le32(table).Le32(0);
    if (table != 0) b.Raw({0, 0, 0, 0, 255, 255, 255, 0});
    return b;
}

// A 1-pixel-wide 24-bit file declaring `height` rows (2^31 - 1, or 2^31 as the raw field) and
// holding one.
inline std::vector<uint8_t> BmpHugeRowCount(uint32_t height) {
    Bytes b = BmpHeaders(1, static_cast<int32_t>(height), 24, 0);
    b.Raw({1, 2, 3, 0});
    return b.data;
}

// An RLE8 file of width x height whose data is one run and the end-of-bitmap code.
inline std::vector<uint8_t> BmpRle8(int32_t width, int32_t height) {
    Bytes b = BmpHeaders(width, height, 8, 1);
    b.Raw({10, 1, 0, 1});
    return b.data;
}

// --- JPEG --------------------------------------------------------------------------------------

inline void JpegTables(Bytes& b) {
    b.Raw({0xFF, 0xDB}).Be16(67).U8(0);  // quantisation table 0, all ones
    for (int i = 0; i < 64; ++i) b.U8(1);
    // Huffman tables 0: DC with the one symbol 0, AC with the one symbol 0 (end of block).
    b.Raw({0xFF, 0xC4}).Be16(2 + 17 + 1).U8(0x00).U8(1);
    for (int i = 1; i < 16; ++i) b.U8(0);
    b.U8(0);
    b.Raw({0xFF, 0xC4}).Be16(2 + 17 + 1).U8(0x10).U8(1);
    for (int i = 1; i < 16; ++i) b.U8(0);
    b.U8(0);
}

// Frame header (0xC0 baseline, 0xC2 progressive) of one greyscale component.
inline void JpegFrame(Bytes& b, uint8_t marker, uint32_t width, uint32_t height) {
    b.Raw({0xFF, marker}).Be16(11).U8(8).Be16(height).Be16(width).U8(1).Raw({1, 0x11, 0});
}

// A scan of the one component over coefficients ss..se, with no entropy-coded data.
inline void JpegEmptyScan(Bytes& b, uint8_t ss, uint8_t se) {
    b.Raw({0xFF, 0xDA}).Be16(8).U8(1).Raw({1, 0x00, ss, se, 0});
}

// A baseline greyscale file declaring width x height whose coded data ends after a few bytes.
inline std::vector<uint8_t> JpegGiantGrey(uint32_t width, uint32_t height) {
    Bytes b;
    b.Raw({0xFF, 0xD8});
    JpegTables(b);
    JpegFrame(b, 0xC0, width, height);
    JpegEmptyScan(b, 0, 63);
    for (int i = 0; i < 16; ++i) b.U8(0);  // 64 blocks of DC 0 and end of block
    return b.data;
}

// A progressive greyscale file of width x height made of `scans` empty DC scans.
inline std::vector<uint8_t> JpegManyScans(uint32_t width, uint32_t height, int scans) {
    Bytes b;
    b.Raw({0xFF, 0xD8});
    JpegTables(b);
    JpegFrame(b, 0xC2, width, height);
    for (int i = 0; i < scans; ++i) JpegEmptyScan(b, 0, 0);
    b.Raw({0xFF, 0xD9});
    return b.data;
}

}  // namespace kv::test::bombs
