// Stacking, clipping and invalidation of graphic controls on a host.
#include <gtest/gtest.h>

#include "control_test_support.h"
#include "runtime/exceptions.h"

namespace kv {
namespace {

using testing::InvalidationLog;
using testing::MakeSurface;
using testing::Pixel;
using testing::Rgb;
using testing::SolidControl;

class HostPaintTest : public ::testing::Test {
protected:
    HostPaintTest() {
        host.SetColor(clGray);
        host.SetClientSize(100, 80);
        surface = MakeSurface(100, 80, clBlack);
    }
    void PaintAll() { host.PaintRegion(surface->Canvas(), host.ClientRect()); }

    TControlHost host;
    std::unique_ptr<TBitmap> surface;
};

TEST_F(HostPaintTest, LaterControlsAreDrawnOverEarlierOnesOnTheBackground) {
    SolidControl lower(clRed, {10, 10, 50, 50});
    SolidControl upper(clBlue, {30, 30, 70, 70});
    lower.SetParent(&host);
    upper.SetParent(&host);
    PaintAll();
    EXPECT_EQ(Pixel(*surface, 0, 0), Rgb(clGray));
    EXPECT_EQ(Pixel(*surface, 15, 15), Rgb(clRed));
    EXPECT_EQ(Pixel(*surface, 40, 40), Rgb(clBlue));  // the overlap belongs to the later control
    EXPECT_EQ(Pixel(*surface, 69, 69), Rgb(clBlue));
    EXPECT_EQ(Pixel(*surface, 70, 70), Rgb(clGray));  // right and bottom edges are exclusive

    // Parent order, not creation order, decides: re-parenting puts a control on top.
    lower.SetParent(nullptr);
    lower.SetParent(&host);
    PaintAll();
    EXPECT_EQ(Pixel(*surface, 40, 40), Rgb(clRed));
}

TEST_F(HostPaintTest, HiddenControlsAreNotPaintedAndControlsStayInsideTheirBounds) {
    SolidControl hidden(clRed, {0, 0, 100, 80});
    SolidControl spilling(clBlue, {20, 20, 30, 30});
    spilling.spill = true;
    hidden.SetParent(&host);
    spilling.SetParent(&host);
    hidden.Hide();
    PaintAll();
    EXPECT_EQ(hidden.paints, 0);
    EXPECT_EQ(Pixel(*surface, 25, 25), Rgb(clBlue));
    EXPECT_EQ(Pixel(*surface, 19, 25), Rgb(clGray));
    EXPECT_EQ(Pixel(*surface, 30, 25), Rgb(clGray));
    EXPECT_EQ(Pixel(*surface, 25, 30), Rgb(clGray));
}

TEST_F(HostPaintTest, OnlyTheRegionIsPaintedAndControlsOutsideItAreSkipped) {
    SolidControl inside(clRed, {0, 0, 20, 20});
    SolidControl outside(clBlue, {60, 60, 80, 80});
    inside.SetParent(&host);
    outside.SetParent(&host);
    host.PaintRegion(surface->Canvas(), {10, 10, 30, 30});
    EXPECT_EQ(outside.paints, 0);
    EXPECT_EQ(Pixel(*surface, 10, 10), Rgb(clRed));
    EXPECT_EQ(Pixel(*surface, 25, 25), Rgb(clGray));
    EXPECT_EQ(Pixel(*surface, 9, 9), Rgb(clBlack));    // outside the region: untouched
    EXPECT_EQ(Pixel(*surface, 30, 30), Rgb(clBlack));
}

TEST_F(HostPaintTest, AnOpaqueControlCoveringTheRegionHidesWhatLiesBeneath) {
    SolidControl beneath(clRed, {0, 0, 100, 80});
    SolidControl board(clBlue, {10, 10, 90, 70}, /*opaque=*/true);
    SolidControl piece(clLime, {20, 20, 30, 30});
    beneath.SetParent(&host);
    board.SetParent(&host);
    piece.SetParent(&host);
    host.PaintRegion(surface->Canvas(), {15, 15, 40, 40});
    // Every control that meets the region paints, in list order; the board covers what lies beneath.
    EXPECT_EQ(beneath.paints, 1);
    EXPECT_EQ(board.paints, 1);
    EXPECT_EQ(piece.paints, 1);
    EXPECT_EQ(Pixel(*surface, 16, 16), Rgb(clBlue));
    EXPECT_EQ(Pixel(*surface, 25, 25), Rgb(clLime));
    // A region reaching past the opaque control shows what lies beneath around it.
    host.PaintRegion(surface->Canvas(), {5, 5, 40, 40});
    EXPECT_EQ(beneath.paints, 2);
    EXPECT_EQ(Pixel(*surface, 5, 5), Rgb(clRed));
    EXPECT_EQ(Pixel(*surface, 16, 16), Rgb(clBlue));
}

TEST_F(HostPaintTest, UnderAnOpaqueControlTheBackgroundIsErasedAndOnlyTheWindowsOwnContentIsLeftOut) {
    // An opaque control whose picture leaves pixels alone, like a stretched GIF with a
    // transparent colour: those pixels show the window's colour, never the buffer's old content.
    SolidControl preview(clBlue, {20, 20, 60, 60}, /*opaque=*/true);
    preview.leftHalfOnly = true;
    preview.SetParent(&host);
    int ownPaints = 0;
    host.OnPaint = [&](TCanvas& canvas, const TRect& region) {
        ++ownPaints;
        canvas.Brush().SetColor(clYellow);
        canvas.FillRect(region);
    };
    host.PaintRegion(surface->Canvas(), {30, 30, 50, 50});  // inside the control only
    EXPECT_EQ(ownPaints, 0);
    EXPECT_EQ(Pixel(*surface, 35, 35), Rgb(clBlue));
    EXPECT_EQ(Pixel(*surface, 45, 45), Rgb(clGray));  // was black

    PaintAll();
    EXPECT_EQ(Pixel(*surface, 10, 10), Rgb(clYellow));  // the window's content around the control
    EXPECT_EQ(Pixel(*surface, 70, 30), Rgb(clYellow));
    EXPECT_EQ(Pixel(*surface, 45, 45), Rgb(clGray));    // but not under it
    EXPECT_EQ(Pixel(*surface, 59, 59), Rgb(clGray));
    EXPECT_EQ(Pixel(*surface, 60, 60), Rgb(clYellow));
}

TEST_F(HostPaintTest, PaintingGoesThroughTheCanvasOriginAndClip) {
    // A canvas whose (0, 0) lies at (10, 5) of its storage, clipped to part of it.
    Dib storage(DisplayCompatibleDescription(120, 90));
    TCanvas canvas;
    const TRect clip{10, 5, 60, 45};
    canvas.SetHandle(&storage, {10, 5}, &clip);
    SolidControl control(clRed, {0, 0, 100, 80});
    control.SetParent(&host);
    host.PaintRegion(canvas, host.ClientRect());
    EXPECT_EQ(storage.PixelAt(10, 5), Rgb(clRed));
    EXPECT_EQ(storage.PixelAt(59, 44), Rgb(clRed));
    EXPECT_EQ(storage.PixelAt(60, 44), RgbQuad{});
    EXPECT_EQ(storage.PixelAt(9, 5), RgbQuad{});
}

TEST_F(HostPaintTest, PaintingIntoASharedBitmapLeavesTheOtherCopyAlone) {
    TBitmap copy;
    copy.Assign(surface.get());
    SolidControl control(clRed, {0, 0, 100, 80});
    control.SetParent(&host);
    PaintAll();
    EXPECT_EQ(Pixel(*surface, 0, 0), Rgb(clRed));
    EXPECT_EQ(Pixel(copy, 0, 0), Rgb(clBlack));
}

TEST_F(HostPaintTest, MovingAndResizingInvalidateTheOldAndTheNewArea) {
    SolidControl control(clRed, {10, 10, 30, 30});
    control.SetParent(&host);
    InvalidationLog log;
    log.Attach(host);
    host.TakeUpdateRect();

    control.SetBounds(10, 10, 20, 20);  // unchanged: nothing
    EXPECT_TRUE(log.rects.empty());

    control.SetLeft(40);
    ASSERT_EQ(log.rects.size(), 2u);
    EXPECT_EQ(log.rects[0], (TRect{10, 10, 30, 30}));
    EXPECT_EQ(log.rects[1], (TRect{40, 10, 60, 30}));
    EXPECT_EQ(host.TakeUpdateRect(), (TRect{10, 10, 60, 30}));

    log.rects.clear();
    control.SetWidth(5);
    ASSERT_EQ(log.rects.size(), 2u);
    EXPECT_EQ(log.rects[0], (TRect{40, 10, 60, 30}));
    EXPECT_EQ(log.rects[1], (TRect{40, 10, 45, 30}));

    // Hidden controls move silently; showing one again invalidates its area.
    log.rects.clear();
    control.Hide();
    ASSERT_EQ(log.rects.size(), 1u);
    control.SetLeft(0);
    EXPECT_EQ(log.rects.size(), 1u);
    control.Show();
    ASSERT_EQ(log.rects.size(), 2u);
    EXPECT_EQ(log.rects[1], (TRect{0, 10, 5, 30}));

    // Areas outside the client are clipped away.
    log.rects.clear();
    control.SetLeft(-50);
    ASSERT_EQ(log.rects.size(), 1u);
    EXPECT_EQ(log.rects[0], (TRect{0, 10, 5, 30}));
}

TEST_F(HostPaintTest, RemovingAControlRepaintsWhatLiesBeneath) {
    SolidControl board(clBlue, {0, 0, 60, 60}, /*opaque=*/true);
    auto piece = std::make_unique<SolidControl>(clRed, TRect{20, 20, 40, 40});
    board.SetParent(&host);
    piece->SetParent(&host);
    auto other = std::make_unique<SolidControl>(clLime, TRect{70, 10, 90, 30});
    other->SetParent(&host);
    PaintAll();
    ASSERT_EQ(Pixel(*surface, 25, 25), Rgb(clRed));
    host.TakeUpdateRect();

    piece->SetParent(nullptr);
    EXPECT_EQ(host.ControlCount(), 2);
    EXPECT_EQ(host.UpdateRect(), (TRect{20, 20, 40, 40}));
    host.PaintRegion(surface->Canvas(), host.TakeUpdateRect());
    EXPECT_EQ(Pixel(*surface, 25, 25), Rgb(clBlue));

    other.reset();  // destroying a control takes it out as well
    EXPECT_EQ(host.ControlCount(), 1);
    host.PaintRegion(surface->Canvas(), host.TakeUpdateRect());
    EXPECT_EQ(Pixel(*surface, 75, 15), Rgb(clGray));
}

TEST_F(HostPaintTest, RefreshInvalidatesAndAsksTheWindowToPaintNow) {
    int updates = 0;
    host.OnUpdate = [&] { ++updates; };
    SolidControl control(clRed, {5, 5, 10, 10});
    control.Refresh();  // no parent yet: nothing
    EXPECT_EQ(updates, 0);
    control.SetParent(&host);
    host.TakeUpdateRect();
    control.Refresh();
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(host.TakeUpdateRect(), (TRect{5, 5, 10, 10}));
    control.Hide();
    host.TakeUpdateRect();
    control.Refresh();
    EXPECT_EQ(updates, 1);
    host.Refresh();
    EXPECT_EQ(updates, 2);
    EXPECT_EQ(host.TakeUpdateRect(), host.ClientRect());
}

// A control that is itself a host, to check the self-parent refusal.
class Panel : public TControl, public TControlHost {};

TEST(ControlParentTest, AControlCannotBeItsOwnParent) {
    Panel panel;
    TControlHost host;
    panel.SetParent(&host);
    try {
        panel.SetParent(&panel);
        FAIL() << "no failure raised";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "A control cannot have itself as its parent");
    }
    EXPECT_EQ(panel.Parent(), &host);  // unchanged
    EXPECT_EQ(host.IndexOf(&panel), 0);
}

TEST(ControlParentTest, HostDestroyedFirstLeavesItsControlsDetached) {
    SolidControl control(clRed, {0, 0, 5, 5});
    {
        TControlHost host;
        control.SetParent(&host);
    }
    EXPECT_EQ(control.Parent(), nullptr);
}

}  // namespace
}  // namespace kv
