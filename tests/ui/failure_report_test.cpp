// The default failure report: its text rule and the single dispatch point every handler runs
// through.
#include <gtest/gtest.h>

#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <stdexcept>

#include "runtime/exceptions.h"
#include "ui/event_dispatch.h"
#include "ui_test_support.h"

namespace kv::test {
namespace {

TEST(FailureReportText, AppendsAFullStopOnlyAfterCharactersAboveIt) {
    EXPECT_EQ(FailureReportText("Bitmap image is not valid"), "Bitmap image is not valid.");
    EXPECT_EQ(FailureReportText("Out of system resources."), "Out of system resources.");
    EXPECT_EQ(FailureReportText(""), "");
    // Codes below "." keep the message as it is: "!" ")" "," "-" and the blank.
    EXPECT_EQ(FailureReportText("Stop!"), "Stop!");
    EXPECT_EQ(FailureReportText("(x)"), "(x)");
    EXPECT_EQ(FailureReportText("a,"), "a,");
    EXPECT_EQ(FailureReportText("a-"), "a-");
    EXPECT_EQ(FailureReportText("trailing "), "trailing ");
    // Just above ".": "/" and the digits.
    EXPECT_EQ(FailureReportText("/tmp/"), "/tmp/.");
    EXPECT_EQ(FailureReportText("Error 5"), "Error 5.");
    // A message ending in a Cyrillic letter: its last UTF-8 byte is above "." when read unsigned.
    EXPECT_EQ(FailureReportText("Ошибка"), "Ошибка.");
}

TEST(DispatchEvent, ReportsAFailureInAStopBoxAndGoesOn) {
    TestApplication();
    RecordingMessageBoxes boxes;
    int stepsDone = 0;
    const bool completed = DispatchEvent([&] {
        ++stepsDone;
        throw EInvalidGraphic("Bitmap image is not valid");
    });
    EXPECT_FALSE(completed);
    EXPECT_EQ(stepsDone, 1);  // what ran before the failure stays done
    ASSERT_EQ(boxes.Shown.size(), 1u);
    EXPECT_EQ(boxes.Shown[0].icon, MessageBoxIcon::Stop);
    EXPECT_EQ(boxes.Shown[0].caption, "KVADRIKO");
    EXPECT_EQ(boxes.Shown[0].text, "Bitmap image is not valid.");

    // The next event runs normally and shows nothing.
    EXPECT_TRUE(DispatchEvent([&] { ++stepsDone; }));
    EXPECT_EQ(stepsDone, 2);
    EXPECT_EQ(boxes.Shown.size(), 1u);
}

TEST(DispatchEvent, ReportsFailuresFromOutsideTheProgramsOwnClasses) {
    TestApplication();
    RecordingMessageBoxes boxes;
    DispatchEvent([] { throw std::runtime_error("disk on fire"); });
    DispatchEvent([] { throw std::bad_alloc(); });
    DispatchEvent([] { throw 42; });
    ASSERT_EQ(boxes.Shown.size(), 3u);
    EXPECT_EQ(boxes.Shown[0].text, "disk on fire.");
    EXPECT_EQ(boxes.Shown[1].text, "Out of system resources.");
    EXPECT_FALSE(boxes.Shown[2].text.empty());
    for (const auto& box : boxes.Shown) EXPECT_EQ(box.icon, MessageBoxIcon::Stop);
}

TEST(DispatchEvent, AFailureWhileTheReportIsOpenGetsItsOwnReport) {
    TestApplication();
    RecordingMessageBoxes boxes;
    // The report's box runs a nested event loop; an event handled meanwhile may fail too.
    bool nested = false;
    boxes.WhileOpen = [&](const MessageBoxRequest&) {
        if (nested) return;
        nested = true;
        DispatchEvent([] { throw EReadError("Stream read error"); });
    };
    DispatchEvent([] { throw EOSError("first"); });
    ASSERT_EQ(boxes.Shown.size(), 2u);
    EXPECT_EQ(boxes.Shown[0].text, "first.");
    EXPECT_EQ(boxes.Shown[1].text, "Stream read error.");
}

TEST(DispatchEventDeferringReport, ShowsTheReportFromTheEventLoopLater) {
    TestApplication();
    RecordingMessageBoxes boxes;
    EXPECT_FALSE(DispatchEventDeferringReport([] { throw EInvalidOperation("Canvas does not allow drawing"); }));
    EXPECT_TRUE(boxes.Shown.empty());
    QApplication::processEvents();
    ASSERT_EQ(boxes.Shown.size(), 1u);
    EXPECT_EQ(boxes.Shown[0].text, "Canvas does not allow drawing.");
}

// What the real modal box showed; it is closed as soon as it appears.
struct ShownBox {
    QString caption, text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    const QWidget* parent = nullptr;
};

ShownBox ShowRealBox(const std::function<void()>& show) {
    ShownBox seen;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box == nullptr || !box->isVisible()) continue;
            seen = {box->windowTitle(), box->text(), box->textFormat(), box->icon(), box->parentWidget()};
            closer.stop();
            box->accept();
        }
    });
    closer.start(0);
    show();
    return seen;
}

TEST(MessageBoxes, TheRealBoxesShowTheirTextAsWrittenUnderTheTitle) {
    TestApplication();
    SetMessageBoxService(nullptr);
    // A file name in a failure's message must not be taken for markup.
    const ShownBox report = ShowRealBox([] { ShowFailureReport("Cannot open file /tmp/<b>x</b>.bmp"); });
    EXPECT_EQ(report.caption, "KVADRIKO");
    EXPECT_EQ(report.text, "Cannot open file /tmp/<b>x</b>.bmp.");
    EXPECT_EQ(report.format, Qt::PlainText);
    EXPECT_EQ(report.icon, QMessageBox::Critical);

    const ShownBox message = ShowRealBox([] { ShowGameMessage("Сначала собери!"); });
    EXPECT_EQ(message.caption, "KVADRIKO");
    EXPECT_EQ(message.text, QString::fromUtf8("Сначала собери!"));
    EXPECT_EQ(message.format, Qt::PlainText);
    EXPECT_EQ(message.icon, QMessageBox::NoIcon);
}

TEST(MessageBoxes, EveryBoxOpensOverTheMainWindowOrOverTheModalWindowThatIsOpen) {
    TestApplication();
    SetMessageBoxService(nullptr);
    TForm1 form;
    form.show();
    QApplication::processEvents();
    // No window is active, as right after the piece-count drop-down closed: the box still opens
    // over the game's window instead of in the middle of the screen.
    QApplication::setActiveWindow(nullptr);
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    EXPECT_EQ(ShowRealBox([] { ShowGameMessage("Сначала собери!"); }).parent, &form);
    EXPECT_EQ(ShowRealBox([] { ShowFailureReport("Stream read error"); }).parent, &form);

    // While a modal window (the about box) is open, boxes open over it.
    QDialog about(&form);
    about.setModal(true);
    about.show();
    QApplication::processEvents();
    EXPECT_EQ(ShowRealBox([] { ShowGameMessage("Сначала собери!"); }).parent, &about);
    about.hide();
    EXPECT_EQ(ShowRealBox([] { ShowGameMessage("Сначала собери!"); }).parent, &form);
}

}  // namespace
}  // namespace kv::test
