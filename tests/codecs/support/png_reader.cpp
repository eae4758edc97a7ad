#include "png_reader.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace kv::test {
namespace {

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error("png: " + what); }

class BitReader {
public:
    BitReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    int Bits(int count) {
        uint32_t value = bitBuffer_;
        while (bitCount_ < count) {
            if (pos_ >= size_) Fail("inflate ran out of data");
            value |= uint32_t{data_[pos_++]} << bitCount_;
            bitCount_ += 8;
        }
        bitBuffer_ = value >> count;
        bitCount_ -= count;
        return static_cast<int>(value & ((1u << count) - 1));
    }
    void AlignToByte() { bitBuffer_ = 0; bitCount_ = 0; }
    uint8_t Byte() {
        if (pos_ >= size_) Fail("inflate ran out of data");
        return data_[pos_++];
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    uint32_t bitBuffer_ = 0;
    int bitCount_ = 0;
};

// Canonical Huffman code in the compact counts/symbols form.
struct Huffman {
    std::array<uint16_t, 16> counts{};
    std::array<uint16_t, 320> symbols{};
    void Build(const uint8_t* lengths, int n) {
        counts.fill(0);
        for (int i = 0; i < n; ++i) ++counts[lengths[i]];
        counts[0] = 0;
        std::array<uint16_t, 16> offsets{};
        for (int len = 1; len < 15; ++len) offsets[len + 1] = offsets[len] + counts[len];
        for (int i = 0; i < n; ++i)
            if (lengths[i] != 0) symbols[offsets[lengths[i]]++] = static_cast<uint16_t>(i);
    }
    int Decode(BitReader& in) const {
        int code = 0, first = 0, index = 0;
        for (int len = 1; len < 16; ++len) {
            code |= in.Bits(1);
            const int count = counts[len];
            if (code - count < first) return symbols[index + (code - first)];
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        Fail("bad huffman code");
    }
};

constexpr uint16_t kLengthBase[] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31,
                                    35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistBase[] = {1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129,
                                  193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistExtra[] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void InflateBlock(BitReader& in, std::vector<uint8_t>& out, const Huffman& lit, const Huffman& dist) {
    for (;;) {
        int symbol = lit.Decode(in);
        if (symbol < 256) {
            out.push_back(static_cast<uint8_t>(symbol));
        } else if (symbol == 256) {
            return;
        } else {
            symbol -= 257;
            if (symbol >= 29) Fail("bad length symbol");
            const size_t length = kLengthBase[symbol] + in.Bits(kLengthExtra[symbol]);
            const int d = dist.Decode(in);
            if (d >= 30) Fail("bad distance symbol");
            const size_t distance = kDistBase[d] + in.Bits(kDistExtra[d]);
            if (distance > out.size()) Fail("distance too far back");
            const size_t from = out.size() - distance;
            for (size_t i = 0; i < length; ++i) out.push_back(out[from + i]);
        }
    }
}

}  // namespace

std::vector<uint8_t> Inflate(const uint8_t* data, size_t size) {
    BitReader in(data, size);
    std::vector<uint8_t> out;
    int last = 0;
    while (!last) {
        last = in.Bits(1);
        const int type = in.Bits(2);
        if (type == 0) {
            in.AlignToByte();
            const uint16_t len = in.Byte() | (in.Byte() << 8);
            in.Byte();
            in.Byte();  // one's complement of len
            for (uint16_t i = 0; i < len; ++i) out.push_back(in.Byte());
        } else if (type == 1) {
            static const auto fixed = [] {
                std::array<uint8_t, 288> l{};
                for (int i = 0; i < 144; ++i) l[i] = 8;
                for (int i = 144; i < 256; ++i) l[i] = 9;
                for (int i = 256; i < 280; ++i) l[i] = 7;
                for (int i = 280; i < 288; ++i) l[i] = 8;
                std::array<uint8_t, 30> d{};
                d.fill(5);
                std::pair<Huffman, Huffman> codes;
                codes.first.Build(l.data(), 288);
                codes.second.Build(d.data(), 30);
                return codes;
            }();
            InflateBlock(in, out, fixed.first, fixed.second);
        } else if (type == 2) {
            const int nlen = in.Bits(5) + 257, ndist = in.Bits(5) + 1, ncode = in.Bits(4) + 4;
            static constexpr uint8_t kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
            uint8_t lengths[320] = {};
            for (int i = 0; i < ncode; ++i) lengths[kOrder[i]] = static_cast<uint8_t>(in.Bits(3));
            Huffman lencode;
            lencode.Build(lengths, 19);
            int index = 0;
            while (index < nlen + ndist) {
                int symbol = lencode.Decode(in);
                if (symbol < 16) {
                    lengths[index++] = static_cast<uint8_t>(symbol);
                    continue;
                }
                uint8_t value = 0;
                int repeat = 0;
                if (symbol == 16) {
                    if (index == 0) Fail("repeat with no previous length");
                    value = lengths[index - 1];
                    repeat = 3 + in.Bits(2);
                } else if (symbol == 17) {
                    repeat = 3 + in.Bits(3);
                } else {
                    repeat = 11 + in.Bits(7);
                }
                if (index + repeat > nlen + ndist) Fail("too many lengths");
                while (repeat--) lengths[index++] = value;
            }
            Huffman lit, dist;
            lit.Build(lengths, nlen);
            dist.Build(lengths + nlen, ndist);
            InflateBlock(in, out, lit, dist);
        } else {
            Fail("bad block type");
        }
    }
    return out;
}

RgbaImage ReadPng(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) Fail("cannot open " + path);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (bytes.size() < 8 || std::memcmp(bytes.data(), kSignature, 8) != 0) Fail("not a PNG: " + path);

