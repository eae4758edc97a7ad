// The browser panel in the shown main window: the three lists chained by the window's change
// handlers, the path box and the preview, over a temporary folder of real pictures.
#include <gtest/gtest.h>

#include <QFocusEvent>
#include <QGlyphRun>
#include <QRawFont>
#include <QTest>
#include <QTextLayout>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include <jerror.h>

#include "browser/platform_fs.h"
#include "codecs/picture.h"
#include "graphics/bitmap.h"
#include "ui/browser_widgets.h"
#include "ui/event_dispatch.h"
#include "ui_test_support.h"

namespace kv::test {
namespace {

class PictureFolder {
public:
    PictureFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kv_panel_XXXXXX").string();
        root_ = platform::EnterableFolder(::mkdtemp(pattern.data()));
        Copy("bmp/g/rgb24.bmp", "x.bmp");
        Copy("jpeg/testimgint.jpg", "SUNSET.JPG");
        Copy("jpeg/testimgint.jpg", "sunset.Jpg");
        Copy("debian-samples/tk8.6/logo64.gif", "logo.gif");
        std::ofstream(Path("bad.jpg"), std::ios::binary) << "not a picture at all";
        std::ofstream(Path("notes.txt")) << "text";
        std::filesystem::create_directory(Path("sub"));
        Copy("bmp/g/rgb24.bmp", "sub/inner.bmp");
    }
    ~PictureFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    const std::string& Root() const { return root_; }
    std::string Path(const std::string& name) const { return root_ + "/" + name; }
    void Copy(const std::string& corpus, const std::string& name) const {
        std::filesystem::copy_file(CorpusFile(corpus), Path(name));
    }

private:
    std::string root_;
};

class BrowserPanel : public ::testing::Test, public MainWindowTest {
protected:
    BrowserPanel() {
        // Count the preview's successful loads, keeping the control's own reaction.
        TPicture& preview = form->Image2->Picture();
        auto repaint = preview.OnChange;
        preview.OnChange = [this, repaint](TPicture& sender) {
            ++previewLoads;
            if (repaint) repaint(sender);
        };
    }
    ~BrowserPanel() override { form->Image2->Picture().OnChange = nullptr; }

