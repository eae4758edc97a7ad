#include "codecs/gif/lzw.h"

#include <algorithm>

#include "codecs/gif/gif_io.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"

namespace kv {

namespace {

struct InterlacePass {
    int first;
    int step;
};
constexpr InterlacePass kPasses[] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};

}  // namespace

std::vector<int> InterlacedRowOrder(int height) {
    std::vector<int> rows;
    rows.reserve(static_cast<size_t>(std::max(height, 0)));
    for (const InterlacePass& pass : kPasses)
        for (int row = pass.first; row < height; row += pass.step) rows.push_back(row);
    return rows;
}

GifLzwDecoder::GifLzwDecoder(TStream& stream, GifWarningSink warning)
    : stream_(stream),
      warning_(std::move(warning)),
      prefixOf_(kTableSize),
      suffixOf_(kTableSize),
      stack_(kStackSize) {}

void GifLzwDecoder::Start(int minCodeSize) {
    minCodeSize_ = std::clamp(minCodeSize, 0, 8);
    clrCode_ = 1 << minCodeSize_;
    eoiCode_ = clrCode_ + 1;
    codeSize_ = minCodeSize_ + 1;
    growAt_ = 2 * clrCode_;
    nextFree_ = clrCode_ + 2;
    firstCode_ = 0;
    oldCode_ = 0;
    stackTop_ = 0;
    buffer_.fill(0);
    curBit_ = 0;
    lastBit_ = 0;
    lastByte_ = 2;
    firstRequest_ = true;
    dataDone_ = false;
    endSeen_ = false;
    rootsReady_ = false;
}

void GifLzwDecoder::DecodeFrame(uint8_t* pixels, const GifFrameShape& shape) {
    uint8_t codeSize = 0;
    if (!ReadGifByte(stream_, codeSize)) return;  // no data at all: the fill value stays
    Start(std::min<int>(codeSize, 8));
    const size_t width = static_cast<size_t>(std::max(shape.width, 0));
    const int height = std::max(shape.height, 0);
    if (width > 0 && height > 0) {
        if (!shape.interlaced) {
            const size_t count = width * static_cast<size_t>(height);
            for (size_t i = 0; i < count; ++i) {
                const int value = ReadPixel();
                if (value < 0) break;
                pixels[i] = static_cast<uint8_t>(value);
            }
        } else {
            bool stopped = false;
            for (const InterlacePass& pass : kPasses) {
                for (int row = pass.first; row < height && !stopped; row += pass.step) {
                    uint8_t* line = pixels + static_cast<size_t>(row) * width;
                    for (size_t x = 0; x < width; ++x) {
                        const int value = ReadPixel();
                        if (value < 0) {
                            stopped = true;
                            break;
                        }
                        line[x] = static_cast<uint8_t>(value);
                    }
                }
                if (stopped) break;
            }
        }
    }
    // In well-formed data this meets the end code, which skips the rest of the image data.
    if (!endSeen_) ReadPixel();
}

int GifLzwDecoder::ReadPixel() {
    if (stackTop_ > 0) return stack_[--stackTop_];
    return CodeStep();
}

bool GifLzwDecoder::Refill() {
    buffer_[0] = buffer_[lastByte_ - 2];
    buffer_[1] = buffer_[lastByte_ - 1];
    uint8_t size = 0;
    if (!ReadGifByte(stream_, size)) return false;
    int count = size;
    if (count == 0) {
        dataDone_ = true;
    } else {
        const int64_t left = stream_.Remaining();
        if (count > left) {
            Warn(kGifPrematureEndText);
            count = static_cast<int>(left);
        }
        ReadExact(stream_, buffer_.data() + 2, count);
    }
    lastByte_ = 2 + count;
    curBit_ = curBit_ - lastBit_ + 16;
    lastBit_ = 8 * lastByte_;
    return true;
}

