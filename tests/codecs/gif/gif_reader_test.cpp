// Reading GIF data into the model: signature leniency, block structure, extensions, the logical
// screen, and which damage is a warning and which an error.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codecs/gif/gif_app_extensions.h"
#include "codecs/gif/gif_image.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"
#include "tests/codecs/gif/gif_builder.h"

namespace kv {
namespace {

using test::GifWriter;

const std::vector<uint32_t> kFourColours = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

struct Loaded {
    std::unique_ptr<TGIFImage> image = std::make_unique<TGIFImage>();
    std::vector<std::string> warnings;
};

Loaded Load(const std::vector<uint8_t>& bytes) {
    Loaded loaded;
    loaded.image->WarningHandler = [&warnings = loaded.warnings](TGIFImage&, int severity, const std::string& m) {
        EXPECT_EQ(severity, 1);
        warnings.push_back(m);
    };
    TMemoryStream stream(bytes);
    loaded.image->LoadFromStream(stream);
    return loaded;
}

std::string LoadError(const std::vector<uint8_t>& bytes) {
    try {
        Load(bytes);
    } catch (const GIFException& e) {
        return e.Message();
    }
    return "(loaded)";
}

GifWriter TwoByTwo(const char* signature = "GIF89a") {
    GifWriter gif(2, 2, kFourColours, 0, signature);
    gif.Frame(0, 0, 2, 2, {0, 1, 2, 3}, 2);
    return gif;
}

TEST(GifReader, ReadsHeaderFramesAndPixels) {
    GifWriter gif(2, 2, kFourColours, 3);
    gif.Frame(0, 0, 2, 2, {0, 1, 2, 3}, 2).Trailer();
    Loaded l = Load(gif.Bytes());
    EXPECT_TRUE(l.warnings.empty());
    TGIFImage& image = *l.image;
    EXPECT_EQ(image.Width(), 2);
    EXPECT_EQ(image.Height(), 2);
    EXPECT_EQ(image.Header().BackgroundIndex(), 3);
    EXPECT_EQ(image.Header().GlobalColorMap().Count(), 4);
    EXPECT_EQ(image.Header().GlobalColorMap().Entry(1), (TGIFColor{0, 0xFF, 0}));
    ASSERT_EQ(image.Images().Count(), 1);
    EXPECT_EQ(image.Images()[0].Pixels(), (std::vector<uint8_t>{0, 1, 2, 3}));
    EXPECT_EQ(image.Images()[0].Separator(), 0x2C);
    EXPECT_FALSE(image.Empty());
}

TEST(GifReader, SignatureIsLenient) {
    // Lower case and an unknown version load like the usual form.
    EXPECT_EQ(Load(TwoByTwo("gif89a").Trailer().Bytes()).image->Images().Count(), 1);
    EXPECT_EQ(Load(TwoByTwo("GIFxyz").Trailer().Bytes()).image->Images().Count(), 1);
    // Four bytes of something else in front are passed over; five are not.
    std::vector<uint8_t> bytes = TwoByTwo().Trailer().Bytes();
    bytes.insert(bytes.begin(), {'a', 'b', 'c', 'd'});
    EXPECT_EQ(Load(bytes).image->Images().Count(), 1);
    bytes.insert(bytes.begin(), 'e');
    EXPECT_EQ(LoadError(bytes), "Invalid GIF signature");
}

TEST(GifReader, TrailerDamageIsAWarningAndKeepsTheFrames) {
    {  // No trailer at all: silent.
        Loaded l = Load(TwoByTwo().Bytes());
        EXPECT_EQ(l.image->Images().Count(), 1);
        EXPECT_TRUE(l.warnings.empty());
    }
    {
        Loaded l = Load(TwoByTwo().Raw({0x99}).Bytes());
        EXPECT_EQ(l.image->Images().Count(), 1);
        EXPECT_EQ(l.warnings, (std::vector<std::string>{"Unknown GIF block type", "Invalid Image trailer"}));
    }
    {  // Zero bytes between blocks are skipped.
        Loaded l = Load(TwoByTwo().Raw({0, 0, 0}).Frame(0, 0, 1, 1, {3}, 2).Trailer().Bytes());
        EXPECT_EQ(l.image->Images().Count(), 2);
        EXPECT_TRUE(l.warnings.empty());
    }
}

TEST(GifReader, ExtensionsBelongToTheFollowingFrame) {
    GifWriter gif(4, 4, kFourColours);
    gif.Loop(3).GraphicControl(0x09, 7, 2).Comment("hello\0world").Frame(0, 0, 2, 2, {0, 1, 1, 0}, 2);
    gif.Comment("tail").Trailer();
    Loaded l = Load(gif.Bytes());
    TGIFImageList& frames = l.image->Images();
    // The comment behind the last image makes one more frame, without pixels.
    ASSERT_EQ(frames.Count(), 2);
    TGIFSubImage& first = frames[0];
    ASSERT_EQ(first.ExtensionBlocks().Count(), 3);
    auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(&first.ExtensionBlocks()[0]);
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(loop->RepeatCount, 3);
    ASSERT_NE(first.GraphicControl(), nullptr);
    EXPECT_EQ(first.GraphicControl(), &first.ExtensionBlocks()[1]);
    EXPECT_EQ(first.GraphicControl()->FrameDelay, 7);
    EXPECT_EQ(first.GraphicControl()->Disposal(), TGIFDisposal::RestoreBackground);
    EXPECT_TRUE(first.HasTransparency());
    EXPECT_EQ(first.TransparentIndex(), 2);
    auto* comment = dynamic_cast<TGIFCommentExtension*>(&first.ExtensionBlocks()[2]);
    ASSERT_NE(comment, nullptr);
    EXPECT_EQ(comment->Lines, std::vector<std::string>{"hello"});  // cut at the first zero byte
    EXPECT_TRUE(frames[1].Empty());
    EXPECT_EQ(frames[1].ExtensionBlocks().Count(), 1);
    EXPECT_TRUE(frames[1].Pixels().empty());
}

TEST(GifReader, ApplicationExtensionsByIdentifierAndBlockSize) {
    auto withApp = [](std::vector<uint8_t> block) {
        GifWriter gif(1, 1, kFourColours);
        block.insert(block.begin(), {0x21, 0xFF});
        gif.Raw(block).Frame(0, 0, 1, 1, {1}, 2).Trailer();
        return gif.Bytes();
    };
    const std::vector<uint8_t> anim = {'A', 'N', 'I', 'M', 'E', 'X', 'T', 'S', '1', '.', '0'};
    std::vector<uint8_t> block{11};
    block.insert(block.end(), anim.begin(), anim.end());
    {  // The second looping identifier, with a buffer hint and no repeat count.
        std::vector<uint8_t> b = block;
        b.insert(b.end(), {5, 2, 0x10, 0x20, 0, 0, 0});
        Loaded l = Load(withApp(b));
        auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(&l.image->Images()[0].ExtensionBlocks()[0]);
        ASSERT_NE(loop, nullptr);
        EXPECT_EQ(loop->RepeatCount, 0);
        EXPECT_EQ(loop->BufferHint, 0x2010u);
    }
    {  // A loop sub-block too short for its repeat count.
        std::vector<uint8_t> b = block;
        b.insert(b.end(), {2, 1, 0, 0});
        EXPECT_EQ(LoadError(withApp(b)), "Invalid GIF data");
    }
    {  // Identifiers are compared exactly: lower case is another application, kept raw.
        std::vector<uint8_t> b = block;
        b[1] = 'a';
        b.insert(b.end(), {2, 7, 8, 1, 9, 0});
        Loaded l = Load(withApp(b));
        auto* raw = dynamic_cast<TGIFUnknownAppExtension*>(&l.image->Images()[0].ExtensionBlocks()[0]);
        ASSERT_NE(raw, nullptr);
        ASSERT_EQ(raw->RawBlocks.size(), 2u);
        EXPECT_EQ(raw->RawBlocks[1].Data, std::vector<uint8_t>{9});
    }
    {  // Block size 12: 11 identifier bytes, one skipped; an unknown application.
        std::vector<uint8_t> b{12};
        b.insert(b.end(), anim.begin(), anim.end());
        b.insert(b.end(), {'!', 0});
        Loaded l = Load(withApp(b));
        EXPECT_NE(dynamic_cast<TGIFUnknownAppExtension*>(&l.image->Images()[0].ExtensionBlocks()[0]), nullptr);
    }
    EXPECT_EQ(LoadError(withApp({9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0})), "Unsupported Application Extension block size");
    // Block size 10 with too few bytes behind it.
    GifWriter cut(1, 1, kFourColours);
    cut.Raw({0x21, 0xFF, 10, 'A', 'B'});
    EXPECT_EQ(LoadError(cut.Bytes()), "Unknown extension type");
    {  // Bytes to be skipped that the data no longer hold end the data like any other read.
        GifWriter gif(1, 1, kFourColours);
        gif.Frame(0, 0, 1, 1, {1}, 2).Raw({0x21, 0xFF}).Raw(block).Raw({9, 1, 4, 0, 7});
        Loaded l = Load(gif.Bytes());
        ASSERT_EQ(l.image->Images().Count(), 2);
        auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(&l.image->Images()[1].ExtensionBlocks()[0]);
        ASSERT_NE(loop, nullptr);
        EXPECT_EQ(loop->RepeatCount, 4);
        EXPECT_TRUE(l.warnings.empty());
        std::vector<uint8_t> longBlock{20};
        longBlock.insert(longBlock.end(), anim.begin(), anim.end());
        GifWriter cutShort(1, 1, kFourColours);
        cutShort.Frame(0, 0, 1, 1, {1}, 2).Raw({0x21, 0xFF}).Raw(longBlock).Raw({1, 2});
        EXPECT_EQ(Load(cutShort.Bytes()).image->Images().Count(), 2);
    }
}

TEST(GifReader, UnknownExtensionLabelIsAnError) {
    GifWriter gif(1, 1, kFourColours);
    gif.Raw({0x21, 0xFA, 0}).Frame(0, 0, 1, 1, {1}, 2).Trailer();
    EXPECT_EQ(LoadError(gif.Bytes()), "Unknown extension type");
}

TEST(GifReader, LogicalScreenGrowsToHoldEveryFrame) {
    GifWriter gif(100, 100, kFourColours);
    gif.Frame(95, 95, 10, 10, std::vector<uint8_t>(100, 1), 2).Trailer();
    Loaded l = Load(gif.Bytes());
    EXPECT_EQ(l.image->Width(), 105);
    EXPECT_EQ(l.image->Height(), 105);
    // Beyond 16 bits the screen stops at 65535 instead of wrapping round.
    GifWriter far(10, 10, kFourColours);
    far.Frame(65530, 0, 10, 1, std::vector<uint8_t>(10, 1), 2).Trailer();
    EXPECT_EQ(Load(far.Bytes()).image->Width(), 65535);
}

TEST(GifReader, FrameOfZeroWidthTakesTheDeclaredScreenSize) {
    GifWriter gif(3, 2, kFourColours);
    gif.Frame(0, 0, 0, 5, {1, 2, 3, 1, 2, 3}, 2).Trailer();
    Loaded l = Load(gif.Bytes());
    EXPECT_EQ(l.warnings, std::vector<std::string>{"Image exceeds Logical Screen size"});
    const TGIFSubImage& frame = l.image->Images()[0];
    EXPECT_EQ(frame.Width(), 3);
    EXPECT_EQ(frame.Height(), 2);
    EXPECT_EQ(frame.Pixels(), (std::vector<uint8_t>{1, 2, 3, 1, 2, 3}));
}

TEST(GifReader, GraphicControlCutOffByTheEndLoadsWithAWarning) {
    GifWriter gif = TwoByTwo();
    gif.Raw({0x21, 0xF9, 4, 1});
    Loaded l = Load(gif.Bytes());
    EXPECT_EQ(l.image->Images().Count(), 2);
    EXPECT_EQ(l.warnings, std::vector<std::string>{"Premature end of data"});
    EXPECT_TRUE(l.image->Images()[1].HasTransparency());
}

TEST(GifReader, InvalidIntroducerEndsTheExtensionsAndTheBytesThereAreTheDescriptor) {
    GifWriter gif(2, 1, kFourColours);
    gif.GraphicControl(0, 0, 0);
    // A descriptor whose separator byte is damaged.
    gif.Frame(0, 0, 2, 1, {3, 2}, 2).Trailer();
    std::vector<uint8_t>& bytes = gif.Bytes();
    const size_t separator = 13 + 12 + 8;
    ASSERT_EQ(bytes[separator], 0x2C);
    bytes[separator] = 0x77;
    Loaded l = Load(bytes);
    EXPECT_EQ(l.warnings, std::vector<std::string>{"Invalid extension introducer"});
    ASSERT_EQ(l.image->Images().Count(), 1);
    EXPECT_EQ(l.image->Images()[0].Separator(), 0x77);
    EXPECT_EQ(l.image->Images()[0].Pixels(), (std::vector<uint8_t>{3, 2}));
}

TEST(GifReader, ShortFixedPartsAreErrorsAndTheStreamGoesBack) {
    const std::vector<uint8_t> whole = TwoByTwo().Trailer().Bytes();
    // Cut inside the screen descriptor, the global table and the image descriptor.
    for (size_t cut : {size_t{9}, size_t{20}, size_t{30}}) {
        std::vector<uint8_t> bytes(whole.begin(), whole.begin() + static_cast<long>(cut));
        bytes.insert(bytes.begin(), 0);  // the load starts at position 1
        TMemoryStream stream(bytes);
        stream.SetPosition(1);
        TGIFImage image;
        try {
            image.LoadFromStream(stream);
            ADD_FAILURE() << "loaded at cut " << cut;
        } catch (const GIFException& e) {
            EXPECT_EQ(e.Message(), "Premature end of data") << cut;
        }
        EXPECT_EQ(stream.Position(), 1) << cut;
    }
}

TEST(GifReader, TransparentFrameCutShortShowsTheTransparentIndex) {
    GifWriter gif(4, 1, kFourColours);
    gif.GraphicControl(0x01, 0, 3);
    std::vector<uint8_t> bytes = gif.Frame(0, 0, 4, 1, {0, 1, 2, 1}, 2).Bytes();
    bytes.resize(bytes.size() - 3);  // the image data lose their end
    Loaded l = Load(bytes);
    const std::vector<uint8_t>& pixels = l.image->Images()[0].Pixels();
    ASSERT_EQ(pixels.size(), 4u);
    EXPECT_EQ(pixels.back(), 3);
}

TEST(GifReader, ColourLookupOutsideTheTableWarnsAndTakesEntryZero) {
    Loaded l = Load(TwoByTwo().Trailer().Bytes());
    const TGIFGlobalColorMap& map = l.image->Header().GlobalColorMap();
    EXPECT_EQ(map.Color(9), (TGIFColor{0xFF, 0, 0}));
    EXPECT_EQ(l.warnings, std::vector<std::string>{"Invalid color index"});
    const TGIFLocalColorMap& empty = l.image->Images()[0].ColorMap();
    try {
        empty.Color(0);
        FAIL();
    } catch (const GIFException& e) {
        EXPECT_EQ(e.Message(), "Color table is empty");
    }
}

TEST(GifReader, FramesBeyondTheStorageLimitAreRefused) {
    // 65535 x 20000 bytes of indices: refused before anything is allocated.
    GifWriter gif(1, 1, kFourColours);
    gif.Frame(0, 0, 65535, 20000, {}, 2);
    try {
        Load(gif.Bytes());
        FAIL();
    } catch (const EOutOfResources& e) {
        EXPECT_EQ(e.Message(), "Out of system resources");
    }
    // Frames count together: a small one fits after a large one only within the limit.
    TGIFImage image;
    image.ClaimPixelStorage(kMaxStorageBytes - 10);
    EXPECT_NO_THROW(image.ClaimPixelStorage(10));
    EXPECT_THROW(image.ClaimPixelStorage(1), EOutOfResources);
    image.Clear();
    EXPECT_NO_THROW(image.ClaimPixelStorage(kMaxStorageBytes));

    // Every frame and extension counts too: four bytes (a comment and a 0x00) make a frame.
    GifWriter comments(1, 1, kFourColours);
    for (int i = 0; i < 200; ++i) comments.Raw({0x21, 0xFE, 0x00, 0x00});
    comments.Trailer();
    TGIFImage small;
    small.PixelStorageLimit = 100 * sizeof(TGIFSubImage);
    TMemoryStream stream(comments.Bytes());
    EXPECT_THROW(small.LoadFromStream(stream), EOutOfResources);
    small.PixelStorageLimit = kMaxStorageBytes;
    stream.SetPosition(0);
    small.LoadFromStream(stream);
    EXPECT_EQ(small.Images().Count(), 200);
}

TEST(GifReader, ReportsProgressWhileLoading) {
    TGIFImage image;
    std::vector<std::pair<TProgressStage, int>> seen;
    image.OnProgress = [&](TGraphic&, TProgressStage stage, uint8_t percent, bool, const TRect&,
                           const std::string& message) {
        EXPECT_EQ(message, "Loading...");
        seen.emplace_back(stage, percent);
    };
    TMemoryStream stream(TwoByTwo().Trailer().Bytes());
    image.LoadFromStream(stream);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], std::make_pair(TProgressStage::psStarting, 0));
    EXPECT_EQ(seen[1].first, TProgressStage::psRunning);
    EXPECT_EQ(seen[2], std::make_pair(TProgressStage::psEnding, 100));

    std::vector<std::string> rendering;
    image.OnProgress = [&](TGraphic&, TProgressStage, uint8_t percent, bool, const TRect&, const std::string& m) {
        rendering.push_back(m + std::to_string(percent));
    };
    image.Images()[0].Bitmap();
    EXPECT_EQ(rendering, (std::vector<std::string>{"Rendering...0", "Rendering...100"}));
}

}  // namespace
}  // namespace kv