    void OpenFolder(const std::string& path) {
        DispatchEvent([&] { form->DirectoryListBox1->Model().SetFolder(path); });
    }
    // The player selects the file row holding exactly this text.
    void SelectFile(const std::string& name) {
        const auto items = form->FileListBox1->findItems(QString::fromStdString(name), Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_EQ(items.size(), 1) << name;
        form->FileListBox1->setCurrentItem(items.front());
    }
    void SelectDirectory(const std::string& text) {
        const auto items = form->DirectoryListBox1->findItems(QString::fromStdString(text), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << text;
        form->DirectoryListBox1->setCurrentItem(items.front());
    }
    std::string PathBox() const { return form->Edit2->text().toStdString(); }
    // A control-clicks on a row of a list, as a player holding Ctrl would.
    static void CtrlClick(QListWidget& list, int row) {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, list.visualItemRect(list.item(row)).center());
    }
    // The preview's area in the window's image, as the last paint left it.
    QImage PreviewShown() const {
        const Dib& buffer = form->Buffer();
        const QImage all(buffer.Bits(), buffer.Width(), buffer.Height(), static_cast<qsizetype>(buffer.Stride()),
                         QImage::Format_RGB32);
        const TImage& preview = *form->Image2;
        return all.copy(preview.Left(), preview.Top(), preview.Width(), preview.Height());
    }
    // The host's paint of a rectangle of the client area over an image first filled with `old`.
    QImage PaintedOver(const TRect& rect, TColor old) const {
        TBitmap surface;
        surface.SetSize(form->Host().ClientWidth(), form->Host().ClientHeight());
        surface.Canvas().Brush().SetColor(old);
        surface.Canvas().FillRect(form->Host().ClientRect());
        form->Host().PaintRegion(surface.Canvas(), rect);
        const Dib& dib = *surface.GetDib();
        QImage image(rect.Width(), rect.Height(), QImage::Format_RGB32);
        for (int y = 0; y < rect.Height(); ++y)
            for (int x = 0; x < rect.Width(); ++x) {
                const RgbQuad p = dib.PixelAt(rect.left + x, rect.top + y);
                image.setPixel(x, y, qRgb(p.red, p.green, p.blue));
            }
        return image;
    }
    const TGraphic* Preview() const { return form->Image2->Picture().Graphic(); }

    PictureFolder folder;
    int previewLoads = 0;
};

TEST_F(BrowserPanel, StartsInTheProgramsFolderWithNothingChosen) {
    const std::string programFolder = platform::EnterableFolder(QCoreApplication::applicationDirPath().toStdString());
    EXPECT_EQ(form->DirectoryListBox1->Model().FolderPath(), programFolder);
    EXPECT_EQ(form->FileListBox1->Model().FolderPath(), programFolder);
    EXPECT_EQ(form->FileListBox1->Model().Mask(), "*.jpg;*.bmp;*.gif");
    EXPECT_EQ(form->FileListBox1->currentRow(), -1);
    EXPECT_TRUE(PathBox().empty());
    ASSERT_GE(form->DriveComboBox1->count(), 1);
    EXPECT_TRUE(form->DriveComboBox1->itemText(0).startsWith("a: ["));
    EXPECT_GE(form->DriveComboBox1->currentIndex(), 0);
    EXPECT_EQ(form->DirectoryListBox1->geometry(), QRect(736, 144, 217, 121));
    EXPECT_EQ(form->DriveComboBox1->geometry(), QRect(736, 112, 217, 19));
    // The directory list's rows mirror its model, the current folder's row selected.
    EXPECT_EQ(form->DirectoryListBox1->count(), static_cast<int>(form->DirectoryListBox1->Model().Rows().size()));
    EXPECT_EQ(form->DirectoryListBox1->currentRow(), form->DirectoryListBox1->Model().ItemIndex());
}

TEST_F(BrowserPanel, ChoosingAPictureFillsThePathBoxAndLoadsThePreviewOnce) {
    OpenFolder(folder.Root());
    EXPECT_EQ(form->FileListBox1->count(), 5);  // bad.jpg, logo.gif, SUNSET.JPG, sunset.Jpg, x.bmp
    EXPECT_TRUE(PathBox().empty());

    SelectFile("x.bmp");
    EXPECT_EQ(PathBox(), folder.Path("x.bmp"));
    EXPECT_EQ(previewLoads, 1);
    EXPECT_EQ(form->Image2->Picture().Width(), 127);

    // Listed, since the list ignores case, but only exact spellings load.
    const TGraphic* before = Preview();
    SelectFile("sunset.Jpg");
    EXPECT_EQ(PathBox(), folder.Path("sunset.Jpg"));
    EXPECT_EQ(previewLoads, 1);
    EXPECT_EQ(Preview(), before);

    SelectFile("SUNSET.JPG");
    EXPECT_EQ(PathBox(), folder.Path("SUNSET.JPG"));
    EXPECT_EQ(previewLoads, 2);
    SelectFile("logo.gif");
    EXPECT_EQ(previewLoads, 3);
    ASSERT_TRUE(boxes.Shown.empty()) << boxes.Texts().front();

    // The rows paint (glyphs, indents, selection) without trouble.
    EXPECT_FALSE(form->FileListBox1->grab().isNull());
    EXPECT_FALSE(form->DirectoryListBox1->grab().isNull());
    EXPECT_FALSE(form->DriveComboBox1->grab().isNull());
}

TEST_F(BrowserPanel, ACorruptPictureIsReportedOnceAndKeepsThePreview) {
    OpenFolder(folder.Root());
    SelectFile("x.bmp");
    const TGraphic* before = Preview();
    SelectFile("bad.jpg");
    ASSERT_EQ(boxes.Shown.size(), 1u);
    EXPECT_EQ(boxes.Shown[0].icon, MessageBoxIcon::Stop);
    EXPECT_EQ(boxes.Shown[0].caption, "KVADRIKO");
    EXPECT_EQ(PathBox(), folder.Path("bad.jpg"));
    EXPECT_EQ(Preview(), before);
    EXPECT_EQ(form->FileListBox1->Model().SelectedName(), "bad.jpg");

    // Selecting the same row again does not retry; another row and back does.
    SelectFile("bad.jpg");
    EXPECT_EQ(boxes.Shown.size(), 1u);
    SelectFile("x.bmp");
    SelectFile("bad.jpg");
    EXPECT_EQ(boxes.Shown.size(), 2u);
}

TEST_F(BrowserPanel, MovingToAnotherFolderEmptiesThePathBoxAndKeepsThePreview) {
    OpenFolder(folder.Root());
    SelectFile("x.bmp");
    const TGraphic* before = Preview();

    // Double click on the subfolder's row.
    DirectoryListWidget& dirs = *form->DirectoryListBox1;
    const auto subRows = dirs.findItems("sub", Qt::MatchExactly);
    ASSERT_EQ(subRows.size(), 1);
    QTest::mouseDClick(dirs.viewport(), Qt::LeftButton, {}, dirs.visualItemRect(subRows.front()).center());
    EXPECT_EQ(dirs.Model().FolderPath(), folder.Path("sub"));
    EXPECT_EQ(form->FileListBox1->Model().FolderPath(), folder.Path("sub"));
    EXPECT_EQ(form->FileListBox1->count(), 1);
    EXPECT_TRUE(PathBox().empty());
    EXPECT_EQ(Preview(), before);

    // Enter on the parent's row goes back up.
    dirs.setCurrentRow(dirs.Model().ItemIndex() - 1);
    QTest::keyClick(&dirs, Qt::Key_Return);
    EXPECT_EQ(dirs.Model().FolderPath(), folder.Root());
    EXPECT_EQ(form->FileListBox1->Model().FolderPath(), folder.Root());
}

TEST_F(BrowserPanel, OpeningAFolderReadsItOnceForBothLists) {
    const unsigned long reads = platform::FolderReads();
    const unsigned long queries = platform::EntryQueries();
    OpenFolder(folder.Root());
    EXPECT_EQ(platform::FolderReads() - reads, 1u);
    // No links here: every entry's kind comes with the folder.
    EXPECT_EQ(platform::EntryQueries() - queries, 0u);
    EXPECT_EQ(form->FileListBox1->count(), 5);
    ASSERT_FALSE(form->DirectoryListBox1->findItems("sub", Qt::MatchExactly).empty());
}

TEST_F(BrowserPanel, NamesThatAreNotUtf8AreBrowsedAndPreviewed) {
    // Linux names are bytes; these are not valid UTF-8 and show with replacement characters.
    const std::string odd = folder.Path("\xfe\xff");
    std::filesystem::create_directory(odd);
    std::filesystem::copy_file(CorpusFile("bmp/g/rgb24.bmp"), odd + "/\xff.bmp");
    OpenFolder(folder.Root());
    DirectoryListWidget& dirs = *form->DirectoryListBox1;
    const auto& rows = dirs.Model().Rows();
    const auto oddRow = std::find_if(rows.begin(), rows.end(), [](const TDirectoryRow& row) { return row.text == "\xfe\xff"; });
    ASSERT_NE(oddRow, rows.end());
    dirs.setCurrentRow(static_cast<int>(oddRow - rows.begin()));
    QTest::keyClick(&dirs, Qt::Key_Return);
    ASSERT_EQ(form->FileListBox1->Model().FolderPath(), odd);
    ASSERT_EQ(form->FileListBox1->count(), 1);

    form->FileListBox1->setCurrentRow(0);
    EXPECT_EQ(form->FileListBox1->Model().SelectedPath(), odd + "/\xff.bmp");
    EXPECT_FALSE(PathBox().empty());
    EXPECT_EQ(previewLoads, 1);
    ASSERT_TRUE(boxes.Shown.empty()) << boxes.Texts().front();
    // The load button reads the same bytes through the path box.
    EXPECT_EQ(form->PathText(), odd + "/\xff.bmp");
}

TEST_F(BrowserPanel, NamesInAJoiningScriptAreShapedInTheLists) {
    // Arabic letters take their joined forms only through the shaper: a list font that skipped
    // it would show every letter of the name on its own.
    const QString letters = QString::fromUtf8("\u0633\u0644\u0627\u0645");
    QTextLayout layout(letters + QStringLiteral(".jpg"), form->FileListBox1->font());
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    bool arabicFont = false;
    bool joined = false;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QList<quint32> nominal = run.rawFont().glyphIndexesForString(letters);
        if (std::count(nominal.begin(), nominal.end(), 0u) > 0) continue;  // not the Arabic run
        arabicFont = true;
        for (const quint32 glyph : run.glyphIndexes())
            if (!nominal.contains(glyph)) joined = true;
    }
    if (!arabicFont) GTEST_SKIP() << "no installed face has these letters";
    EXPECT_TRUE(joined);
}

TEST_F(BrowserPanel, PickingADriveGoesToItsRoot) {
    OpenFolder(folder.Root());
    SelectFile("x.bmp");
    DriveComboBoxWidget& drives = *form->DriveComboBox1;
    drives.setCurrentIndex(0);
    emit drives.activated(0);
    EXPECT_EQ(drives.Model().DriveRoot(), "/");
    EXPECT_EQ(form->DirectoryListBox1->Model().FolderPath(), "/");
    EXPECT_EQ(form->FileListBox1->Model().FolderPath(), "/");
    EXPECT_TRUE(PathBox().empty());
}

TEST_F(BrowserPanel, ATransparentGifAfterABmpShowsTheWindowsColourNotTheOldPicture) {
    folder.Copy("gif-suite/gifs/static_transparent.gif", "clear.gif");
    OpenFolder(folder.Root());
    SelectFile("x.bmp");
    QApplication::processEvents();
    SelectFile("clear.gif");
    ASSERT_TRUE(boxes.Shown.empty()) << boxes.Texts().front();
    QApplication::processEvents();
    // A repaint of the preview alone (as when a window that lay over it goes away).
    const TImage& preview = *form->Image2;
    form->PaintIntoBuffer(preview.BoundsRect());
    // What the preview shows depends on the picture only, never on what was painted there before.
    const QImage overRed = PaintedOver(preview.BoundsRect(), clRed);
    EXPECT_EQ(overRed, PaintedOver(preview.BoundsRect(), clBlue));
    EXPECT_EQ(PreviewShown(), overRed);
    const RgbQuad window = ColorToRgb(cl3DLight);
    EXPECT_EQ(overRed.pixel(0, 0), qRgb(window.red, window.green, window.blue));  // a transparent corner

    // The same holds for the picture buttons, over which pieces are dragged.
    for (const TImage* button : {form->Image3, form->Image4, form->Image5, form->Image6, form->Image7})
        EXPECT_EQ(PaintedOver(button->BoundsRect(), clRed), PaintedOver(button->BoundsRect(), clBlue)) << button->Name();
}

TEST_F(BrowserPanel, AFailedPreviewLoadKeepsThePreviousPictureOnScreenAndAtTheNextRepaint) {
    std::ofstream(folder.Path("empty.jpg"), std::ios::binary);  // reads, fails when decoded
    OpenFolder(folder.Root());
    SelectFile("x.bmp");
    QApplication::processEvents();
    const TGraphic* before = Preview();
    const QImage shown = PreviewShown();

    SelectFile("empty.jpg");
    QApplication::processEvents();
    ASSERT_EQ(boxes.Shown.size(), 1u);
    EXPECT_EQ(boxes.Shown[0].text, "JPEG error #" + std::to_string(JERR_INPUT_EMPTY) + ".");
    EXPECT_EQ(PathBox(), folder.Path("empty.jpg"));
    EXPECT_EQ(Preview(), before);
    EXPECT_EQ(PreviewShown(), shown);
    form->PaintIntoBuffer(form->Image2->BoundsRect());
    EXPECT_EQ(PreviewShown(), shown);
    EXPECT_EQ(boxes.Shown.size(), 1u);
}

TEST_F(BrowserPanel, FocusArrivingAtTheFileListSelectsNoFile) {
    OpenFolder(folder.Root());
    FileListWidget& files = *form->FileListBox1;
    for (const Qt::FocusReason reason : {Qt::TabFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent arriving(QEvent::FocusIn, reason);
        QApplication::sendEvent(&files, &arriving);
        EXPECT_EQ(files.Model().ItemIndex(), -1);
        EXPECT_EQ(files.currentRow(), -1);
        EXPECT_TRUE(PathBox().empty());
        EXPECT_EQ(previewLoads, 0);
        EXPECT_TRUE(boxes.Shown.empty());
    }
    // The player's first Down key selects the first file, the damaged one, which is reported.
    QTest::keyClick(&files, Qt::Key_Down);
    EXPECT_EQ(files.Model().SelectedName(), "bad.jpg");
    EXPECT_EQ(boxes.Shown.size(), 1u);
}

TEST_F(BrowserPanel, TypeAheadSearchesFromTheSelectedRowAndBackspaceShortensThePrefix) {
    std::filesystem::create_directory(folder.Path("keys"));
    for (const char* name : {"a1.bmp", "a2.bmp", "ab.bmp", "b.bmp"}) folder.Copy("bmp/g/rgb24.bmp", std::string("keys/") + name);
    for (const char* name : {"sa", "sb", "sc"}) std::filesystem::create_directory(folder.Path(std::string("keys/") + name));
    OpenFolder(folder.Path("keys"));
    FileListWidget& files = *form->FileListBox1;
    SelectFile("a2.bmp");
    QTest::keyClick(&files, Qt::Key_A);  // a2 begins with "a": it stays
    EXPECT_EQ(files.Model().SelectedName(), "a2.bmp");
    QTest::keyClick(&files, Qt::Key_B);  // "ab"
    EXPECT_EQ(files.Model().SelectedName(), "ab.bmp");
    EXPECT_EQ(PathBox(), folder.Path("keys/ab.bmp"));
    QTest::keyClick(&files, Qt::Key_Backspace);  // "a", from ab on
    EXPECT_EQ(files.Model().SelectedName(), "ab.bmp");
    QTest::keyClick(&files, Qt::Key_Backspace);  // nothing left: the first row
    EXPECT_EQ(files.Model().SelectedName(), "a1.bmp");
    EXPECT_EQ(files.currentRow(), 0);

    // The directory list's type-ahead only selects; the folder stays.
    DirectoryListWidget& dirs = *form->DirectoryListBox1;
    SelectDirectory("sb");
    const int sb = dirs.currentRow();
    QTest::keyClick(&dirs, Qt::Key_S);
    EXPECT_EQ(dirs.Model().ItemIndex(), sb);
    QTest::keyClick(&dirs, Qt::Key_C);
    EXPECT_EQ(dirs.Model().ItemIndex(), sb + 1);
    QTest::keyClick(&dirs, Qt::Key_Backspace);
    QTest::keyClick(&dirs, Qt::Key_Backspace);
    EXPECT_EQ(dirs.Model().ItemIndex(), 0);
    EXPECT_EQ(dirs.currentRow(), 0);
    EXPECT_EQ(dirs.Model().FolderPath(), folder.Path("keys"));
    ASSERT_TRUE(boxes.Shown.empty()) << boxes.Texts().front();
}

TEST_F(BrowserPanel, CtrlClickOnTheSelectedRowKeepsItsHighlight) {
    OpenFolder(folder.Root());
    SelectFile("x.bmp");
    FileListWidget& files = *form->FileListBox1;
    const int row = files.currentRow();
    CtrlClick(files, row);
    EXPECT_TRUE(files.item(row)->isSelected());
    EXPECT_EQ(files.selectedItems().size(), 1);
    EXPECT_EQ(files.Model().SelectedName(), "x.bmp");
    EXPECT_EQ(PathBox(), folder.Path("x.bmp"));

    DirectoryListWidget& dirs = *form->DirectoryListBox1;
    const int current = dirs.Model().ItemIndex();
    CtrlClick(dirs, current);
    EXPECT_TRUE(dirs.item(current)->isSelected());
    EXPECT_EQ(dirs.Model().ItemIndex(), current);
    EXPECT_EQ(dirs.Model().FolderPath(), folder.Root());
}

}  // namespace
}  // namespace kv::test