int GifLzwDecoder::NextCode() {
    if (firstRequest_) {
        firstRequest_ = false;
        return clrCode_;
    }
    if (curBit_ + codeSize_ >= lastBit_) {
        if (dataDone_) {
            if (curBit_ >= lastBit_) Warn(kBitBufferUnderrunText);
            return -1;
        }
        if (!Refill()) return -1;
        // A code may span more than one tiny sub-block; one cut off by the end of the data is
        // not a code (its missing bits would be stale buffer bytes).
        while (curBit_ + codeSize_ > lastBit_) {
            if (dataDone_ || !Refill()) return -1;
        }
    }
    // At most three bytes hold the code, all valid: curBit_ + codeSize_ <= lastBit_ here.
    const int firstByte = curBit_ / 8;
    const int lastCodeByte = (curBit_ + codeSize_) / 8;
    uint32_t bits = 0;
    for (int i = lastCodeByte; i >= firstByte; --i) bits = (bits << 8) | buffer_[static_cast<size_t>(i)];
    const int code = static_cast<int>((bits >> (curBit_ % 8)) & ((1u << codeSize_) - 1));
    curBit_ += codeSize_;
    return code;
}

void GifLzwDecoder::ResetTable() {
    // Entries below the clear code never change after they are set up. Above it only the
    // entries written since the last reset can differ from 0, so only those are cleared: data
    // made of clear codes must not cost a whole table per code.
    if (!rootsReady_) {
        for (int c = 0; c < clrCode_; ++c) {
            prefixOf_[c] = 0;
            suffixOf_[c] = c;
        }
        rootsReady_ = true;
        dirtyEnd_ = kTableSize;  // the first reset after Start clears the whole table
    }
    if (dirtyEnd_ > clrCode_) {
        std::fill(prefixOf_.begin() + clrCode_, prefixOf_.begin() + dirtyEnd_, 0);
        std::fill(suffixOf_.begin() + clrCode_, suffixOf_.begin() + dirtyEnd_, 0);
    }
    dirtyEnd_ = clrCode_;
    codeSize_ = minCodeSize_ + 1;
    growAt_ = 2 * clrCode_;
    nextFree_ = clrCode_ + 2;
    stackTop_ = 0;
}

void GifLzwDecoder::Push(int value) {
    // Only a cycle in the table can make a string longer than the stack.
    if (stackTop_ >= kStackSize) throw GIFException(kCircularTableEntryText);
    stack_[stackTop_++] = value;
}

void GifLzwDecoder::SkipRemainingData() {
    uint8_t size = 0;
    uint8_t scratch[255];
    while (ReadGifByte(stream_, size) && size != 0) {
        if (stream_.Read(scratch, size) != size) break;
    }
}

int GifLzwDecoder::CodeStep() {
    int code = NextCode();
    if (code < 0) return code;
    if (code == clrCode_) {
        ResetTable();
        do {
            code = NextCode();
        } while (code == clrCode_);
        firstCode_ = code;
        oldCode_ = code;
        return code;  // taken as a pixel unchecked (a negative value ends the frame)
    }
    if (code == eoiCode_) {
        endSeen_ = true;
        if (!dataDone_) SkipRemainingData();
        return kEndCode;
    }
    const int incoming = code;
    if (code >= nextFree_) {
        if (oldCode_ < 0) return kDataEnded;  // no string decoded yet to repeat
        Push(firstCode_);
        code = oldCode_;
    }
    while (code >= clrCode_) {
        Push(suffixOf_[code]);
        if (prefixOf_[code] == code) throw GIFException(kCircularTableEntryText);
        code = prefixOf_[code];
    }
    firstCode_ = suffixOf_[code];
    Push(firstCode_);
    if (nextFree_ < kTableSize) {
        prefixOf_[nextFree_] = oldCode_;
        suffixOf_[nextFree_] = firstCode_;
        ++nextFree_;
        dirtyEnd_ = std::max(dirtyEnd_, nextFree_);
        if (nextFree_ >= growAt_ && growAt_ < kTableSize) {
            growAt_ *= 2;
            ++codeSize_;
        }
    }
    oldCode_ = incoming;
    return stack_[--stackTop_];
}

std::vector<uint8_t> DecodeGifFrame(TStream& stream, const GifFrameShape& shape, GifWarningSink warning) {
    std::vector<uint8_t> pixels;
    if (shape.width > 0 && shape.height > 0)
        pixels.assign(static_cast<size_t>(shape.width) * static_cast<size_t>(shape.height), shape.fill);
    GifLzwDecoder decoder(stream, std::move(warning));
    decoder.DecodeFrame(pixels.data(), shape);
    return pixels;
}

}  // namespace kv
