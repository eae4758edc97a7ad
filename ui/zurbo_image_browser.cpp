// The main window's browser panel: the drive selector, directory list and file list in their
// laid-out places, and the three change handlers that chain them to each other, to the path box
// and to the preview. The controls are not linked to one another; the handlers do all of it.
#include <QCoreApplication>
#include <QLineEdit>

#include "browser/path_routines.h"
#include "browser/platform_fs.h"
#include "codecs/file_formats.h"
#include "codecs/picture.h"
#include "game/load_format.h"
#include "graphics/controls/image.h"
#include "ui/browser_widgets.h"
#include "ui/event_dispatch.h"
#include "ui/zurbo_image.h"

namespace kv {
namespace {

constexpr const char* kPictureMask = "*.jpg;*.bmp;*.gif";
constexpr int kDirectoryRowHeight = 16;
constexpr int kFileRowHeight = 13;

// Loads a file into the preview. A picture that reads well but fails at its first drawing (a
// 0-byte .jpg decodes only then) is made ready here, before it takes the preview's place: a
// failure then leaves the previous picture in the preview, on screen and at every later repaint.
void LoadPreview(TPicture& preview, const std::string& path) {
    const TGraphicClass* kind = GetFileFormats().FindExt(TPicture::ExtensionOf(path));
    if (!kind) {
        preview.LoadFromFile(path);  // raises the holder's own failure
        return;
    }
    std::unique_ptr<TGraphic> picture = kind->Create();
    picture->LoadFromFile(path);
    picture->PrepareToDraw();
    preview.Replace(std::move(picture));
}

}  // namespace

void TForm1::CreateBrowserPanel() {
    DriveComboBox1 = new DriveComboBoxWidget(this);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DriveComboBox1->setGeometry(736, 112, 217, 19);
    DirectoryListBox1 = new DirectoryListWidget(kDirectoryRowHeight, this);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->setGeometry(736, 144, 217, 121);
    FileListBox1 = new FileListWidget(kFileRowHeight, this);
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    FileListBox1->setGeometry(736, 280, 217, 161);
    FileListBox1->Model().SetMask(kPictureMask);

    DriveComboBox1->Model().OnChange = [this] { DriveComboBox1Change(); };
    DirectoryListBox1->Model().OnChange = [this] { DirectoryListBox1Change(); };
    FileListBox1->Model().OnChange = [this] { FileListBox1Change(); };
}

void TForm1::CreateBrowserWindows() {
    // In tab order, as the controls get their windows: the drive selector selects the current
    // volume and reports it, which takes the directory list (and through it the file list) to
    // that volume's root; the lists then build their rows.
    DriveComboBox1->Model().CreateWnd();
    DirectoryListBox1->Model().CreateWnd();
    FileListBox1->Model().CreateWnd();
}

void TForm1::ShowProgramFolder() {
    // The folder of the program's own executable, up to and including its last delimiter. Qt's
    // own answer is text and loses bytes that are not UTF-8, so it serves only as a fallback.
    std::string folder = platform::ProgramFolder();
    if (folder.empty()) {
        folder = QCoreApplication::applicationDirPath().toStdString();
        if (folder.empty() || folder.back() != kPathDelimiter) folder += kPathDelimiter;
    }
    DirectoryListBox1->Model().SetFolder(folder);
}

void TForm1::DriveComboBox1Change() {
    // Paths have no drive letters: the selector's key stands for a volume, and the volume's
    // mount point takes the place of "<letter>:\". Always the root, never a remembered folder
    // on the volume; with no volume selected the directory list stays where it is.
    DirectoryListBox1->Model().SetFolder(DriveComboBox1->Model().DriveRoot());
}

void TForm1::DirectoryListBox1Change() {
    // The directory list has just read the folder; the file list takes that reading over.
    const TDirectoryListBox& dirs = DirectoryListBox1->Model();
    FileListBox1->Model().AcceptPath(dirs.FolderPath(), dirs.Listing());
}

void TForm1::FileListBox1Change() {
    browserPath_ = FileListBox1->Model().SelectedPath();
    browserPathText_ = QString::fromStdString(browserPath_);
    Edit2->setText(browserPathText_);
    // Only these exact spellings load; each test reads the path box afresh. The three groups
    // are disjoint, so a file loads at most once.
    auto loadIf = [this](const char* upper, const char* lower) {
        const std::string path = PathText();
        const std::string extension = FileExtension(path);
        if (extension == upper || extension == lower) LoadPreview(Image2->Picture(), path);
    };
    loadIf(".JPG", ".jpg");
    loadIf(".BMP", ".bmp");
    loadIf(".GIF", ".gif");
}

}  // namespace kv
