// The start-up as the program runs it, in a process of its own: the font workers beside the
// toolkit's start-up, the window shown, and the program's end when the window closes. A deadlock
// between a worker and the window thread hangs here; a worker that outlives the application
// object, or a warm-up the window thread races with, crashes.
#include <gtest/gtest.h>

#include <QTimer>
#include <cstdlib>

#include "ui/application.h"
#include "ui/zurbo_image.h"

namespace kv::test {
namespace {

// Runs the program with a window that closes itself once shown; ends the process with 0 when
// the window was visible and the program ended well.
[[noreturn]] void RunAndCloseAtOnce() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static char name[] = "kvadriko";
    char* argv[] = {name, nullptr};
    bool shown = false;
    const int status = RunApplication(1, argv, [&shown](TForm1& form) {
        shown = form.isVisible();
        QTimer::singleShot(0, &form, [&form] { form.close(); });
    });
    std::exit(shown && status == 0 ? 0 : 1);
}

TEST(Application, StartsShowsTheWindowAndEndsWhenItCloses) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process: no application object yet
    EXPECT_EXIT(RunAndCloseAtOnce(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace kv::test
