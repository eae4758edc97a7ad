#pragma once
// Builders of GIF data for tests and benchmarks: an LZW code packer that follows the decoder's
// code-size growth, a real LZW encoder, sub-block framing and a whole-file writer.
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kv::test {

// Packs codes least significant bit first, widening codes exactly when a GIF decoder does: every
// code after the first one following a clear defines an entry.
class LzwCodePacker {
public:
    explicit LzwCodePacker(int minCodeSize) : minCodeSize_(minCodeSize) { Reset(); }

    int ClearCode() const { return 1 << minCodeSize_; }
    int EndCode() const { return ClearCode() + 1; }
    int CodeSize() const { return codeSize_; }

    void Emit(int code) {
        PutBits(code, codeSize_);
        if (code == ClearCode()) {
            Reset();
            return;
        }
        if (firstAfterClear_) {
            firstAfterClear_ = false;
        } else if (nextFree_ < 4096) {
            ++nextFree_;
            if (nextFree_ >= growAt_ && growAt_ < 4096) {
                growAt_ *= 2;
                ++codeSize_;
            }
        }
    }
    // Writes bits of a given width as they stand (for damaged data).
    void PutBits(int value, int width) {
        for (int i = 0; i < width; ++i) {
            if (bitCount_ % 8 == 0) bytes_.push_back(0);
            if ((value >> i) & 1) bytes_.back() |= static_cast<uint8_t>(1u << (bitCount_ % 8));
            ++bitCount_;
        }
    }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    void Reset() {
        codeSize_ = minCodeSize_ + 1;
        growAt_ = 2 * ClearCode();
        nextFree_ = ClearCode() + 2;
        firstAfterClear_ = true;
    }

    int minCodeSize_;
    int codeSize_ = 0;
    int growAt_ = 0;
    int nextFree_ = 0;
    bool firstAfterClear_ = true;
    std::vector<uint8_t> bytes_;
    int64_t bitCount_ = 0;
};

// Standard LZW compression of colour indices (each below 2^minCodeSize), clear code first, end
// code last, a clear whenever the table is full.
inline std::vector<uint8_t> LzwEncode(const std::vector<uint8_t>& pixels, int minCodeSize) {
    LzwCodePacker packer(minCodeSize);
    const int clear = packer.ClearCode();
    packer.Emit(clear);
    if (pixels.empty()) {
        packer.Emit(packer.EndCode());
        return packer.Bytes();
    }
    std::map<std::pair<int, int>, int> table;
    int next = clear + 2;
    int current = pixels[0];
    for (size_t i = 1; i < pixels.size(); ++i) {
        const int k = pixels[i];
        auto found = table.find({current, k});
        if (found != table.end()) {
            current = found->second;
            continue;
        }
        packer.Emit(current);
        if (next < 4096) {
            table[{current, k}] = next++;
        } else {
            packer.Emit(clear);
            table.clear();
            next = clear + 2;
        }
        current = k;
    }
    packer.Emit(current);
    packer.Emit(packer.EndCode());
    return packer.Bytes();
}

// Data sub-blocks of at most blockSize bytes followed by the zero-length terminator.
inline std::vector<uint8_t> SubBlocks(const std::vector<uint8_t>& data, size_t blockSize = 255,
                                      bool terminate = true) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i < data.size(); i += blockSize) {
        const size_t n = std::min(blockSize, data.size() - i);
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), data.begin() + static_cast<long>(i), data.begin() + static_cast<long>(i + n));
    }
    if (terminate) out.push_back(0);
    return out;
}

// A frame's image data: code size byte and the compressed sub-blocks.
inline std::vector<uint8_t> ImageData(const std::vector<uint8_t>& pixels, int minCodeSize) {
    std::vector<uint8_t> out{static_cast<uint8_t>(minCodeSize)};
    const std::vector<uint8_t> blocks = SubBlocks(LzwEncode(pixels, minCodeSize));
    out.insert(out.end(), blocks.begin(), blocks.end());
    return out;
}

