// The load's GIF branch, through a stand-in picture class registered for "gif": the picture is
// read first, then handed to a new bitmap; it is released on every way out, and where a failure
// happens decides which source picture is left.
#include <gtest/gtest.h>

#include <string>

#include "codecs/file_formats.h"
#include "codecs/graphic_class.h"
#include "codecs/standard_formats.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"
#include "tests/game/board_fixture.h"

namespace kv::test {
namespace {

// Reads its file as text: "bad-read" fails while reading, "bad-hand-over" when a bitmap takes
// it over, anything else gives a 3 x 2 bitmap of one colour.
class StandInGif : public TGraphic {
public:
    static inline int alive = 0;
    StandInGif() { ++alive; }
    ~StandInGif() override { --alive; }
    const char* ClassName() const override { return "TStandInGif"; }
    void Draw(TCanvas&, const TRect&) override {}
    bool Empty() const override { return text_.empty(); }
    int Width() const override { return 3; }
    int Height() const override { return 2; }
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    void LoadFromStream(TStream& stream) override {
        text_.resize(static_cast<std::size_t>(stream.Remaining()));
        stream.ReadBuffer(text_.data(), static_cast<int64_t>(text_.size()));
        if (text_ == "bad-read") throw EInvalidGraphic("stand-in read failure");
    }

protected:
    void AssignTo(TGraphic& dest) const override {
        if (text_ == "bad-hand-over") throw EInvalidGraphic("stand-in hand-over failure");
        auto& bitmap = dynamic_cast<TBitmap&>(dest);
        bitmap.SetWidth(3);
        bitmap.SetHeight(2);
        bitmap.Canvas().Brush().SetColor(clBlue);
        bitmap.Canvas().FillRect({0, 0, 3, 2});
    }

private:
    std::string text_;
};

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

class GifBranchTest : public BoardTest {
protected:
    void SetUp() override {
        RegisterStandardFormats();
        RegisterFileFormat("gif", "stand-in", GraphicClassOf<StandInGif>());
        window.Load(picture.Path());
        before = State().SourcePicture;
    }
    void TearDown() override { UnregisterGraphicClass(GraphicClassOf<StandInGif>()); }

    std::shared_ptr<TBitmap> before;
};

TEST_F(GifBranchTest, BothSpellingsDecodeThroughTheRegisteredPicture) {
    for (const char* name : {"a.gif", "B.GIF"}) {
        TempFile file(name, Bytes("fine"));
        window.Load(file.Path());
        ASSERT_NE(State().SourcePicture, before) << name;
        EXPECT_EQ(State().SourcePicture->Width(), 3);
        EXPECT_TRUE(SameColour(window.BoardPixels().PixelAt(300, 100), {255, 0, 0, 0}));
        EXPECT_EQ(StandInGif::alive, 0);
    }
    TempFile other("c.Gif", Bytes("fine"));
    const std::shared_ptr<TBitmap> kept = State().SourcePicture;
    window.Load(other.Path());
    EXPECT_EQ(State().SourcePicture, kept);
}

TEST_F(GifBranchTest, ReadFailureKeepsTheOldPicture) {
    TempFile file("a.gif", Bytes("bad-read"));
    window.Path = file.Path();
    EXPECT_THROW(window.Flow.Image3MouseUp(), EInvalidGraphic);
    EXPECT_EQ(State().SourcePicture, before);
    EXPECT_EQ(StandInGif::alive, 0);
}

TEST_F(GifBranchTest, HandOverFailureLeavesANewEmptyBitmapAndReleasesThePicture) {
    TempFile file("a.gif", Bytes("bad-hand-over"));
    window.Path = file.Path();
    EXPECT_THROW(window.Flow.Image3MouseUp(), EInvalidGraphic);
    ASSERT_NE(State().SourcePicture, nullptr);
    EXPECT_NE(State().SourcePicture, before);
    EXPECT_TRUE(State().SourcePicture->Empty());
    EXPECT_EQ(StandInGif::alive, 0);
}

}  // namespace
}  // namespace kv::test
