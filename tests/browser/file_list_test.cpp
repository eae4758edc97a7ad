// The file list over temporary folder trees: which files are listed and in what order, the
// selection and its change reports, moving between folders and taking paths.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "browser/file_list.h"
#include "runtime/exceptions.h"
#include "temp_tree.h"

namespace kv::test {
namespace {

constexpr const char* kPictureMask = "*.jpg;*.bmp;*.gif";

std::vector<std::string> Texts(const TFileListBox& list) {
    std::vector<std::string> texts;
    for (const TFileRow& row : list.Rows()) texts.push_back(row.text);
    return texts;
}

// A shown file list over the tree's root with the picture mask, counting change reports.
struct PictureList {
    explicit PictureList(const TempTree& tree, const std::string& mask = kPictureMask) {
        list.SetFolder(tree.Root());
        list.SetMask(mask);
        list.OnChange = [this] {
            ++changes;
            reportedPaths.push_back(list.SelectedPath());
        };
        list.CreateWnd();
    }
    TFileListBox list;
    int changes = 0;
    std::vector<std::string> reportedPaths;
};

TEST(FileListRows, PicturesSortedIgnoringCaseOthersLeftOut) {
    TempTree tree;
    for (const char* name : {"b.gif", "A.JPG", "c.bmp", "d.txt", "noext", "e.jpeg"}) tree.File(name);
    PictureList shown(tree);
    EXPECT_EQ(Texts(shown.list), (std::vector<std::string>{"A.JPG", "b.gif", "c.bmp"}));
    // The re-read ends with one change report carrying no selection.
    EXPECT_EQ(shown.changes, 1);
    EXPECT_EQ(shown.reportedPaths.back(), "");
    EXPECT_EQ(shown.list.LastReported(), -1);
}

TEST(FileListRows, NamesDifferingOnlyInCaseComeInAFixedOrder) {
    // Created in opposite orders, so the folder's own order cannot decide.
    TempTree tree;
    for (const char* name : {"a.jpg", "A.jpg", "B.jpg", "b.jpg", "C.gif", "c.GIF"}) tree.File(name);
    PictureList shown(tree);
    EXPECT_EQ(Texts(shown.list), (std::vector<std::string>{"A.jpg", "a.jpg", "B.jpg", "b.jpg", "C.gif", "c.GIF"}));
}

TEST(FileListRows, HiddenSpecialAndFolderEntriesAreNotListedReadOnlyFilesAre) {
    TempTree tree;
    tree.File(".hidden.jpg");
    tree.Folder("x.jpg");
    tree.File("locked.jpg");
    ::chmod(tree.Path("locked.jpg").c_str(), 0444);
    ::mkfifo(tree.Path("pipe.jpg").c_str(), 0644);
    std::filesystem::create_symlink(tree.Path("nowhere.jpg"), tree.Path("dangling.jpg"));
    std::filesystem::create_symlink(tree.Path("locked.jpg"), tree.Path("linked.jpg"));
    PictureList shown(tree);
    EXPECT_EQ(Texts(shown.list), (std::vector<std::string>{"linked.jpg", "locked.jpg"}));
}

TEST(FileListRows, MaskRules) {
    TempTree tree;
    for (const char* name : {"a.jpg", "b.TXT", "README", "sunset.Jpg"}) tree.File(name);
    {
        // "*.*" lists every plain file, also one without an extension.
        PictureList shown(tree, "*.*");
        EXPECT_EQ(Texts(shown.list), (std::vector<std::string>{"a.jpg", "b.TXT", "README", "sunset.Jpg"}));
    }
    {
        // A trailing ";" adds nothing; letter case of the extension does not matter.
        PictureList shown(tree, "*.jpg;");
        EXPECT_EQ(Texts(shown.list), (std::vector<std::string>{"a.jpg", "sunset.Jpg"}));
    }
    {
        // A file two patterns match is listed twice; "?" is one character.
        PictureList shown(tree, "?.jpg;*.JPG");
        EXPECT_EQ(Texts(shown.list), (std::vector<std::string>{"a.jpg", "a.jpg", "sunset.Jpg"}));
    }
    {
        PictureList shown(tree, "");
        EXPECT_TRUE(shown.list.Rows().empty());
        EXPECT_EQ(shown.changes, 1);
    }
}

TEST(FileListRows, TypeSetListsFoldersInBracketsAndChoosesGlyphs) {
    TempTree tree;
    tree.Folder("sub");
    tree.Folder(".git");
    tree.File("run.BAT");
    tree.File("a.txt");
    TFileListBox list;
    list.SetFolder(tree.Root());
    list.SetFileType({TFileAttr::ftNormal, TFileAttr::ftDirectory});
    list.SetShowGlyphs(true);
    list.CreateWnd();
    ASSERT_EQ(Texts(list), (std::vector<std::string>{"[sub]", "a.txt", "run.BAT"}));
    EXPECT_EQ(list.Rows()[0].glyph, TGlyphRole::ClosedFolder);
    EXPECT_EQ(list.Rows()[1].glyph, TGlyphRole::UnknownFile);
    EXPECT_EQ(list.Rows()[2].glyph, TGlyphRole::Executable);

    // Without ftNormal only entries sharing an attribute with the search are listed.
    list.SetFileType({TFileAttr::ftDirectory});
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"[sub]"}));
    list.SetFileType({TFileAttr::ftDirectory, TFileAttr::ftHidden});
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"[.git]", "[sub]"}));
}

