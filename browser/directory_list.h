#pragma once
// TDirectoryListBox as a model: one row per component of the current folder's path, from the
// root "/" down to the folder itself, then one row per subfolder; opening a row moves there and
// reports a change. A window-layer widget mirrors the rows and passes the player's actions in.
//
// Paths have no drive letters here: the root directory is every path's drive part, so a drive
// change never happens and the rows always start at "/".
#include <functional>
#include <string>
#include <vector>

#include "browser/glyph_role.h"
#include "browser/platform_fs.h"

namespace kv {

class TFileListBox;

struct TDirectoryRow {
    std::string text;
    TGlyphRole glyph = TGlyphRole::None;  // OpenFolder, CurrentFolder or ClosedFolder
};

class TDirectoryListBox {
public:
    // FolderPath starts as the process's current directory.
    TDirectoryListBox();
    ~TDirectoryListBox();
    TDirectoryListBox(const TDirectoryListBox&) = delete;
    TDirectoryListBox& operator=(const TDirectoryListBox&) = delete;

    // A file list that follows this list: every change report moves it to FolderPath (linking
    // alone moves nothing). The link and the file list's back-link are cleared when either list
    // is destroyed.
    TFileListBox* FileList() const { return fileList_; }
    void SetFileList(TFileListBox* list);

    // The list's window exists from here on: the rows are built, the current folder's row is
    // selected, and no change is reported.
    void CreateWnd();

    const std::string& FolderPath() const { return folderPath_; }
    // Moves to another folder (a relative path is taken from the current one). An empty path or
    // the current folder changes nothing; otherwise the rows are rebuilt and one change is
    // reported, also when the folder could not be entered and the list stays where it was. A
    // volume's mount point that cannot be entered (gone, not ready, locked) takes the list to the
    // root of the volume it was on instead. The path is kept as walked (see EnterableFolder).
    void SetFolder(const std::string& path);
    // While a change is being reported: the reading of FolderPath the rows were built from, for a
    // file list showing the same folder; empty otherwise.
    const platform::FolderListingPtr& Listing() const { return listing_; }

    // The mount points of the volumes a player can pick, asked when a folder cannot be entered;
    // this system's volumes unless set.
    using VolumeRootsSource = std::function<std::vector<std::string>()>;
    void SetVolumeRoots(VolumeRootsSource source) { volumeRoots_ = std::move(source); }

    const std::vector<TDirectoryRow>& Rows() const { return rows_; }
    int ItemIndex() const { return itemIndex_; }
    // The player moved the selection (click, arrow key, type-ahead): the folder stays.
    void ClickRow(int index);
    // The full path a row stands for; empty past the last row.
    std::string RowPath(int index) const;
    // Double click or Enter: moves to the selected row's folder.
    void OpenSelectedRow();

    // How far a row's glyph is drawn from the left edge: the path rows step in by 4 pixels each,
    // the subfolders sit one step deeper than the current folder.
    int RowIndent(int index) const;
    // The row's text as shown: lower-cased when the volume does not keep letter case.
    std::string DisplayText(int index) const;

    // Rebuilds the rows for FolderPath.
    void FillFolders();

    std::function<void()> OnChange;
    std::function<void()> OnClick;
    // For the widget: rows or selection changed by the model itself (runs before OnChange).
    std::function<void()> OnRowsChanged;

private:
    friend class TFileListBox;  // keeps the link up to date

    bool SameFolder(const std::string& a, const std::string& b) const;
    std::string RootOfVolumeLeft(const std::string& target) const;
    void Fill();
    void ReportChange();

    TFileListBox* fileList_ = nullptr;
    VolumeRootsSource volumeRoots_;
    std::string folderPath_;
    bool keepsCase_ = true;
    bool matchesCase_ = true;
    bool handleAllocated_ = false;
    std::vector<TDirectoryRow> rows_;
    int itemIndex_ = -1;
    platform::FolderListingPtr listing_;
};

}  // namespace kv
