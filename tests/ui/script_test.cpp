// The step list of the scripted run used by the screenshot tool.
#include <gtest/gtest.h>

#include <QTest>

#include "tools/script/script_hook.h"
#include "ui_test_support.h"

namespace kv {
namespace {

TEST(ParseScript, SplitsStepsAndArguments) {
    const auto steps = ParseScript("type=/a/b c.bmp; press=load;;count=4 ;solve;shot=/tmp/x.png;quit");
    ASSERT_EQ(steps.size(), 6u);
    EXPECT_EQ(steps[0].command, "type");
    EXPECT_EQ(steps[0].argument, "/a/b c.bmp");  // blanks inside an argument are kept
    EXPECT_EQ(steps[1].command, "press");
    EXPECT_EQ(steps[1].argument, "load");
    EXPECT_EQ(steps[2].argument, "4");
    EXPECT_EQ(steps[3].command, "solve");
    EXPECT_EQ(steps[3].argument, "");
    EXPECT_EQ(steps[5].command, "quit");
    EXPECT_TRUE(ParseScript("").empty());
    EXPECT_TRUE(ParseScript(" ; ;").empty());
}

TEST(StartScript, RunsItsStepsFromTheEventLoopThroughANegativeWait) {
    test::MainWindowTest window;
    StartScript(*window.form, ParseScript("type=/no/such/picture.bmp;wait=-5;press=shuffle;quit"));
    // The script ends by closing the window; a wait that never fires would leave it open.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.form->isVisible(); }, 30000));
    EXPECT_EQ(window.form->Edit2->text().toStdString(), "/no/such/picture.bmp");
}

}  // namespace
}  // namespace kv
