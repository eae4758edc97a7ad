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

namespace kv::test {
namespace {

TEST(DirectoryListMoves, SymbolicLinksKeepThePathAsWalkedAndLoopsDoNotDeepenIt) {
    TempTree tree;
    tree.Folder("home");
    tree.Folder("elsewhere/pics/sub");
    tree.File("elsewhere/pics/a.jpg");
    std::filesystem::create_directory_symlink(tree.Path("elsewhere/pics"), tree.Path("home/Pictures"));
    ShownList shown(tree.Path("home"));
    TFileListBox files;
    files.SetFolder(tree.Path("home"));
    files.CreateWnd();
    shown.list.SetFileList(&files);

    shown.list.SetFolder("Pictures");
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("home/Pictures"));
    EXPECT_EQ(files.FolderPath(), tree.Path("home/Pictures"));
    const int current = shown.list.ItemIndex();
    ASSERT_GE(current, 1);
    ASSERT_EQ(shown.list.Rows().size(), static_cast<size_t>(current) + 2);
    EXPECT_EQ(shown.list.Rows()[static_cast<size_t>(current) - 1].text, "home");
    EXPECT_EQ(shown.list.Rows()[static_cast<size_t>(current)].text, "Pictures");
    EXPECT_EQ(shown.list.Rows()[static_cast<size_t>(current) + 1].text, "sub");
    files.ClickRow(0);
    EXPECT_EQ(files.SelectedPath(), tree.Path("home/Pictures/a.jpg"));

    // Down and up again by "..": back on the walked path, not the link's target's parent.
    shown.list.SetFolder("sub");
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("home/Pictures/sub"));
    shown.list.SetFolder("..");
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("home/Pictures"));
    // The row above leads back where the player came from.
    shown.list.ClickRow(current - 1);
    shown.list.OpenSelectedRow();
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("home"));

    // A link back to a folder already on the path leads to that folder, however often followed.
    std::filesystem::create_directory_symlink(tree.Path("home"), tree.Path("elsewhere/pics/sub/top"));
    shown.list.SetFolder(tree.Path("home/Pictures/sub"));
    for (int i = 0; i < 3; ++i) {
        shown.list.SetFolder("top");
        EXPECT_EQ(shown.list.FolderPath(), tree.Path("home"));
        shown.list.SetFolder("Pictures/sub");
    }
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("home/Pictures/sub"));
}

TEST(DirectoryListMoves, AVolumeThatCannotBeEnteredLeadsToTheRootOfTheVolumeItWasOn) {
    TempTree tree;
    tree.Folder("disk/pics/deep");
    ShownList shown(tree.Path("disk/pics/deep"));
    shown.list.SetVolumeRoots([&] { return std::vector<std::string>{"/", tree.Path("disk"), tree.Path("stick")}; });
    // The stick is listed but gone (pulled out, unmounted): its mount point cannot be entered.
    shown.list.SetFolder(tree.Path("stick"));
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("disk"));
    EXPECT_EQ(shown.changes, 1);
    EXPECT_EQ(shown.list.Rows()[static_cast<size_t>(shown.list.ItemIndex())].text, "disk");
    // A plain folder that cannot be entered keeps the list where it was.
    shown.list.SetFolder("pics");
    shown.list.SetFolder(tree.Path("disk/missing"));
    EXPECT_EQ(shown.list.FolderPath(), tree.Path("disk/pics"));
    EXPECT_EQ(shown.changes, 3);
}

TEST(DirectoryListLinks, AFolderChangeReadsTheFolderOnceForBothListsWithoutStatusPerEntry) {
    TempTree tree;
    tree.Folder("big/sub");
    tree.Folder("big/Art");
    for (int i = 0; i < 60; ++i) {
        tree.File("big/f" + std::to_string(i) + (i % 3 == 0 ? ".jpg" : i % 3 == 1 ? ".GIF" : ".txt"));
    }
    std::filesystem::create_symlink(tree.Path("big/f0.jpg"), tree.Path("big/linked.jpg"));
    std::filesystem::create_directory_symlink(tree.Path("big/sub"), tree.Path("big/linkdir"));
    ShownList shown(tree.Root());
    TFileListBox files;
    files.SetFolder(tree.Root());
    files.SetMask("*.jpg;*.bmp;*.gif");
    files.CreateWnd();
    shown.list.SetFileList(&files);

    const unsigned long reads = platform::FolderReads();
    const unsigned long queries = platform::EntryQueries();
    shown.list.SetFolder(tree.Path("big"));
    EXPECT_EQ(platform::FolderReads() - reads, 1u);
    // The entries' types come with the folder; only the two links need their targets' status.
    EXPECT_LE(platform::EntryQueries() - queries, 2u);
    EXPECT_EQ(Texts(shown.list, PathRows(tree.Path("big"))), (std::vector<std::string>{"Art", "linkdir", "sub"}));
    ASSERT_EQ(files.Rows().size(), 41u);
    EXPECT_EQ(files.Rows()[0].text, "f0.jpg");
    EXPECT_EQ(files.Rows()[40].text, "linked.jpg");

    // The file list alone re-reads for itself.
    files.FillFiles();
    EXPECT_EQ(platform::FolderReads() - reads, 2u);
    EXPECT_EQ(files.Rows().size(), 41u);
}

}  // namespace
}  // namespace kv::test
