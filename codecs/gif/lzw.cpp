#include "codecs/gif/lzw.h"

#include <algorithm>
#include <cstring>

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

// Copies count bytes in 16-byte pieces: up to 15 bytes beyond count are written (garbage the
// strings that follow overwrite) and read, which the caller keeps inside the output. The source
// string ends before the target starts, but a piece's slack can reach into the target, so each
// piece is a move (one 16-byte load, then the store).
inline void CopyPieces(uint8_t* to, const uint8_t* from, size_t count) {
    for (size_t i = 0; i < count; i += 16) std::memmove(to + i, from + i, 16);
}
constexpr size_t kPieceSlack = 16;

// Moves the rows of a frame decoded in stored order to their display rows, in place: stored row
// s belongs on display row order[s].
void StoredRowsToDisplayRows(uint8_t* pixels, size_t width, int height) {
    const std::vector<int> order = InterlacedRowOrder(height);
    std::vector<uint8_t> carried(width);
    std::vector<bool> placed(static_cast<size_t>(height), false);
    for (int start = 0; start < height; ++start) {
        if (placed[static_cast<size_t>(start)]) continue;
        // Follow the cycle: the carried row goes to its display row, whose stored row is carried on.
        std::memcpy(carried.data(), pixels + static_cast<size_t>(start) * width, width);
        int row = start;
        do {
            const int target = order[static_cast<size_t>(row)];
            std::swap_ranges(carried.begin(), carried.end(), pixels + static_cast<size_t>(target) * width);
            placed[static_cast<size_t>(target)] = true;
            row = target;
        } while (row != start);
    }
}

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
      stack_(kStackSize),
      runs_(kTableSize) {}

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
    staleEntries_ = false;
}

void GifLzwDecoder::DecodeFrame(uint8_t* pixels, const GifFrameShape& shape) {
    uint8_t codeSize = 0;
    if (!ReadGifByte(stream_, codeSize)) return;  // no data at all: the fill value stays
    Start(std::min<int>(codeSize, 8));
    const size_t width = static_cast<size_t>(std::max(shape.width, 0));
    const int height = std::max(shape.height, 0);
    bool leftOver = false;
    if (width > 0 && height > 0) {
        // Interlaced rows are decoded in stored order and moved to their display rows after.
        leftOver = DecodeRuns(pixels, width * static_cast<size_t>(height), shape.fill);
        if (shape.interlaced) StoredRowsToDisplayRows(pixels, width, height);
    }
    // One more pixel: with values left over it is one of them; otherwise in well-formed data
    // it meets the end code, which skips the rest of the image data.
    if (!leftOver && !endSeen_) ReadPixel();
}

