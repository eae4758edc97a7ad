// The directory list over temporary folder trees: its rows, where opening them leads, and the
// change reports.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "browser/directory_list.h"
#include "browser/file_list.h"
#include "browser/path_routines.h"
#include "temp_tree.h"

namespace kv::test {
namespace {

std::vector<std::string> Texts(const TDirectoryListBox& list, size_t from) {
    std::vector<std::string> texts;
    for (size_t i = from; i < list.Rows().size(); ++i) texts.push_back(list.Rows()[i].text);
    return texts;
}

// Number of path rows of a full path: the root plus one per component.
size_t PathRows(const std::string& path) {
    return path == "/" ? 1 : 1 + static_cast<size_t>(std::count(path.begin(), path.end(), '/'));
}

struct ShownList {
    explicit ShownList(const std::string& folder) {
        list.SetFolder(folder);
        list.OnChange = [this] { ++changes; };
        list.CreateWnd();
    }
    TDirectoryListBox list;
    int changes = 0;
};

TEST(DirectoryListRows, PathRowsThenSortedVisibleSubfolders) {
    TempTree tree;
    tree.Folder("game/b");
    tree.Folder("game/A");
    tree.Folder("game/c");
    tree.Folder("game/.hidden");
    tree.File("game/file.jpg");
    std::filesystem::create_directory_symlink(tree.Path("game/c"), tree.Path("game/linked"));
    ShownList shown(tree.Path("game"));
    const auto& rows = shown.list.Rows();
    const size_t pathRows = PathRows(tree.Path("game"));
    ASSERT_EQ(rows.size(), pathRows + 4);
    EXPECT_EQ(rows[0].text, "/");
    EXPECT_EQ(rows[0].glyph, TGlyphRole::OpenFolder);
    EXPECT_EQ(rows[pathRows - 1].text, "game");
    EXPECT_EQ(rows[pathRows - 1].glyph, TGlyphRole::CurrentFolder);
    EXPECT_EQ(shown.list.ItemIndex(), static_cast<int>(pathRows - 1));
    EXPECT_EQ(Texts(shown.list, pathRows), (std::vector<std::string>{"A", "b", "c", "linked"}));
    for (size_t i = pathRows; i < rows.size(); ++i) EXPECT_EQ(rows[i].glyph, TGlyphRole::ClosedFolder);
    // Creating the window reports nothing.
    EXPECT_EQ(shown.changes, 0);
}

TEST(DirectoryListRows, FoldersDifferingOnlyInCaseAreBothListed) {
    TempTree tree;
    tree.Folder("Art");
    tree.Folder("art");
    ShownList shown(tree.Root());
    EXPECT_EQ(Texts(shown.list, PathRows(tree.Root())), (std::vector<std::string>{"Art", "art"}));
}

TEST(DirectoryListRows, TheRootIsTheCurrentFolderThere) {
    ShownList shown("/");
    ASSERT_FALSE(shown.list.Rows().empty());
    EXPECT_EQ(shown.list.Rows()[0].text, "/");
    EXPECT_EQ(shown.list.Rows()[0].glyph, TGlyphRole::CurrentFolder);
    EXPECT_EQ(shown.list.ItemIndex(), 0);
    EXPECT_EQ(shown.list.RowIndent(0), 2);
    if (shown.list.Rows().size() > 1) {
        EXPECT_EQ(shown.list.RowIndent(1), 10);
        EXPECT_EQ(shown.list.RowPath(1), "/" + shown.list.Rows()[1].text);
    }
}

TEST(DirectoryListRows, IndentsAndRowPaths) {
    TempTree tree;
    tree.Folder("games/puzzle/shots");
    ShownList shown(tree.Path("games/puzzle"));
    const int current = shown.list.ItemIndex();
    const int delimiters = static_cast<int>(std::count(shown.list.FolderPath().begin(), shown.list.FolderPath().end(), '/'));
    EXPECT_EQ(shown.list.RowIndent(0), 2);
    EXPECT_EQ(shown.list.RowIndent(current), 4 * current + 2);
    EXPECT_EQ(shown.list.RowIndent(current + 1), 4 * delimiters + 6);

    EXPECT_EQ(shown.list.RowPath(0), "/");
    EXPECT_EQ(shown.list.RowPath(current - 1), tree.Path("games"));
    EXPECT_EQ(shown.list.RowPath(current), tree.Path("games/puzzle"));
    EXPECT_EQ(shown.list.RowPath(current + 1), tree.Path("games/puzzle/shots"));
    EXPECT_EQ(shown.list.RowPath(current + 2), "");
    EXPECT_EQ(shown.list.DisplayText(current + 1), "shots");
}

TEST(DirectoryListMoves, OpeningRowsMovesUpAndDown) {
    TempTree tree;
    tree.Folder("games/puzzle/shots");
    ShownList shown(tree.Path("games/puzzle"));
    const int current = shown.list.ItemIndex();

    // Opening the current folder's row changes nothing.
    shown.list.OpenSelectedRow();
    EXPECT_EQ(shown.changes, 0);

    // A click only selects.
    shown.list.ClickRow(current + 1);
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("games/puzzle"));
    EXPECT_EQ(shown.changes, 0);
    shown.list.OpenSelectedRow();
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("games/puzzle/shots"));
    EXPECT_EQ(shown.changes, 1);

