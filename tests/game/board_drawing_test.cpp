// The board outside play: the placeholder, the load with its grid, the redraw for a new N, the
// decoders chosen by extension, and what a failing load leaves behind.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "codecs/file_formats.h"
#include "codecs/standard_formats.h"
#include "runtime/exceptions.h"
#include "tests/game/board_fixture.h"

namespace kv::test {
namespace {

constexpr RgbQuad kWhite{255, 255, 255, 0};
constexpr RgbQuad kBlack{0, 0, 0, 0};
constexpr RgbQuad kRed{0, 0, 255, 0};

const TRect kWholeBoard{0, 0, kBoardWidth, kBoardHeight};

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST_F(BoardTest, PlaceholderShowsOnTheBoardEnlargedAndInThePreviewAtItsOwnSize) {
    window.Flow.Image4MouseUp();  // new game draws the placeholder
    const Dib& preview = *static_cast<const TBitmap*>(window.Preview.Picture().Graphic())->GetDib();
    ASSERT_EQ(preview.Width(), 225);
    ASSERT_EQ(preview.Height(), 160);
    // A one-pixel black frame along the edges, white inside, the text on a red cell at (10, 70).
    for (TPoint p : {TPoint{0, 0}, TPoint{224, 0}, TPoint{0, 159}, TPoint{224, 159}, TPoint{100, 0},
                     TPoint{0, 80}, TPoint{224, 80}, TPoint{100, 159}})
        EXPECT_TRUE(SameColour(preview.PixelAt(p.x, p.y), kBlack)) << p.x << "," << p.y;
    EXPECT_TRUE(SameColour(preview.PixelAt(1, 1), kWhite));
    EXPECT_TRUE(SameColour(preview.PixelAt(223, 158), kWhite));
    EXPECT_TRUE(SameColour(preview.PixelAt(10, 70), kRed));

    // The board shows the same picture stretched to 688 x 448, nearest pixel.
    const Dib& board = window.BoardPixels();
    for (TPoint p : {TPoint{0, 0}, TPoint{687, 447}, TPoint{687, 0}, TPoint{0, 447}})
        EXPECT_TRUE(SameColour(board.PixelAt(p.x, p.y), kBlack)) << p.x << "," << p.y;
    EXPECT_TRUE(SameColour(board.PixelAt(344, 100), kWhite));
    // The centre of source pixel (10, 70) on the board.
    EXPECT_TRUE(SameColour(board.PixelAt(32, 197), kRed));
    // No picture was decoded: nothing else changed.
    EXPECT_EQ(State().SourcePicture, nullptr);
}

TEST_F(BoardTest, LoadDrawsThePictureWithGridLinesZeroToN) {
    window.Load(picture.Path());
    ASSERT_NE(State().SourcePicture, nullptr);
    EXPECT_EQ(State().SourcePicture->Width(), 688);
    EXPECT_EQ(State().SourcePicture->Height(), 448);
    // N = 2: lines at x = 0, 344, 688 and y = 0, 224, 448, crossings back to the picture.
    const GridLines lines = GridLines::Of(344, 224, 3);
    EXPECT_EQ(Mismatches(window.BoardPixels(), kWholeBoard,
                         [&](int x, int y) { return lines.Apply(PatternPixel(x, y), x, y); }),
              "");
    EXPECT_EQ(State().BoardRect, kBoardClientRect);
}

TEST_F(BoardTest, ChangeOfNLeavesOutTheLastLineThatALoadDraws) {
    window.Load(picture.Path());
    window.Flow.ComboBox1Change(5);
    const GridLines withoutLast = GridLines::Of(137, 89, 5);  // x = 0 .. 548, y = 0 .. 356
    EXPECT_EQ(Mismatches(window.BoardPixels(), kWholeBoard,
                         [&](int x, int y) { return withoutLast.Apply(PatternPixel(x, y), x, y); }),
              "");
    EXPECT_TRUE(SameColour(window.BoardPixels().PixelAt(685, 10), PatternPixel(685, 10)));
    EXPECT_EQ(window.Texts[WindowText::Label6], "x5 = 25 частей и");

    // A load with N = 5 also draws x = 685 and y = 445.
    window.Load(picture.Path());
    const GridLines withLast = GridLines::Of(137, 89, 6);
    EXPECT_EQ(Mismatches(window.BoardPixels(), kWholeBoard,
                         [&](int x, int y) { return withLast.Apply(PatternPixel(x, y), x, y); }),
              "");
    EXPECT_TRUE(SameColour(window.BoardPixels().PixelAt(685, 10), NotXorRed(PatternPixel(685, 10))));
}

TEST_F(BoardTest, PictureOfAnySizeFillsTheWholeBoard) {
    // 2 x 2 colours: each one fills a quarter of the board; the aspect ratio is not kept.
    const RgbQuad colours[2][2] = {{{0, 0, 200, 0}, {0, 200, 0, 0}}, {{200, 0, 0, 0}, {90, 90, 90, 0}}};
    TempFile small("small.bmp", MakeBmp(2, 2, [&](int x, int y) { return colours[y][x]; }));
    window.Load(small.Path());
    const Dib& board = window.BoardPixels();
    EXPECT_TRUE(SameColour(board.PixelAt(100, 100), colours[0][0]));
    EXPECT_TRUE(SameColour(board.PixelAt(600, 100), colours[0][1]));
    EXPECT_TRUE(SameColour(board.PixelAt(100, 400), colours[1][0]));
    EXPECT_TRUE(SameColour(board.PixelAt(600, 400), colours[1][1]));
    EXPECT_TRUE(SameColour(board.PixelAt(341, 221), colours[0][0]));
    EXPECT_TRUE(SameColour(board.PixelAt(346, 226), colours[1][1]));

    // A tall narrow picture is squeezed the other way.
    TempFile tall("tall.bmp", MakeBmp(1, 3, [](int, int y) { return RgbQuad{0, 0, uint8_t(50 * y + 50), 0}; }));
    window.Load(tall.Path());
    EXPECT_TRUE(SameColour(window.BoardPixels().PixelAt(500, 5), {0, 0, 50, 0}));
    EXPECT_TRUE(SameColour(window.BoardPixels().PixelAt(500, 440), {0, 0, 150, 0}));
}

TEST_F(BoardTest, OtherSpellingsDecodeNothingButRedrawTheOldPictureWithTheGrid) {
    // Nothing decoded yet: the board stays white with a red grid (white again at the crossings).
    window.Load("/no/such/folder/picture.Jpg");
    EXPECT_EQ(State().SourcePicture, nullptr);
    EXPECT_TRUE(State().PictureOnBoard);
    const Dib& board = window.BoardPixels();
    EXPECT_TRUE(SameColour(board.PixelAt(10, 10), kWhite));
    EXPECT_TRUE(SameColour(board.PixelAt(344, 10), kRed));
    EXPECT_TRUE(SameColour(board.PixelAt(10, 224), kRed));
    EXPECT_TRUE(SameColour(board.PixelAt(344, 224), kWhite));

    window.Load(picture.Path());
    const std::shared_ptr<TBitmap> decoded = State().SourcePicture;
    for (const char* other : {"/x/p.jpeg", "/x/p.png", "/x/p", "/x/p.Bmp"}) {
        window.Load(other);
        EXPECT_EQ(State().SourcePicture, decoded) << other;
    }
    const GridLines lines = GridLines::Of(344, 224, 3);
    EXPECT_EQ(Mismatches(window.BoardPixels(), kWholeBoard,
                         [&](int x, int y) { return lines.Apply(PatternPixel(x, y), x, y); }),
              "");
}

TEST_F(BoardTest, BothJpegSpellingsDecodeAtThePicturesOwnSize) {
    const std::vector<uint8_t> jpeg = ReadAll(std::string(KV_CORPUS_DIR) + "/jpeg/testimgint.jpg");
    ASSERT_FALSE(jpeg.empty());
    for (const char* name : {"photo.jpg", "PHOTO.JPG"}) {
        TempFile file(name, jpeg);
        window.Load(file.Path());
        ASSERT_NE(State().SourcePicture, nullptr) << name;
        EXPECT_EQ(State().SourcePicture->Width(), 227) << name;
        EXPECT_EQ(State().SourcePicture->Height(), 149) << name;
        // Stretched over the whole board: nothing white is left at the far corner.
        EXPECT_FALSE(SameColour(window.BoardPixels().PixelAt(686, 446), kWhite)) << name;
    }
}

TEST_F(BoardTest, GifPathsDecodeThroughTheRegisteredGifPicture) {
    RegisterStandardFormats();
    window.Load(std::string(KV_CORPUS_DIR) + "/gif-suite/gifs/static_nontransparent.gif");
    const std::shared_ptr<TBitmap> decoded = State().SourcePicture;
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->Width(), 100);
    EXPECT_EQ(decoded->Height(), 100);
    EXPECT_TRUE(State().PictureOnBoard);
}

TEST_F(BoardTest, FailedBmpLeavesTheBoardWhiteAndAnEmptySourcePicture) {
    window.Load(picture.Path());
    const std::shared_ptr<TBitmap> before = State().SourcePicture;
    window.Texts.clear();
    TempFile broken("broken.bmp", {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8, 9});
    window.Path = broken.Path();
    EXPECT_THROW(window.Flow.Image3MouseUp(), Exception);
    EXPECT_EQ(Mismatches(window.BoardPixels(), kWholeBoard, [](int, int) { return kWhite; }), "");
    ASSERT_NE(State().SourcePicture, nullptr);
    EXPECT_NE(State().SourcePicture, before);
    EXPECT_TRUE(State().SourcePicture->Empty());
    EXPECT_TRUE(window.Texts.empty());  // the count label was not emptied
}

TEST_F(BoardTest, JpegThatCannotBeReadKeepsTheOldSourcePicture) {
    window.Load(picture.Path());
    const std::shared_ptr<TBitmap> before = State().SourcePicture;
    window.Path = "/no/such/folder/photo.jpg";
    EXPECT_THROW(window.Flow.Image3MouseUp(), Exception);
    EXPECT_EQ(State().SourcePicture, before);
    EXPECT_EQ(Mismatches(window.BoardPixels(), kWholeBoard, [](int, int) { return kWhite; }), "");

    TempFile notJpeg("photo.JPG", MakeBmp(4, 4, PatternPixel));
    window.Path = notJpeg.Path();
    EXPECT_THROW(window.Flow.Image3MouseUp(), Exception);
    EXPECT_EQ(State().SourcePicture, before);
}

}  // namespace
}  // namespace kv::test