TEST(FileListRows, NothingIsReadBeforeTheWindowExists) {
    TempTree tree;
    tree.File("a.jpg");
    TFileListBox list;
    int changes = 0;
    list.OnChange = [&] { ++changes; };
    list.SetFolder(tree.Root());
    list.SetMask(kPictureMask);
    EXPECT_TRUE(list.Rows().empty());
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(list.FolderPath(), tree.Root());
}

TEST(FileListSelection, ClickingReportsOnlyNewSelections) {
    TempTree tree;
    tree.File("a.jpg");
    tree.File("b.jpg");
    PictureList shown(tree);
    shown.list.ClickRow(1);
    shown.list.ClickRow(1);
    EXPECT_EQ(shown.changes, 2);
    EXPECT_EQ(shown.reportedPaths.back(), tree.Path("b.jpg"));
    EXPECT_EQ(shown.list.SelectedName(), "b.jpg");
    shown.list.ClickRow(0);
    EXPECT_EQ(shown.changes, 3);
    EXPECT_EQ(shown.list.LastReported(), 0);
    // Out-of-range rows select nothing.
    shown.list.ClickRow(7);
    EXPECT_EQ(shown.list.ItemIndex(), -1);
    EXPECT_EQ(shown.reportedPaths.back(), "");
}

TEST(FileListSelection, SelectByNamePrefersTheExactSpelling) {
    TempTree tree;
    tree.File("Photo.jpg");
    tree.File("photo.jpg");
    tree.File("zeta.jpg");
    PictureList shown(tree);
    shown.list.SelectByName("photo.jpg");
    EXPECT_EQ(shown.list.SelectedName(), "photo.jpg");
    shown.list.SelectByName("Photo.jpg");
    EXPECT_EQ(shown.list.SelectedName(), "Photo.jpg");
    shown.list.SelectByName("ZETA.JPG");
    EXPECT_EQ(shown.list.SelectedName(), "zeta.jpg");
    const int before = shown.changes;
    shown.list.SelectByName("zeta.jpg");  // already selected: nothing
    EXPECT_EQ(shown.changes, before);
    shown.list.SelectByName("missing.jpg");
    EXPECT_EQ(shown.list.ItemIndex(), -1);
}

TEST(FileListFolders, MovingReReadsAndJoinsPaths) {
    TempTree tree;
    tree.Folder("pics");
    tree.File("pics/cat.gif");
    PictureList shown(tree);
    shown.list.SetFolder("pics");  // relative to the listed folder
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("pics"));
    EXPECT_EQ(Texts(shown.list), (std::vector<std::string>{"cat.gif"}));
    shown.list.ClickRow(0);
    EXPECT_EQ(shown.list.SelectedPath(), tree.Path("pics/cat.gif"));

    // The same folder again changes nothing, not even the selection.
    const int before = shown.changes;
    shown.list.SetFolder(tree.Path("pics"));
    EXPECT_EQ(shown.changes, before);
    EXPECT_EQ(shown.list.ItemIndex(), 0);

    // ".." resolves; at the root the path has a single delimiter.
    shown.list.SetFolder("..");
    EXPECT_EQ(shown.list.FolderPath(), tree.Root());
    shown.list.SetFolder("/");
    EXPECT_EQ(shown.list.FolderPath(), "/");
}

TEST(FileListFolders, AFolderThatCannotBeEnteredLeavesTheListWhereItWas) {
    TempTree tree;
    tree.File("a.jpg");
    PictureList shown(tree);
    shown.list.ClickRow(0);
    const int before = shown.changes;
    // Other letter case names another (missing) folder on this case-sensitive volume.
    std::string otherCase = tree.Root();
    for (char& c : otherCase) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    shown.list.SetFolder(otherCase);
    EXPECT_EQ(shown.list.FolderPath(), tree.Root());
    EXPECT_EQ(shown.changes, before + 1);
    EXPECT_EQ(shown.list.ItemIndex(), -1);
    EXPECT_EQ(Texts(shown.list), (std::vector<std::string>{"a.jpg"}));
}