    shown.list.ClickRow(current - 1);
    shown.list.OpenSelectedRow();
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("games"));
    EXPECT_EQ(shown.changes, 2);
    EXPECT_EQ(shown.list.Rows()[static_cast<size_t>(shown.list.ItemIndex())].text, "games");

    // Wildcard characters are ordinary in folder names: such a subfolder opens like any other.
    tree.Folder("games/what?*");
    shown.list.FillFolders();
    shown.list.ClickRow(static_cast<int>(shown.list.Rows().size()) - 1);
    ASSERT_EQ(shown.list.Rows().back().text, "what?*");
    shown.list.OpenSelectedRow();
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("games/what?*"));
}

TEST(DirectoryListMoves, SetFolderReportsOneChangePerMove) {
    TempTree tree;
    tree.Folder("a/b");
    ShownList shown(tree.Root());
    shown.list.SetFolder("a/b");  // relative to the current folder
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("a/b"));
    EXPECT_EQ(shown.changes, 1);
    shown.list.SetFolder(tree.Path("a/b"));
    shown.list.SetFolder("");
    EXPECT_EQ(shown.changes, 1);
    // Other spelling of the same folder: rebuilt and reported once more.
    shown.list.SetFolder(tree.Path("a/b/../b/"));
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("a/b"));
    EXPECT_EQ(shown.changes, 2);
}

TEST(DirectoryListMoves, FoldersThatCannotBeEnteredKeepTheList) {
    TempTree tree;
    tree.Folder("here/sub");
    ShownList shown(tree.Path("here"));
    const size_t rows = shown.list.Rows().size();
    shown.list.SetFolder(tree.Path("missing"));
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("here"));
    EXPECT_EQ(shown.changes, 1);
    EXPECT_EQ(shown.list.Rows().size(), rows);

    // A file is no folder either.
    tree.File("here/pic.jpg");
    shown.list.SetFolder(tree.Path("here/pic.jpg"));
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("here"));

    // The listed folder removed meanwhile: path rows only.
    std::filesystem::remove_all(tree.Path("here/sub"));
    std::filesystem::remove_all(tree.Path("here"));
    shown.list.FillFolders();
    EXPECT_EQ(shown.list.Rows().size(), PathRows(tree.Path("here")));
}

TEST(DirectoryListMoves, LockedFoldersAreNotEnteredUnreadableOnesShowTheirPathOnly) {
    if (RunningAsRoot()) GTEST_SKIP() << "permission bits do not hold for the superuser";
    TempTree tree;
    ShownList shown(tree.Root());
    tree.Folder("closed/sub");
    ::chmod(tree.Path("closed").c_str(), 0);
    shown.list.SetFolder(tree.Path("closed"));
    EXPECT_NE(shown.list.FolderPath(), tree.Path("closed"));
    tree.Folder("blind/sub");
    ::chmod(tree.Path("blind").c_str(), 0311);
    shown.list.SetFolder(tree.Path("blind"));
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("blind"));
    EXPECT_EQ(shown.list.Rows().size(), PathRows(tree.Path("blind")));
}

}  // namespace
}  // namespace kv::test

namespace kv::test {
namespace {

TEST(DirectoryListLinks, ALinkedFileListFollowsAndHandsPathsBack) {
    TempTree tree;
    tree.Folder("pics/more");
    tree.File("pics/a.jpg");
    tree.File("pics/more/b.jpg");
    ShownList shown(tree.Root());
    auto files = std::make_unique<TFileListBox>();
    files->SetMask("*.jpg");
    files->CreateWnd();
    shown.list.SetFileList(files.get());
    EXPECT_EQ(files->DirList(), &shown.list);

    shown.list.SetFolder("pics");
    EXPECT_EQ(files->FolderPath(), tree.Path("pics"));
    ASSERT_EQ(files->Rows().size(), 1u);

    // A path taken by the file list moves the directory list, which moves the file list.
    files->AcceptPath(tree.Path("pics/more"));
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("pics/more"));
    EXPECT_EQ(files->FolderPath(), tree.Path("pics/more"));
    EXPECT_EQ(shown.changes, 2);

    // Destroying the file list clears the link; the directory list goes on alone.
    files.reset();
    EXPECT_EQ(shown.list.FileList(), nullptr);
    shown.list.SetFolder("..");
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("pics"));
}

TEST(DirectoryListLinks, DestroyingTheDirectoryListClearsTheBackLink) {
    TFileListBox files;
    {
        TDirectoryListBox dirs;
        dirs.SetFileList(&files);
        EXPECT_EQ(files.DirList(), &dirs);
    }
    EXPECT_EQ(files.DirList(), nullptr);
}

}  // namespace
}  // namespace kv::test