    auto be32 = [&](size_t at) {
        return (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) | (uint32_t{bytes[at + 2]} << 8) |
               bytes[at + 3];
    };
    RgbaImage image;
    int bitDepth = 0, colourType = 0;
    std::vector<uint8_t> palette, paletteAlpha, idat;
    std::array<uint8_t, 3> transparentKey{};
    bool hasKey = false;
    for (size_t at = 8; at + 12 <= bytes.size();) {
        const uint32_t length = be32(at);
        const std::string type(bytes.begin() + at + 4, bytes.begin() + at + 8);
        const size_t body = at + 8;
        if (body + length > bytes.size()) Fail("truncated chunk");
        if (type == "IHDR") {
            image.width = static_cast<int>(be32(body));
            image.height = static_cast<int>(be32(body + 4));
            bitDepth = bytes[body + 8];
            colourType = bytes[body + 9];
            if (bytes[body + 12] != 0) Fail("interlaced PNGs are not supported");
        } else if (type == "PLTE") {
            palette.assign(bytes.begin() + body, bytes.begin() + body + length);
        } else if (type == "tRNS" && colourType == 3) {
            paletteAlpha.assign(bytes.begin() + body, bytes.begin() + body + length);
        } else if (type == "tRNS" && colourType == 2 && length == 6) {
            transparentKey = {bytes[body + 1], bytes[body + 3], bytes[body + 5]};  // low bytes of 16-bit samples
            hasKey = bitDepth == 8;
        } else if (type == "IDAT") {
            idat.insert(idat.end(), bytes.begin() + body, bytes.begin() + body + length);
        } else if (type == "IEND") {
            break;
        }
        at = body + length + 4;
    }
    if (idat.size() < 6) Fail("no image data");
    const std::vector<uint8_t> raw = Inflate(idat.data() + 2, idat.size() - 2);  // skip the zlib header

    int channels = 0;
    switch (colourType) {
        case 0: channels = 1; break;
        case 2: channels = 3; break;
        case 3: channels = 1; break;
        case 4: channels = 2; break;
        case 6: channels = 4; break;
        default: Fail("bad colour type");
    }
    const size_t bitsPerPixel = static_cast<size_t>(channels) * bitDepth;
    const size_t rowBytes = (bitsPerPixel * image.width + 7) / 8;
    const size_t filterStep = std::max<size_t>(1, bitsPerPixel / 8);
    if (raw.size() < (rowBytes + 1) * image.height) Fail("short image data");

    std::vector<uint8_t> previous(rowBytes, 0), row(rowBytes);
    image.rgba.resize(static_cast<size_t>(image.width) * image.height * 4);
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* line = raw.data() + y * (rowBytes + 1);
        const uint8_t filter = line[0];
        for (size_t i = 0; i < rowBytes; ++i) {
            const int a = i >= filterStep ? row[i - filterStep] : 0;
            const int b = previous[i];
            const int c = i >= filterStep ? previous[i - filterStep] : 0;
            int predictor = 0;
            switch (filter) {
                case 0: predictor = 0; break;
                case 1: predictor = a; break;
                case 2: predictor = b; break;
                case 3: predictor = (a + b) / 2; break;
                case 4: {
                    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
                    predictor = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
                    break;
                }
                default: Fail("bad filter");
            }
            row[i] = static_cast<uint8_t>(line[1 + i] + predictor);
        }
        // Sample k of this row, scaled to 8 bits.
        auto sample = [&](size_t k) -> int {
            if (bitDepth == 16) return row[k * 2];
            if (bitDepth == 8) return row[k];
            const size_t bit = k * bitDepth;
            const int v = (row[bit / 8] >> (8 - bitDepth - bit % 8)) & ((1 << bitDepth) - 1);
            return colourType == 3 ? v : v * 255 / ((1 << bitDepth) - 1);
        };
        for (int x = 0; x < image.width; ++x) {
            uint8_t* out = image.rgba.data() + (static_cast<size_t>(y) * image.width + x) * 4;
            const size_t k = static_cast<size_t>(x) * channels;
            switch (colourType) {
                case 0: out[0] = out[1] = out[2] = static_cast<uint8_t>(sample(k)); out[3] = 255; break;
                case 4: out[0] = out[1] = out[2] = static_cast<uint8_t>(sample(k)); out[3] = static_cast<uint8_t>(sample(k + 1)); break;
                case 2:
                case 6:
                    for (int ch = 0; ch < 3; ++ch) out[ch] = static_cast<uint8_t>(sample(k + ch));
                    out[3] = colourType == 6 ? static_cast<uint8_t>(sample(k + 3)) : 255;
                    if (hasKey && std::equal(out, out + 3, transparentKey.begin())) out[3] = 0;
                    break;
                case 3: {
                    const size_t index = static_cast<size_t>(sample(k)) * 3;
                    if (index + 3 > palette.size()) Fail("palette index out of range");
                    out[0] = palette[index];
                    out[1] = palette[index + 1];
                    out[2] = palette[index + 2];
                    out[3] = index / 3 < paletteAlpha.size() ? paletteAlpha[index / 3] : 255;
                    break;
                }
            }
        }
        previous = row;
    }
    return image;
}

}  // namespace kv::test
