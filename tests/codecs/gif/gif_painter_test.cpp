// Playing pictures of several frames: the composed frames of the GIF suite against its
// references, playing once and keeping the last frame, and stopping painters.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "codecs/gif/gif_image.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "runtime/stream.h"
#include "runtime/thread.h"
#include "tests/codecs/gif/gif_builder.h"
#include "tests/codecs/support/png_reader.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using test::GifWriter;

const std::vector<uint32_t> kFourColours = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

// Runs the painters' paints until done() holds or the painter has had ample time.
template <class Done>
void PumpUntil(Done done) {
    for (int i = 0; i < 3000 && !done(); ++i) CheckSynchronize(10);
}

RgbQuad PixelOf(const TBitmap& bitmap, int x, int y) {
    RgbQuad c = bitmap.GetDib()->PixelAt(x, y);
    c.reserved = 0;
    return c;
}

TEST(GifPainter, ComposedFramesOfTheSuiteMatchTheReferences) {
    const fs::path suite = fs::path(KV_CORPUS_DIR) / "gif-suite" / "gifs";
    if (!fs::is_directory(suite)) GTEST_SKIP();
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(suite)) {
        const std::string stem = entry.path().stem().string();
        if (entry.path().extension() != ".gif" || stem.rfind("animated", 0) != 0) continue;
        SCOPED_TRACE(stem);
        TGIFImage gif;
        TFileStream stream(entry.path().string());
        gif.LoadFromStream(stream);
        gif.PlaySpeed = 5000;  // fifty times the normal pace
        const int frames = gif.Images().Count();
        std::map<int, std::unique_ptr<Dib>> shots;
        gif.Hooks.OnAfterPaint = [&](TGIFPainter& painter) {
            const int index = painter.CurrentFrame();
            if (!shots.count(index)) shots[index] = gif.Bitmap()->GetDib()->Clone();
        };
        TBitmap target;
        target.SetSize(gif.Width(), gif.Height());
        target.Canvas().StretchDraw({0, 0, gif.Width(), gif.Height()}, &gif);
        PumpUntil([&] { return static_cast<int>(shots.size()) == frames; });
        gif.StopAll();
        ASSERT_EQ(static_cast<int>(shots.size()), frames);
        for (const auto& [index, shot] : shots) {
            const fs::path reference = suite / "frames" / (stem + "-" + std::to_string(index) + ".png");
            if (!fs::exists(reference)) continue;
            const test::RgbaImage expected = test::ReadPng(reference.string());
            int differing = 0;
            for (int y = 0; y < std::min(expected.height, shot->Height()); ++y)
                for (int x = 0; x < std::min(expected.width, shot->Width()); ++x) {
                    const uint8_t* want = expected.At(x, y);
                    if (want[3] == 0) continue;  // cleared to transparent there; ours shows the page
                    const RgbQuad got = shot->PixelAt(x, y);
                    if (got.red != want[0] || got.green != want[1] || got.blue != want[2]) ++differing;
                }
            EXPECT_EQ(differing, 0) << "frame " << index;
            ++compared;
        }
    }
    EXPECT_GT(compared, 30);
}

std::unique_ptr<TGIFImage> ThreeFrames(bool loop) {
    GifWriter gif(2, 1, kFourColours);
    if (loop) gif.Loop(0);
    for (uint8_t colour : {0, 1, 2}) gif.GraphicControl(0, 1, 0).Frame(0, 0, 2, 1, {colour, colour}, 2);
    gif.Trailer();
    auto image = std::make_unique<TGIFImage>();
    TMemoryStream stream(gif.Bytes());
    image->LoadFromStream(stream);
    image->PlaySpeed = 1000;
    return image;
}

TEST(GifPainter, WithoutLoopExtensionPlaysOnceAndKeepsTheLastFrame) {
    auto gif = ThreeFrames(false);
    TBitmap target;
    target.SetSize(2, 1);
    target.Canvas().StretchDraw({0, 0, 2, 1}, gif.get());
    // The first frame is on the surface when drawing returns.
    EXPECT_EQ(PixelOf(target, 0, 0), (RgbQuad{0, 0, 255, 0}));
    int changes = 0;
    gif->OnChange = [&](TGraphic&) { ++changes; };
    PumpUntil([&] { return gif->PainterCount() == 0; });
    EXPECT_EQ(gif->PainterCount(), 0);
    EXPECT_GE(changes, 2);  // each frame painted is a change of the picture
    ASSERT_NE(gif->Bitmap(), nullptr);
    EXPECT_EQ(PixelOf(*gif->Bitmap(), 1, 0), (RgbQuad{255, 0, 0, 0}));
    // Drawn again, the kept picture shows; no painter starts.
    target.Canvas().StretchDraw({0, 0, 2, 1}, gif.get());
    EXPECT_EQ(PixelOf(target, 0, 0), (RgbQuad{255, 0, 0, 0}));
    EXPECT_EQ(gif->PainterCount(), 0);
}

