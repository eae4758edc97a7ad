// The start-up font worker beside the window thread: both use the text engine at once, from its
// first use in the process on (each test runs in a process of its own), and the worker changes
// no measure. Under the thread sanitizer this is where a race in the engine's set-up shows.
#include <gtest/gtest.h>

#include "graphics/controls/label.h"
#include "graphics/font_engine.h"
#include "ui/font_warm_up.h"
#include "ui/layout_labels.h"

namespace kv::test {
namespace {

TEST(FontWarmUp, RunsBesideTheWindowThreadAndChangesNoMeasure) {
    FontRequest bold;
    bold.name = "Arial";
    bold.height = -24;
    bold.bold = true;
    FontRequest plain;  // the default face, which the worker matches too
    TextExtent during, plainDuring;
    {
        FontWarmUp warmUp;
        during = FontEngine::Instance().Measure(bold, "Разбей на");
        plainDuring = FontEngine::Instance().Measure(plain, "Выбрана картинка :");
        warmUp.Join();
        warmUp.Join();  // a second join is harmless
    }
    const TextExtent after = FontEngine::Instance().Measure(bold, "Разбей на");
    EXPECT_GT(during.width, 50);
    EXPECT_EQ(during.width, after.width);
    EXPECT_EQ(during.height, after.height);
    EXPECT_EQ(plainDuring.width, FontEngine::Instance().Measure(plain, "Выбрана картинка :").width);
}

// The worker loads glyphs for the requests it makes: a request that differs from the one the
// label makes once the layout has given it its font would warm a face nobody draws with.
TEST(FontWarmUp, MeasuresInTheRequestEachLabelMakes) {
    for (const LabelText& text : kMeasuredLabels) {
        TLabel label;
        ApplyLayoutFont(label.Font(), text.font);
        EXPECT_EQ(label.Font().ToRequest(), LayoutFontRequest(text.font)) << text.caption;
    }
}

}  // namespace
}  // namespace kv::test