TEST(FileListFolders, AVanishedFolderListsNothing) {
    TempTree tree;
    tree.Folder("gone");
    tree.File("gone/a.jpg");
    PictureList shown(tree);
    shown.list.SetFolder("gone");
    ASSERT_EQ(shown.list.Rows().size(), 1u);
    std::filesystem::remove_all(tree.Path("gone"));
    shown.list.FillFiles();
    EXPECT_TRUE(shown.list.Rows().empty());
    EXPECT_EQ(shown.reportedPaths.back(), "");
}

TEST(FileListFolders, AnUnreadableFolderListsNothing) {
    if (RunningAsRoot()) GTEST_SKIP() << "permission bits do not hold for the superuser";
    TempTree tree;
    PictureList shown(tree);
    tree.Folder("locked");
    tree.File("locked/b.jpg");
    ::chmod(tree.Path("locked").c_str(), 0311);  // enterable, not readable
    shown.list.SetFolder(tree.Path("locked"));
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("locked"));
    EXPECT_TRUE(shown.list.Rows().empty());
}

TEST(FileListAcceptPath, FoldersPatternsAndFiles) {
    TempTree tree;
    tree.Folder("pics");
    tree.File("pics/a.jpg");
    tree.File("pics/notes.txt");
    PictureList shown(tree);

    shown.list.AcceptPath(tree.Path("pics"));
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("pics"));
    EXPECT_EQ(shown.list.Mask(), kPictureMask);

    shown.list.AcceptPath(tree.Path("pics/a.jpg"));
    EXPECT_EQ(shown.list.SelectedName(), "a.jpg");

    // A file the mask hides becomes the mask and is selected.
    shown.list.AcceptPath("notes.txt");
    EXPECT_EQ(shown.list.Mask(), "notes.txt");
    EXPECT_EQ(shown.list.SelectedName(), "notes.txt");

    shown.list.AcceptPath(tree.Path("pics/*.jpg"));
    EXPECT_EQ(shown.list.Mask(), "*.jpg");

    // A bracketed folder row.
    shown.list.AcceptPath("[..]");
    EXPECT_EQ(shown.list.FolderPath(), tree.Root());

    // A folder whose name holds wildcard characters is entered; the mask stays.
    shown.list.SetMask(kPictureMask);
    tree.Folder("odd*");
    tree.File("odd*/b.gif");
    shown.list.AcceptPath(tree.Path("odd*"));
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("odd*"));
    EXPECT_EQ(shown.list.Mask(), kPictureMask);
    ASSERT_EQ(shown.list.Rows().size(), 1u);
}

TEST(FileListAcceptPath, MissingNamesAreTakenAsFoldersAndFilesSelected) {
    TempTree tree;
    tree.Folder("pics");
    tree.File("pics/a.jpg");
    PictureList shown(tree);
    shown.list.SetFolder("pics");
    // A missing name without wildcards counts as a folder, which cannot be entered: the list
    // stays where it was.
    shown.list.AcceptPath(tree.Root() + "/nothing");
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("pics"));
    tree.File("other.jpg");
    shown.list.AcceptPath(tree.Path("other.jpg"));
    EXPECT_EQ(shown.list.FolderPath(), tree.Root());
    EXPECT_EQ(shown.list.SelectedName(), "other.jpg");
    // Nothing happens for an empty text or the selected path.
    const int before = shown.changes;
    shown.list.AcceptPath("");
    shown.list.AcceptPath(tree.Path("other.jpg"));
    EXPECT_EQ(shown.changes, before);
}

}  // namespace
}  // namespace kv::test

namespace kv::test {
namespace {

TEST(FileListRows, LongListingsShowTheHourglassUntilTheEnd) {
    TempTree tree;
    for (int i = 0; i < 150; ++i) tree.File("p" + std::to_string(1000 + i) + ".jpg");
    TFileListBox list;
    list.SetFolder(tree.Root());
    list.SetMask("*.jpg");
    std::vector<bool> cursor;
    int rowsAtChange = -1;
    list.OnBusyCursor = [&](bool busy) { cursor.push_back(busy); };
    list.OnChange = [&] { rowsAtChange = static_cast<int>(list.Rows().size()); };
    list.CreateWnd();
    EXPECT_EQ(cursor, (std::vector<bool>{true, false}));
    EXPECT_EQ(rowsAtChange, 150);

    // Short listings leave the cursor alone.
    cursor.clear();
    list.SetMask("p100?.jpg");
    EXPECT_EQ(list.Rows().size(), 10u);
    EXPECT_TRUE(cursor.empty());
}

}  // namespace
}  // namespace kv::test
