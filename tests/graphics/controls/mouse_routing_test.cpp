// Routing of mouse events among graphic controls: hit order, capture, clicks and the release of
// a control from inside its own event.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control_test_support.h"

namespace kv {
namespace {

using testing::SolidControl;

// Records the events every control receives as text lines.
class MouseRoutingTest : public ::testing::Test {
protected:
    MouseRoutingTest() { host.SetClientSize(200, 100); }

    void Watch(TControl& control, const std::string& name) {
        control.OnMouseDown = [this, name](TControl&, TMouseButton b, TShiftState, int x, int y) {
            events.push_back(name + " down" + Button(b) + " " + std::to_string(x) + "," + std::to_string(y));
        };
        control.OnMouseMove = [this, name](TControl&, TShiftState, int x, int y) {
            events.push_back(name + " move " + std::to_string(x) + "," + std::to_string(y));
        };
        control.OnMouseUp = [this, name](TControl&, TMouseButton b, TShiftState, int x, int y) {
            events.push_back(name + " up" + Button(b) + " " + std::to_string(x) + "," + std::to_string(y));
        };
        control.OnClick = [this, name](TControl&) { events.push_back(name + " click"); };
    }
    static std::string Button(TMouseButton b) {
        return b == TMouseButton::mbLeft ? "" : b == TMouseButton::mbRight ? "R" : "M";
    }

