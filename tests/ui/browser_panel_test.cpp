// The browser panel in the shown main window: the three lists chained by the window's change
// handlers, the path box and the preview, over a temporary folder of real pictures.
#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "browser/platform_fs.h"
#include "codecs/picture.h"
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

private:
    void Copy(const std::string& corpus, const std::string& name) const {
        std::filesystem::copy_file(CorpusFile(corpus), Path(name));
    }
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
    std::string PathBox() const { return form->Edit2->text().toStdString(); }
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

}  // namespace
}  // namespace kv::test
