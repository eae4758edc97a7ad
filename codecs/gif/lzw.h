#pragma once
// The LZW decoder of GIF image data: variable-length codes packed least significant bit first,
// up to 12 bits, a 4096-entry table and a deferred clear. It is lenient the way the reader is:
// a missing clear code is assumed, codes beyond the table repeat the last string, and data that
// end early leave the rest of the frame at its fill value.
//
// A frame is decoded a whole string per code: while the table holds only strings built the
// regular way, every entry's string already stands in the frame's output (the string of the
// code before it plus one byte), so an entry is an offset and a length there and a code is one
// copy. Where damaged data make entries that do not stand in the output (an odd code right
// after a clear, a code beyond the one being defined) the decoder walks the table through the
// output stack, exactly as ReadPixel does, until the next clear.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include "codecs/gif/gif_errors.h"

namespace kv {

class TStream;

// Receives the decoder's warnings ("Premature end of data", "Decoder bit buffer under-run").
using GifWarningSink = std::function<void(const std::string& message)>;

// The shape of the frame being decoded.
struct GifFrameShape {
    int width = 0;
    int height = 0;
    bool interlaced = false;
    uint8_t fill = 0;  // the value of pixels that are never decoded
};

class GifLzwDecoder {
public:
    // ReadPixel results that are not pixels.
    static constexpr int kDataEnded = -1;
    static constexpr int kEndCode = -2;

    GifLzwDecoder(TStream& stream, GifWarningSink warning);

    // Reads the code size byte and the data sub-blocks from the stream into pixels (width x height
    // bytes, row by row from the top, which the caller has filled with the fill value). Interlaced
    // rows are stored in display order. Raises GIFException "Circular decoder table entry".
    void DecodeFrame(uint8_t* pixels, const GifFrameShape& shape);

    // Set up for the given minimum code size (already limited to 8), as after the code size byte.
    void Start(int minCodeSize);
    // The next pixel value, or kDataEnded / kEndCode.
    int ReadPixel();
    // The next code, or -1 when the data ended.
    int NextCode();
    bool EndSeen() const { return endSeen_; }
    int CodeSize() const { return codeSize_; }
    int NextFree() const { return nextFree_; }

private:
    static constexpr int kTableSize = 4096;
    static constexpr int kStackSize = 8192;
    // Two carried bytes, one sub-block, and padding: a code is taken with one 4-byte load.
    static constexpr int kBufferSize = 2 + 255 + 4;

    // An entry's string in the frame's output: output[offset, offset + length).
    struct Run {
        uint32_t offset;
        uint32_t length;
    };

    // Decodes into count bytes of output (stored row order, filled with fill) until they are full
    // or the data or the end code stop it. True when the last string ran past the end: its rest
    // is left, as values on the output stack would be, and nothing more is read.
    bool DecodeRuns(uint8_t* output, size_t count, uint8_t fill);
    int CodeStep();
    // Step 4 of a code step, for any code other than clear and end: pushes the code's string,
    // adds the table entry and pops the first value.
    int StringStep(int code);
    // Carries the last two buffered bytes over and reads the next sub-block behind them; false at
    // the end of the data.
    bool Refill();
    void ResetTable();
    // Completes the last reset for the table walk: entries not written since read as 0.
    void ClearStaleEntries();
    void Push(int value);
    void SkipRemainingData();
    void Warn(const char* message) {
        if (warning_) warning_(message);
    }

    TStream& stream_;
    GifWarningSink warning_;

    int minCodeSize_ = 0;
    int clrCode_ = 0;
    int eoiCode_ = 0;
    int codeSize_ = 0;
    int growAt_ = 0;
    int nextFree_ = 0;
    int firstCode_ = 0;
    int oldCode_ = 0;
    std::vector<int32_t> prefixOf_;
    std::vector<int32_t> suffixOf_;
    std::vector<int32_t> stack_;
    int stackTop_ = 0;
    std::vector<Run> runs_;

    std::array<uint8_t, kBufferSize> buffer_{};
    int curBit_ = 0;
    int lastBit_ = 0;
    int lastByte_ = 2;
    bool firstRequest_ = true;
    bool dataDone_ = false;
    bool endSeen_ = false;
    // The table's root entries are set up for the current code size.
    bool rootsReady_ = false;
    // Entries from the clear code up to here may hold values other than 0.
    int dirtyEnd_ = 0;
    // The last reset has not cleared the entries from nextFree_ to dirtyEnd_ yet.
    bool staleEntries_ = false;
};

// Decodes one frame's image data into a new buffer of width x height bytes filled first with
// shape.fill (an empty buffer when either dimension is 0).
std::vector<uint8_t> DecodeGifFrame(TStream& stream, const GifFrameShape& shape, GifWarningSink warning);

// The display row of each stored row of an interlaced frame of the given height (4 passes:
// from 0 every 8th, from 4 every 8th, from 2 every 4th, from 1 every 2nd).
std::vector<int> InterlacedRowOrder(int height);

}  // namespace kv