bool GifLzwDecoder::DecodeRuns(uint8_t* const output, const size_t count, const uint8_t fill) {
    // The hot state lives in locals (stores to the output may alias any member) and goes back
    // to the members around every call that uses them.
    int curBit = 0, lastBit = 0, codeSize = 0, nextFree = 0, growAt = 0, oldCode = 0, firstCode = 0;
    const auto load = [&] {
        curBit = curBit_, lastBit = lastBit_, codeSize = codeSize_, nextFree = nextFree_, growAt = growAt_;
        oldCode = oldCode_, firstCode = firstCode_;
    };
    const auto store = [&] {
        curBit_ = curBit, lastBit_ = lastBit, codeSize_ = codeSize, nextFree_ = nextFree, growAt_ = growAt;
        oldCode_ = oldCode, firstCode_ = firstCode;
        dirtyEnd_ = std::max(dirtyEnd_, nextFree);
    };
    const uint8_t* const bits = buffer_.data();
    const auto next = [&]() -> int {
        if (curBit + codeSize < lastBit) {  // all its bits are buffered
            const uint32_t word = GetLe32(bits + (curBit >> 3));
            const int code = static_cast<int>((word >> (curBit & 7)) & ((1u << codeSize) - 1));
            curBit += codeSize;
            return code;
        }
        store();
        const int code = NextCode();
        load();
        return code;
    };

    int32_t* const prefixOf = prefixOf_.data();
    int32_t* const suffixOf = suffixOf_.data();
    Run* const runs = runs_.data();
    const int clrCode = clrCode_;
    // The previous string: where it starts in the output, and its length.
    size_t previousAt = 0;
    uint32_t previousLength = 0;
    // Every entry since the last clear has its string in the output.
    bool regular = false;
    size_t at = 0;  // below count at the top of the loop
    bool leftOver = false;

    load();
    int code = next();
    for (;;) {
        if (code < 0) break;  // the data ended
        if (code == clrCode) {
            store();
            ResetTable();
            load();
            do {
                code = next();
            } while (code == clrCode);
            firstCode = oldCode = code;
            if (code < 0) break;
            // Taken as a pixel unchecked; only a root leaves the table regular.
            regular = code < clrCode;
            output[at] = static_cast<uint8_t>(code);
            previousAt = at;
            previousLength = 1;
            if (++at == count) break;
            code = next();
            continue;
        }
        if (code == eoiCode_) {
            endSeen_ = true;
            if (!dataDone_) SkipRemainingData();
            break;
        }
        if (!regular) {
            store();
            const int value = StringStep(code);
            load();
            if (value < 0) break;
            output[at++] = static_cast<uint8_t>(value);
            while (stackTop_ > 0 && at < count) output[at++] = static_cast<uint8_t>(stack_[--stackTop_]);
            if (at == count) {
                leftOver = stackTop_ > 0;
                break;
            }
            code = next();
            continue;
        }

        const size_t room = count - at;
        uint8_t* const to = output + at;
        uint32_t length;
        uint8_t first;
        if (code < clrCode) {
            length = 1;
            first = static_cast<uint8_t>(code);
            *to = first;
        } else if (code < nextFree) {
            const Run run = runs[code];
            const uint8_t* const from = output + run.offset;  // ends before `to`
            length = run.length;
            first = *from;
            if (length + kPieceSlack <= room) {
                CopyPieces(to, from, length);
            } else {
                std::memmove(to, from, std::min<size_t>(length, room));
            }
        } else {
            // The code being defined: the previous string and its own first byte. A code beyond
            // it reads the same, but later entries then name codes not yet defined.
            if (code > nextFree) regular = false;
            const uint8_t* const from = output + previousAt;  // ends at `to`
            length = previousLength + 1;
            first = *from;
            if (length + kPieceSlack <= room) {
                CopyPieces(to, from, previousLength);
                to[previousLength] = first;
            } else {
                const size_t n = std::min<size_t>(length, room);
                std::memmove(to, from, std::min<size_t>(previousLength, n));
                if (n == length) to[previousLength] = first;
            }
        }
        if (nextFree < kTableSize) {
            prefixOf[nextFree] = oldCode;
            suffixOf[nextFree] = first;
            runs[nextFree] = Run{static_cast<uint32_t>(previousAt), previousLength + 1};
            ++nextFree;
            if (nextFree >= growAt && growAt < kTableSize) {
                growAt *= 2;
                ++codeSize;
            }
        }
        firstCode = first;
        oldCode = code;
        previousAt = at;
        previousLength = length;
        if (length >= room) {
            leftOver = length > room;
            at = count;
            break;
        }
        at += length;
        code = next();
    }
    store();
    // Whole-piece copies may have written past the last string; what was never decoded keeps
    // the fill value.
    std::fill(output + at, output + std::min(count, at + kPieceSlack), fill);
    return leftOver;
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
        const int64_t got = stream_.ReadUpTo(buffer_.data() + 2, count);
        if (got < count) {  // the block announces more than the data hold: decode what is there
            Warn(kGifPrematureEndText);
            count = static_cast<int>(got);
        }
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
    const uint32_t bits = GetLe32(buffer_.data() + curBit_ / 8);
    const int code = static_cast<int>((bits >> (curBit_ % 8)) & ((1u << codeSize_) - 1));
    curBit_ += codeSize_;
    return code;
}

void GifLzwDecoder::ResetTable() {
    // Entries below the clear code never change after they are set up. Above it a reset makes
    // every entry 0, but only the table walk reads entries that this generation has not written
    // (whole-string decoding never does), so the clearing waits for the walk; and only entries
    // written since the last clearing can differ from 0: data made of clear codes must not cost
    // a whole table per code.
    if (!rootsReady_) {
        for (int c = 0; c < clrCode_; ++c) {
            prefixOf_[c] = 0;
            suffixOf_[c] = c;
        }
        rootsReady_ = true;
        dirtyEnd_ = kTableSize;  // the first reset after Start clears the whole table
    }
    staleEntries_ = true;
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
        if (stream_.ReadUpTo(scratch, size) != size) break;
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
    return StringStep(code);
}

void GifLzwDecoder::ClearStaleEntries() {
    // Entries below nextFree_ were written since the reset; the others must read as 0.
    if (dirtyEnd_ > nextFree_) {
        std::fill(prefixOf_.begin() + nextFree_, prefixOf_.begin() + dirtyEnd_, 0);
        std::fill(suffixOf_.begin() + nextFree_, suffixOf_.begin() + dirtyEnd_, 0);
    }
    dirtyEnd_ = nextFree_;
    staleEntries_ = false;
}

int GifLzwDecoder::StringStep(int code) {
    if (staleEntries_) ClearStaleEntries();
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
