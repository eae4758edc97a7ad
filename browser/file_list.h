#pragma once
// TFileListBox as a model: the files of one folder that match a wildcard mask, in sorted rows,
// one selectable row, and the change event that tells which file is selected. A window-layer
// widget mirrors the rows and passes the player's selections in.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "browser/glyph_role.h"
#include "browser/platform_fs.h"
#include "runtime/enum_set.h"

namespace kv {

class TDirectoryListBox;

enum class TFileAttr : std::uint8_t {
    ftReadOnly = 1, ftHidden = 2, ftSystem = 4, ftVolumeID = 8, ftDirectory = 16, ftArchive = 32, ftNormal = 64
};
using TFileType = EnumSet<TFileAttr>;

struct TFileRow {
    std::string text;
    TGlyphRole glyph = TGlyphRole::None;
};

class TFileListBox {
public:
    // FolderPath starts as the process's current directory; the mask as "*.*".
    TFileListBox();
    ~TFileListBox();
    TFileListBox(const TFileListBox&) = delete;
    TFileListBox& operator=(const TFileListBox&) = delete;

    // The directory list that drives this list, if any (set by that list's SetFileList).
    TDirectoryListBox* DirList() const { return dirList_; }

    // The list's window exists from here on: the folder is read and a change reported.
    void CreateWnd();

    const std::string& FolderPath() const { return folderPath_; }
    // Moves to another folder (a relative path is taken from the current one) and re-reads it.
    // The same folder, spelled as the volume's case rule allows, changes nothing. A folder that
    // cannot be entered leaves FolderPath where it was; the list is re-read all the same.
    // `listing`, a reading of the folder just made by a list showing it too, is used instead of
    // reading the folder again when it is of the folder this list moves to.
    void SetFolder(const std::string& path, const platform::FolderListingPtr& listing = nullptr);

    const std::string& Mask() const { return mask_; }
    void SetMask(const std::string& value);
    TFileType FileType() const { return fileType_; }
    void SetFileType(TFileType value);
    bool ShowGlyphs() const { return showGlyphs_; }
    void SetShowGlyphs(bool value);

    const std::vector<TFileRow>& Rows() const { return rows_; }
    int ItemIndex() const { return itemIndex_; }
    int LastReported() const { return lastReported_; }
    // The selected row's text; empty when none is selected.
    std::string SelectedName() const;
    // The folder joined with SelectedName; empty when none is selected.
    std::string SelectedPath() const;
    // Selects the row holding the name (an exact match first, else one that differs only in
    // letter case) or no row, and reports a change, unless the name is already the selected one.
    void SelectByName(const std::string& name);

    // The player selected a row (click, arrow key, type-ahead); -1 for none. A change is
    // reported only when the selection differs from the one reported last.
    void ClickRow(int index);

    // Takes a folder, a file or a pattern: moves to the folder, and a pattern becomes the mask
    // while a file name is selected. A final part that is neither raises EInvalidOperation
    // "Invalid file name - <text>" (after the folder has been changed).
    // `listing` as for SetFolder.
    void AcceptPath(const std::string& text, const platform::FolderListingPtr& listing = nullptr);

    // Re-reads the folder; ends with a change report with no row selected.
    void FillFiles();

    std::function<void()> OnChange;
    std::function<void()> OnClick;
    // For the widget: rows or selection changed by the model itself (runs before OnChange).
    std::function<void()> OnRowsChanged;
    // For the widget: a long listing is under way (true: show the hourglass) or over (false).
    std::function<void(bool busy)> OnBusyCursor;

private:
    friend class TDirectoryListBox;  // keeps the back-link up to date

    void Fill(const platform::FolderListingPtr& listing);
    void SortRows();
    void ReportChange();
    void NotifyRows();
    bool SameFolder(const std::string& a, const std::string& b) const;

    TDirectoryListBox* dirList_ = nullptr;
    std::string folderPath_;
    std::string mask_ = "*.*";
    TFileType fileType_{TFileAttr::ftNormal};
    bool showGlyphs_ = false;
    bool handleAllocated_ = false;
    std::vector<TFileRow> rows_;
    int itemIndex_ = -1;
    int lastReported_ = -1;
};

}  // namespace kv