    TControlHost host;
    std::vector<std::string> events;
};

TEST_F(MouseRoutingTest, ThePressGoesToTheTopmostVisibleEnabledControlUnderThePoint) {
    SolidControl a(clRed, {10, 10, 60, 60});
    SolidControl b(clBlue, {40, 40, 90, 90});
    a.SetParent(&host);
    b.SetParent(&host);
    Watch(a, "a");
    Watch(b, "b");

    host.MouseDown(TMouseButton::mbRight, {}, 50, 50);  // overlap: the later control
    host.MouseDown(TMouseButton::mbRight, {}, 20, 20);
    host.MouseDown(TMouseButton::mbRight, {}, 95, 95);  // nobody there
    b.SetEnabled(false);
    host.MouseDown(TMouseButton::mbRight, {}, 50, 50);
    b.SetEnabled(true);
    b.Hide();
    host.MouseDown(TMouseButton::mbRight, {}, 45, 45);
    EXPECT_EQ(events, (std::vector<std::string>{"b downR 10,10", "a downR 10,10", "a downR 40,40",
                                                 "a downR 35,35"}));
    EXPECT_EQ(host.MouseCapture(), nullptr);  // only the left button captures
}

TEST_F(MouseRoutingTest, ALeftPressKeepsTheMouseUntilReleasedEvenOutsideTheWindow) {
    SolidControl a(clRed, {10, 10, 30, 30});
    SolidControl b(clBlue, {100, 10, 150, 60});
    a.SetParent(&host);
    b.SetParent(&host);
    Watch(a, "a");
    Watch(b, "b");

    host.MouseDown(TMouseButton::mbLeft, {}, 15, 15);
    EXPECT_EQ(host.MouseCapture(), &a);
    host.MouseMove({}, 120, 20);   // over b, still a's
    host.MouseMove({}, -40, 300);  // outside the window
    host.MouseDown(TMouseButton::mbRight, {}, 120, 20);
    host.MouseUp(TMouseButton::mbRight, {}, 120, 20);
    EXPECT_EQ(host.MouseCapture(), &a);  // another button's release keeps the capture
    host.MouseUp(TMouseButton::mbLeft, {}, 500, 20);
    EXPECT_EQ(host.MouseCapture(), nullptr);
    host.MouseMove({}, 120, 20);  // free again
    EXPECT_EQ(events, (std::vector<std::string>{"a down 5,5", "a move 110,10", "a move -50,290",
                                                 "a downR 110,10", "a upR 110,10", "a up 490,10",
                                                 "b move 20,10"}));
}

TEST_F(MouseRoutingTest, AClickIsReportedOnlyWhenTheLeftButtonIsReleasedInside) {
    SolidControl a(clRed, {10, 10, 30, 30});
    a.SetParent(&host);
    Watch(a, "a");

    host.MouseDown(TMouseButton::mbLeft, {}, 15, 15);
    host.MouseUp(TMouseButton::mbLeft, {}, 29, 29);
    host.MouseDown(TMouseButton::mbLeft, {}, 15, 15);
    host.MouseUp(TMouseButton::mbLeft, {}, 30, 29);  // just outside
    host.MouseDown(TMouseButton::mbRight, {}, 15, 15);
    host.MouseUp(TMouseButton::mbRight, {}, 15, 15);  // right button: no click
    host.MouseUp(TMouseButton::mbLeft, {}, 15, 15);   // release without a press: no click
    EXPECT_EQ(events, (std::vector<std::string>{"a down 5,5", "a click", "a up 19,19", "a down 5,5",
                                                 "a up 20,19", "a downR 5,5", "a upR 5,5", "a up 5,5"}));
}

TEST_F(MouseRoutingTest, ADraggedControlFollowsThePointer) {
    // The way the game drags a piece: each move shifts it by the offset from the grabbed point.
    SolidControl piece(clRed, {50, 50, 70, 70});
    piece.SetParent(&host);
    int grabX = 0, grabY = 0;
    bool dragging = false;
    piece.OnMouseDown = [&](TControl&, TMouseButton, TShiftState, int x, int y) {
        dragging = true;
        grabX = x;
        grabY = y;
    };
    piece.OnMouseMove = [&](TControl& c, TShiftState, int x, int y) {
        if (!dragging) return;
        c.SetLeft(c.Left() + x - grabX);
        c.SetTop(c.Top() + y - grabY);
    };
    piece.OnMouseUp = [&](TControl&, TMouseButton, TShiftState, int, int) { dragging = false; };

    host.MouseDown(TMouseButton::mbLeft, {}, 55, 58);
    for (int step = 1; step <= 30; ++step) host.MouseMove({}, 55 + 7 * step, 58 - 3 * step);
    host.MouseUp(TMouseButton::mbLeft, {}, 55 + 210, 58 - 90);
    EXPECT_EQ(piece.Left(), 50 + 210);
    EXPECT_EQ(piece.Top(), 50 - 90);
}

// A control that reports its destruction.
struct Watcher : SolidControl {
    bool& destroyed;
    explicit Watcher(bool& flag) : SolidControl(clRed, {10, 10, 30, 30}), destroyed(flag) {}
    ~Watcher() override { destroyed = true; }
};

TEST_F(MouseRoutingTest, AControlReleasedInItsOwnMouseUpLivesUntilTheEventIsDelivered) {
    bool destroyed = false;
    bool destroyedDuringHandler = false;
    auto piece = std::make_unique<Watcher>(destroyed);
    piece->SetParent(&host);
    TControl* raw = piece.get();
    int handlerRuns = 0;
    piece->OnMouseUp = [&](TControl& sender, TMouseButton, TShiftState, int, int) {
        ++handlerRuns;
        host.ReleaseLater(std::move(piece));
        // Still safe to look at the sender: it has only left the window.
        destroyedDuringHandler = destroyed;
        EXPECT_EQ(sender.Parent(), nullptr);
        EXPECT_EQ(host.IndexOf(&sender), -1);
        EXPECT_EQ(host.PendingReleaseCount(), 1);
    };
    host.MouseDown(TMouseButton::mbLeft, {}, 15, 15);
    EXPECT_EQ(host.MouseCapture(), raw);
    host.MouseUp(TMouseButton::mbLeft, {}, 15, 15);
    EXPECT_EQ(handlerRuns, 1);
    EXPECT_FALSE(destroyedDuringHandler);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(host.PendingReleaseCount(), 0);
    EXPECT_EQ(host.MouseCapture(), nullptr);

    // Outside any event, the release is immediate.
    bool second = false;
    auto other = std::make_unique<Watcher>(second);
    other->SetParent(&host);
    host.ReleaseLater(std::move(other));
    EXPECT_TRUE(second);
    EXPECT_EQ(host.ControlCount(), 0);
}

TEST_F(MouseRoutingTest, AControlDestroyedOutrightInItsClickGetsNoFurtherEvents) {
    auto button = std::make_unique<SolidControl>(clRed, TRect{10, 10, 30, 30});
    button->SetParent(&host);
    Watch(*button, "b");
    button->OnClick = [&](TControl&) {
        events.push_back("b click");
        button.reset();  // no deferral: the host must notice and stop
    };
    host.MouseDown(TMouseButton::mbLeft, {}, 15, 15);
    host.MouseUp(TMouseButton::mbLeft, {}, 15, 15);
    EXPECT_EQ(events, (std::vector<std::string>{"b down 5,5", "b click"}));
    EXPECT_EQ(host.ControlCount(), 0);
}

TEST_F(MouseRoutingTest, DestroyingOrHidingTheCapturingControlReleasesTheCapture) {
    auto a = std::make_unique<SolidControl>(clRed, TRect{10, 10, 30, 30});
    SolidControl b(clBlue, {0, 0, 200, 100});
    b.SetParent(&host);
    a->SetParent(&host);
    Watch(b, "b");
    host.MouseDown(TMouseButton::mbLeft, {}, 15, 15);
    a.reset();
    EXPECT_EQ(host.MouseCapture(), nullptr);
    host.MouseMove({}, 15, 15);
    EXPECT_EQ(events, (std::vector<std::string>{"b move 15,15"}));

    host.MouseDown(TMouseButton::mbLeft, {}, 15, 15);
    EXPECT_EQ(host.MouseCapture(), &b);
    b.Hide();
    EXPECT_EQ(host.MouseCapture(), nullptr);
}

TEST_F(MouseRoutingTest, ReleasesDuringANestedEventWaitForTheOutermostOne) {
    // A handler that runs a nested loop (a modal box) may see further events meanwhile.
    auto inner = std::make_unique<SolidControl>(clRed, TRect{100, 10, 120, 30});
    SolidControl outer(clBlue, {10, 10, 30, 30});
    inner->SetParent(&host);
    outer.SetParent(&host);
    bool innerAliveAfterNested = false;
    inner->OnMouseMove = [&](TControl&, TShiftState, int, int) { host.ReleaseLater(std::move(inner)); };
    outer.OnMouseUp = [&](TControl&, TMouseButton, TShiftState, int, int) {
        host.MouseMove({}, 110, 20);  // delivered inside this event
        innerAliveAfterNested = host.PendingReleaseCount() == 1;
    };
    host.MouseDown(TMouseButton::mbRight, {}, 15, 15);
    host.MouseUp(TMouseButton::mbRight, {}, 15, 15);
    EXPECT_TRUE(innerAliveAfterNested);
    EXPECT_EQ(host.PendingReleaseCount(), 0);
    EXPECT_EQ(host.ControlCount(), 1);
}

}  // namespace
}  // namespace kv