// Plays the picture once on a yellow surface and returns the picture after each frame.
std::vector<std::pair<RgbQuad, RgbQuad>> PlayOnYellow(GifWriter& gif) {
    TGIFImage image;
    TMemoryStream stream(gif.Trailer().Bytes());
    image.LoadFromStream(stream);
    image.PlaySpeed = 1000;
    std::vector<std::pair<RgbQuad, RgbQuad>> shots;
    image.Hooks.OnAfterPaint = [&](TGIFPainter&) {
        shots.emplace_back(PixelOf(*image.Bitmap(), 0, 0), PixelOf(*image.Bitmap(), 1, 0));
    };
    TBitmap target;
    target.SetSize(2, 1);
    target.Canvas().Brush().SetColor(0x00FFFF);
    target.Canvas().FillRect({0, 0, 2, 1});
    target.Canvas().StretchDraw({0, 0, 2, 1}, &image);
    PumpUntil([&] { return image.PainterCount() == 0; });
    return shots;
}

TEST(GifPainter, DisposalRestoresTheBackgroundOrThePreviousPicture) {
    const RgbQuad yellow{0, 255, 255, 0}, red{0, 0, 255, 0}, green{0, 255, 0, 0}, blue{255, 0, 0, 0};
    {  // Method 2: the frame's area goes back to what lay under the picture.
        GifWriter gif(2, 1, kFourColours);
        gif.GraphicControl(2 << 2, 1, 0).Frame(0, 0, 2, 1, {0, 0}, 2);
        gif.GraphicControl(0, 1, 0).Frame(1, 0, 1, 1, {2}, 2);
        const auto shots = PlayOnYellow(gif);
        ASSERT_EQ(shots.size(), 2u);
        EXPECT_EQ(shots[0], std::make_pair(red, red));
        EXPECT_EQ(shots[1], std::make_pair(yellow, blue));
    }
    {  // Method 3: the next frame is drawn on the picture as it was before.
        GifWriter gif(2, 1, kFourColours);
        gif.GraphicControl(1 << 2, 1, 0).Frame(0, 0, 2, 1, {0, 0}, 2);
        gif.GraphicControl(3 << 2, 1, 0).Frame(0, 0, 1, 1, {1}, 2);
        gif.GraphicControl(0, 1, 0).Frame(1, 0, 1, 1, {2}, 2);
        const auto shots = PlayOnYellow(gif);
        ASSERT_EQ(shots.size(), 3u);
        EXPECT_EQ(shots[1], std::make_pair(green, red));
        EXPECT_EQ(shots[2], std::make_pair(red, blue));
    }
}

TEST(GifPainter, FrameDelaysBecomeWaitsOfTwelveMillisecondsAHundredth) {
    GifWriter gif(1, 1, kFourColours);
    for (uint16_t delay : {0, 1, 2, 3, 10}) gif.GraphicControl(0, delay, 0).Frame(0, 0, 1, 1, {1}, 2);
    gif.Frame(0, 0, 1, 1, {1}, 2).Trailer();
    TGIFImage image;
    TMemoryStream stream(gif.Bytes());
    image.LoadFromStream(stream);
    std::vector<int64_t> waits;
    for (auto& frame : image.Images())
        waits.push_back(PainterWaitMilliseconds(FrameWaitHundredths(*frame), 0, 100));
    EXPECT_EQ(waits, (std::vector<int64_t>{120, 36, 36, 36, 120, 120}));
    // Half the lateness is made up; the speed scales the wait; late / 2 truncates toward zero.
    EXPECT_EQ(PainterWaitMilliseconds(10, 20, 100), 110);
    EXPECT_EQ(PainterWaitMilliseconds(10, -3, 100), 121);
    EXPECT_EQ(PainterWaitMilliseconds(10, 0, 200), 60);
    EXPECT_EQ(PainterWaitMilliseconds(1, 0, 300), 4);
}

TEST(GifPainter, ConversionStartsNoPainter) {
    auto gif = ThreeFrames(true);
    TBitmap bitmap;
    bitmap.Assign(gif.get());
    EXPECT_EQ(gif->PainterCount(), 0);
    EXPECT_EQ(PixelOf(bitmap, 0, 0), (RgbQuad{0, 0, 255, 0}));
}

TEST(GifPainter, EndlessLoopStopsWhenThePictureGoesAway) {
    auto gif = ThreeFrames(true);
    gif->PlaySpeed = 100;
    int loops = 0;
    gif->Hooks.OnLoop = [&](TGIFPainter&) { ++loops; };
    TBitmap target;
    target.SetSize(2, 1);
    target.Canvas().StretchDraw({0, 0, 2, 1}, gif.get());
    EXPECT_EQ(gif->PainterCount(), 1);
    gif->PlaySpeed = 100;
    PumpUntil([&] { return loops >= 1; });
    EXPECT_GE(loops, 1);
    EXPECT_EQ(gif->PainterCount(), 1);  // still playing
    gif.reset();  // stops and waits for the painter
}

TEST(GifPainter, LoadingAnotherPictureStopsThePainter) {
    auto gif = ThreeFrames(true);
    TBitmap target;
    target.SetSize(2, 1);
    target.Canvas().StretchDraw({0, 0, 2, 1}, gif.get());
    ASSERT_EQ(gif->PainterCount(), 1);
    GifWriter still(1, 1, kFourColours);
    TMemoryStream stream(still.Frame(0, 0, 1, 1, {3}, 2).Trailer().Bytes());
    gif->LoadFromStream(stream);
    EXPECT_EQ(gif->PainterCount(), 0);
    EXPECT_EQ(gif->Bitmap(), nullptr);
}

}  // namespace
}  // namespace kv
