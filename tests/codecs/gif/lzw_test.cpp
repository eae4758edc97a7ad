// The GIF LZW decoder: code widths, clear and end codes, the code being defined, damaged data and
// interlaced row order.
#include "codecs/gif/lzw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "runtime/exceptions.h"
#include "runtime/stream.h"
#include "tests/codecs/gif/gif_builder.h"

namespace kv {
namespace {

using test::LzwCodePacker;
using test::SubBlocks;

struct Decoded {
    std::vector<uint8_t> pixels;
    std::vector<std::string> warnings;
    int64_t position = 0;
};

Decoded Decode(const std::vector<uint8_t>& data, GifFrameShape shape) {
    TMemoryStream stream(data);
    Decoded result;
    result.pixels = DecodeGifFrame(stream, shape, [&](const std::string& w) { result.warnings.push_back(w); });
    result.position = stream.Position();
    return result;
}

std::vector<uint8_t> WithCodeSize(int minCodeSize, const std::vector<uint8_t>& blocks) {
    std::vector<uint8_t> data{static_cast<uint8_t>(minCodeSize)};
    data.insert(data.end(), blocks.begin(), blocks.end());
    return data;
}

std::vector<uint8_t> RandomPixels(size_t count, int colours, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> pixels(count);
    // Runs of repeated values so that the table builds long strings, mixed with noise.
    for (size_t i = 0; i < count; ++i)
        pixels[i] = (random() % 4 == 0 || i == 0) ? static_cast<uint8_t>(random() % colours) : pixels[i - 1];
    return pixels;
}

TEST(GifLzwDecoder, RoundTripsEncodedPicturesAtEveryCodeSize) {
    for (int minCodeSize = 2; minCodeSize <= 8; ++minCodeSize) {
        const std::vector<uint8_t> pixels = RandomPixels(160 * 120, 1 << minCodeSize, 7u + minCodeSize);
        for (size_t blockSize : {size_t{255}, size_t{17}, size_t{2}, size_t{1}}) {
            const auto data = WithCodeSize(minCodeSize, SubBlocks(test::LzwEncode(pixels, minCodeSize), blockSize));
            const Decoded decoded = Decode(data, {160, 120, false, 0});
            EXPECT_EQ(decoded.pixels, pixels) << "code size " << minCodeSize << " blocks " << blockSize;
            EXPECT_TRUE(decoded.warnings.empty());
            // Codes spanning several one-byte sub-blocks are put together. The stream stands
            // right after the zero-length terminator.
            EXPECT_EQ(decoded.position, static_cast<int64_t>(data.size()));
        }
    }
}

TEST(GifLzwDecoder, DataWithoutLeadingClearCodeDecodeAsIfItWereThere) {
    LzwCodePacker packer(2);
    for (int code : {1, 2, 3, 0}) packer.Emit(code);
    packer.Emit(packer.EndCode());
    const Decoded decoded = Decode(WithCodeSize(2, SubBlocks(packer.Bytes())), {4, 1, false, 9});
    EXPECT_EQ(decoded.pixels, (std::vector<uint8_t>{1, 2, 3, 0}));
}

TEST(GifLzwDecoder, CodesWidenWithTheTableAndStopAtTwelveBitsUntilAClear) {
    // Literal codes only: every code after the first defines one entry.
    LzwCodePacker packer(8);
    packer.Emit(packer.ClearCode());
    std::vector<uint8_t> expected;
    for (int i = 0; i < 5000; ++i) {
        packer.Emit(i % 256);
        expected.push_back(static_cast<uint8_t>(i % 256));
    }
    packer.Emit(packer.ClearCode());
    for (int i = 0; i < 10; ++i) {
        packer.Emit(7);
        expected.push_back(7);
    }
    packer.Emit(packer.EndCode());
    const auto data = WithCodeSize(8, SubBlocks(packer.Bytes()));

    TMemoryStream stream(data);
    uint8_t codeSizeByte = 0;
    stream.Read(&codeSizeByte, 1);
    GifLzwDecoder decoder(stream, nullptr);
    decoder.Start(codeSizeByte);
    EXPECT_EQ(decoder.CodeSize(), 9);
    std::vector<uint8_t> got;
    bool sawTen = false;
    while (got.size() < expected.size()) {
        const int value = decoder.ReadPixel();
        ASSERT_GE(value, 0) << "at pixel " << got.size();
        got.push_back(static_cast<uint8_t>(value));
        if (decoder.NextFree() == 512) sawTen = decoder.CodeSize() == 10;
        if (got.size() == 4500) {
            // Table full: no entry added, codes stay 12 bits wide.
            EXPECT_EQ(decoder.NextFree(), 4096);
            EXPECT_EQ(decoder.CodeSize(), 12);
        }
    }
    EXPECT_TRUE(sawTen);
    EXPECT_EQ(got, expected);
    // After the second clear the codes are 9 bits wide again.
    EXPECT_EQ(decoder.CodeSize(), 9);
    EXPECT_EQ(decoder.ReadPixel(), GifLzwDecoder::kEndCode);
}

TEST(GifLzwDecoder, CodeBeingDefinedRepeatsThePreviousStringPlusItsFirstByte) {
    LzwCodePacker packer(2);  // clear 4, end 5, first free entry 6
    for (int code : {4, 1, 6, 7}) packer.Emit(code);
    packer.Emit(5);
    const Decoded decoded = Decode(WithCodeSize(2, SubBlocks(packer.Bytes())), {6, 1, false, 0});
    // 1, then entry 6 = "1 1", then entry 7 = "1 1 1"... the image holds 6 pixels.
    EXPECT_EQ(decoded.pixels, (std::vector<uint8_t>{1, 1, 1, 1, 1, 1}));
}

TEST(GifLzwDecoder, ClearCodeForgetsEveryEntryDefinedBeforeIt) {
    LzwCodePacker packer(2);  // clear 4, end 5, first free entry 6
    // Entries 6 = "1 2" and 7 = "2 3" are defined, then cleared. Code 6 right after the clear is
    // taken as a pixel; used again it is the code being defined, whose string now comes from an
    // empty entry (suffix 0), not from the old "1 2".
    for (int code : {4, 1, 2, 3, 4, 6, 6}) packer.Emit(code);
    packer.Emit(5);
    const Decoded decoded = Decode(WithCodeSize(2, SubBlocks(packer.Bytes())), {7, 1, false, 9});
    EXPECT_EQ(decoded.pixels, (std::vector<uint8_t>{1, 2, 3, 6, 0, 0, 6}));
}

TEST(GifLzwDecoder, DamagedDataKeepTheDecodedPixelsAndTheFillValueElsewhere) {
    const std::vector<uint8_t> pixels = RandomPixels(40 * 40, 16, 3);
    const std::vector<uint8_t> codes = test::LzwEncode(pixels, 4);

    {  // Cut in the middle, zero-length terminator present: a correct prefix, then only the fill
       // value (no pixel made up from a code cut in half).
        std::vector<uint8_t> half(codes.begin(), codes.begin() + static_cast<long>(codes.size() / 2));
        const Decoded d = Decode(WithCodeSize(4, SubBlocks(half)), {40, 40, false, 13});
        size_t same = 0;
        while (same < pixels.size() && d.pixels[same] == pixels[same]) ++same;
        EXPECT_GT(same, 100u);
        for (size_t i = same; i < d.pixels.size(); ++i) ASSERT_EQ(d.pixels[i], 13) << i;
        for (const std::string& w : d.warnings) EXPECT_EQ(w, kBitBufferUnderrunText);
    }
    {  // Codes ending exactly with the data: every bit used, the under-run is reported.
        LzwCodePacker packer(3);  // 4-bit codes, two per byte
        for (int code : {8, 1, 2, 3}) packer.Emit(code);
        const Decoded d = Decode(WithCodeSize(3, SubBlocks(packer.Bytes())), {5, 1, false, 7});
        EXPECT_EQ(d.pixels, (std::vector<uint8_t>{1, 2, 3, 7, 7}));
        ASSERT_FALSE(d.warnings.empty());
        EXPECT_EQ(d.warnings.front(), kBitBufferUnderrunText);
    }
    {  // Cut inside a sub-block: the block announces more than the stream holds.
        std::vector<uint8_t> data = WithCodeSize(4, SubBlocks(codes));
        data.resize(100);
        const Decoded d = Decode(data, {40, 40, false, 13});
        EXPECT_TRUE(std::equal(pixels.begin(), pixels.begin() + 50, d.pixels.begin()));
        EXPECT_EQ(d.pixels.back(), 13);
        ASSERT_FALSE(d.warnings.empty());
        EXPECT_EQ(d.warnings.front(), "Premature end of data");
    }
    {  // No code size byte: everything keeps the fill value, silently.
        const Decoded d = Decode({}, {3, 2, false, 5});
        EXPECT_EQ(d.pixels, std::vector<uint8_t>(6, 5));
        EXPECT_TRUE(d.warnings.empty());
    }
    {  // End code before all pixels: the rest keeps the fill value, no message, and the rest of
       // the image data is skipped.
        LzwCodePacker packer(2);
        for (int code : {4, 1, 2, 5, 3, 3}) packer.Emit(code);
        std::vector<uint8_t> data = WithCodeSize(2, SubBlocks(packer.Bytes(), 1));
        data.push_back(0x3B);
        const Decoded d = Decode(data, {2, 2, false, 0});
        EXPECT_EQ(d.pixels, (std::vector<uint8_t>{1, 2, 0, 0}));
        EXPECT_TRUE(d.warnings.empty());
        EXPECT_EQ(d.position, static_cast<int64_t>(data.size()) - 1);
    }
}

TEST(GifLzwDecoder, CodeSizeByteAboveEightIsTakenAsEight) {
    const std::vector<uint8_t> pixels = RandomPixels(300, 256, 11);
    std::vector<uint8_t> data = WithCodeSize(8, SubBlocks(test::LzwEncode(pixels, 8)));
    data[0] = 0x48;
    EXPECT_EQ(Decode(data, {30, 10, false, 0}).pixels, pixels);
}

TEST(GifLzwDecoder, TableEntryThatIsItsOwnPrefixIsRefused) {
    LzwCodePacker packer(2);
    for (int code : {4, 0, 7, 7, 7}) packer.Emit(code);
    const auto data = WithCodeSize(2, SubBlocks(packer.Bytes()));
    try {
        Decode(data, {10, 10, false, 0});
        FAIL() << "decoded";
    } catch (const GIFException& e) {
        EXPECT_EQ(e.Message(), "Circular decoder table entry");
    }
}

TEST(GifLzwDecoder, LongerCyclesCannotOverflowTheOutputStack) {
    // Two entries naming each other: 6 -> 7 -> 6 ... built from codes beyond the table.
    LzwCodePacker packer(2);
    for (int code : {4, 7, 6, 7, 6, 7, 6}) packer.Emit(code);
    const auto data = WithCodeSize(2, SubBlocks(packer.Bytes()));
    EXPECT_THROW(Decode(data, {100, 100, false, 0}), GIFException);
}

TEST(GifLzwDecoder, GarbageNeverReadsOutsideItsBuffers) {
    std::mt19937 random(99);
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> data(1 + random() % 600);
        for (auto& b : data) b = static_cast<uint8_t>(random());
        // Mostly tiny sub-blocks, which make codes run over block ends.
        for (size_t i = 1; i < data.size(); i += 2) data[i] = static_cast<uint8_t>(random() % 3);
        try {
            Decode(data, {50, 50, round % 2 == 0, 0});
        } catch (const GIFException&) {
        }
    }
}

// The frame decoder copies whole strings; ReadPixel walks the table one value at a time. On
// damaged data of every kind they must agree on the pixels, the warnings, where the stream
// stands after the frame and whether the frame fails.
struct Outcome {
    Decoded decoded;
    std::string failure;
};

Outcome DecodeByPixels(const std::vector<uint8_t>& data, const GifFrameShape& shape) {
    TMemoryStream stream(data);
    Outcome out;
    std::vector<uint8_t>& pixels = out.decoded.pixels;
    pixels.assign(static_cast<size_t>(shape.width) * static_cast<size_t>(shape.height), shape.fill);
    GifLzwDecoder decoder(stream, [&](const std::string& w) { out.decoded.warnings.push_back(w); });
    try {
        uint8_t codeSize = 0;
        if (stream.Read(&codeSize, 1) == 1) {
            decoder.Start(std::min<int>(codeSize, 8));
            std::vector<int> rows = InterlacedRowOrder(shape.height);
            if (!shape.interlaced) std::sort(rows.begin(), rows.end());
            bool stopped = false;
            for (size_t r = 0; r < rows.size() && !stopped; ++r)
                for (int x = 0; x < shape.width && !stopped; ++x) {
                    const int value = decoder.ReadPixel();
                    stopped = value < 0;
                    if (!stopped) pixels[static_cast<size_t>(rows[r] * shape.width + x)] = static_cast<uint8_t>(value);
                }
            if (!decoder.EndSeen()) decoder.ReadPixel();
        }
    } catch (const GIFException& e) {
        out.failure = e.Message();
    }
    out.decoded.position = stream.Position();
    return out;
}

TEST(GifLzwDecoder, WholeStringDecodingAgreesWithThePixelByPixelDecoderOnDamagedData) {
    std::mt19937 random(2024);
    for (int round = 0; round < 2000; ++round) {
        const bool big = round % 10 == 0;
        const GifFrameShape shape{1 + static_cast<int>(random() % (big ? 500 : 60)),
                                  1 + static_cast<int>(random() % (big ? 200 : 30)), random() % 3 == 0,
                                  static_cast<uint8_t>(random())};
        const int kind = round % 4;
        std::vector<uint8_t> data;
        if (kind == 0) {  // garbage, often in tiny sub-blocks
            data.resize(1 + random() % 800);
            for (auto& b : data) b = static_cast<uint8_t>(random());
            if (random() % 2)
                for (size_t i = 1; i < data.size(); i += 2) data[i] = static_cast<uint8_t>(random() % 4);
        } else {  // a real encoding of fewer or more pixels than the frame, then flipped bits or cut
            const int minCodeSize = 1 + static_cast<int>(random() % 8);
            const size_t count = static_cast<size_t>(shape.width * shape.height) * (1 + random() % 3) / 2;
            data = WithCodeSize(minCodeSize, SubBlocks(test::LzwEncode(RandomPixels(count, 1 << minCodeSize, round),
                                                                       minCodeSize),
                                                       1 + random() % 255));
            if (random() % 8 == 0) data[0] = static_cast<uint8_t>(random() % 12);
            if (kind == 2)
                for (int i = 0; i < 1 + static_cast<int>(random() % 5); ++i)
                    data[random() % data.size()] ^= static_cast<uint8_t>(1u << (random() % 8));
            if (kind == 3) data.resize(random() % (data.size() + 1));
            data.push_back(0x3B);
        }
        Outcome whole;
        try {
            whole.decoded = Decode(data, shape);
        } catch (const GIFException& e) {
            whole.failure = e.Message();
        }
        const Outcome single = DecodeByPixels(data, shape);
        ASSERT_EQ(whole.failure, single.failure) << "round " << round;
        if (!whole.failure.empty()) continue;
        ASSERT_EQ(whole.decoded.pixels, single.decoded.pixels) << "round " << round;
        ASSERT_EQ(whole.decoded.warnings, single.decoded.warnings) << "round " << round;
        ASSERT_EQ(whole.decoded.position, single.decoded.position) << "round " << round;
    }
}

TEST(GifLzwInterlace, RowsComeInFourPasses) {
    EXPECT_EQ(InterlacedRowOrder(5), (std::vector<int>{0, 4, 2, 1, 3}));
    EXPECT_EQ(InterlacedRowOrder(1), (std::vector<int>{0}));
    EXPECT_EQ(InterlacedRowOrder(3), (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(InterlacedRowOrder(10), (std::vector<int>{0, 8, 4, 2, 6, 1, 3, 5, 7, 9}));
    EXPECT_TRUE(InterlacedRowOrder(0).empty());
}

TEST(GifLzwInterlace, InterlacedFrameIsStoredInDisplayOrder) {
    // Stored rows 10, 11, 12, 13, 14 land on display rows 0, 4, 2, 1, 3.
    const auto data = test::ImageData({10, 11, 12, 13, 14}, 4);
    EXPECT_EQ(Decode(data, {1, 5, true, 0}).pixels, (std::vector<uint8_t>{10, 13, 12, 14, 11}));
    // Cut off after two stored rows: the other rows keep the fill value.
    LzwCodePacker packer(4);
    for (int code : {16, 10, 11}) packer.Emit(code);
    EXPECT_EQ(Decode(WithCodeSize(4, SubBlocks(packer.Bytes())), {1, 5, true, 3}).pixels,
              (std::vector<uint8_t>{10, 3, 3, 3, 11}));
}

TEST(GifLzwDecoder, TransparentFrameWithoutDataIsAllFill) {
    EXPECT_EQ(Decode({}, {4, 4, true, 200}).pixels, std::vector<uint8_t>(16, 200));
    EXPECT_TRUE(Decode({}, {0, 4, false, 200}).pixels.empty());
}

}  // namespace
}  // namespace kv