// Writes GIF files piece by piece.
class GifWriter {
public:
    // Header and logical screen; a global table of 2^(sizeCode+1) entries when given (padded with
    // black).
    GifWriter(int width, int height, const std::vector<uint32_t>& globalRgb = {}, uint8_t background = 0,
              const char* signature = "GIF89a") {
        for (int i = 0; i < 6; ++i) bytes_.push_back(static_cast<uint8_t>(signature[i]));
        Put16(width);
        Put16(height);
        uint8_t flags = 0;
        int code = 0;
        if (!globalRgb.empty()) {
            while ((2 << code) < static_cast<int>(globalRgb.size())) ++code;
            flags = static_cast<uint8_t>(0x80 | code);
        }
        bytes_.push_back(flags);
        bytes_.push_back(background);
        bytes_.push_back(0);
        if (!globalRgb.empty()) PutTable(globalRgb, code);
    }

    GifWriter& GraphicControl(uint8_t flags, uint16_t delay, uint8_t transparentIndex) {
        Raw({0x21, 0xF9, 4, flags});
        Put16(delay);
        Raw({transparentIndex, 0});
        return *this;
    }
    GifWriter& Comment(const std::string& text) {
        Raw({0x21, 0xFE});
        const std::vector<uint8_t> blocks = SubBlocks(std::vector<uint8_t>(text.begin(), text.end()));
        Raw(blocks);
        return *this;
    }
    GifWriter& Loop(uint16_t repeatCount) {
        Raw({0x21, 0xFF, 11});
        for (char c : std::string("NETSCAPE2.0")) bytes_.push_back(static_cast<uint8_t>(c));
        Raw({3, 1});
        Put16(repeatCount);
        bytes_.push_back(0);
        return *this;
    }
    // An image descriptor, an optional local table and the compressed pixels.
    GifWriter& Frame(int left, int top, int width, int height, const std::vector<uint8_t>& pixels,
                     int minCodeSize = 8, const std::vector<uint32_t>& localRgb = {}, bool interlaced = false) {
        bytes_.push_back(0x2C);
        Put16(left);
        Put16(top);
        Put16(width);
        Put16(height);
        uint8_t flags = interlaced ? 0x40 : 0;
        int code = 0;
        if (!localRgb.empty()) {
            while ((2 << code) < static_cast<int>(localRgb.size())) ++code;
            flags |= static_cast<uint8_t>(0x80 | code);
        }
        bytes_.push_back(flags);
        if (!localRgb.empty()) PutTable(localRgb, code);
        std::vector<uint8_t> stored = pixels;
        if (interlaced) {
            stored.clear();
            const int passes[4][2] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
            for (const auto& pass : passes)
                for (int row = pass[0]; row < height; row += pass[1])
                    stored.insert(stored.end(), pixels.begin() + row * width, pixels.begin() + (row + 1) * width);
        }
        Raw(ImageData(stored, minCodeSize));
        return *this;
    }
    GifWriter& Trailer() {
        bytes_.push_back(0x3B);
        return *this;
    }
    GifWriter& Raw(const std::vector<uint8_t>& more) {
        bytes_.insert(bytes_.end(), more.begin(), more.end());
        return *this;
    }
    void Put16(int value) {
        bytes_.push_back(static_cast<uint8_t>(value & 0xFF));
        bytes_.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
    }
    std::vector<uint8_t>& Bytes() { return bytes_; }

private:
    void PutTable(const std::vector<uint32_t>& rgb, int code) {
        for (int i = 0; i < (2 << code); ++i) {
            const uint32_t c = i < static_cast<int>(rgb.size()) ? rgb[static_cast<size_t>(i)] : 0;
            bytes_.push_back(static_cast<uint8_t>(c >> 16));
            bytes_.push_back(static_cast<uint8_t>(c >> 8));
            bytes_.push_back(static_cast<uint8_t>(c));
        }
    }

    std::vector<uint8_t> bytes_;
};

}  // namespace kv::test
