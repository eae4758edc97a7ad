#include "browser/directory_list.h"

#include <algorithm>

#include "browser/file_list.h"
#include "browser/path_routines.h"
#include "browser/platform_fs.h"
#include "browser/volumes.h"

namespace kv {
namespace {

// The components of a full path below the root: "/a/b" gives "a" and "b".
std::vector<std::string> Components(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < path.size()) {
        size_t end = path.find(kPathDelimiter, start);
        if (end == std::string::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace

TDirectoryListBox::TDirectoryListBox() : folderPath_(platform::CurrentDirectory()) {}

TDirectoryListBox::~TDirectoryListBox() { SetFileList(nullptr); }

void TDirectoryListBox::SetFileList(TFileListBox* list) {
    if (fileList_) fileList_->dirList_ = nullptr;
    fileList_ = list;
    if (fileList_) {
        if (fileList_->dirList_ && fileList_->dirList_ != this) fileList_->dirList_->fileList_ = nullptr;
        fileList_->dirList_ = this;
    }
}

void TDirectoryListBox::CreateWnd() {
    handleAllocated_ = true;
    FillFolders();
}

bool TDirectoryListBox::SameFolder(const std::string& a, const std::string& b) const {
    return SameName(a, b, matchesCase_);
}

void TDirectoryListBox::SetFolder(const std::string& path) {
    if (path.empty() || SameFolder(path, folderPath_)) return;
    const std::string target = ResolvePath(path, folderPath_).folder;
    std::string entered = platform::EnterableFolder(target);
    if (entered.empty()) entered = RootOfVolumeLeft(target);
    if (!entered.empty()) folderPath_ = entered;
    Fill();
    ReportChange();
    listing_.reset();
}

// For a volume's mount point that cannot be entered: the root of the volume holding the current
// folder (the deepest mount point above it), as a drive that is not ready leaves the list at the
// root of the drive it was on. Empty for any other folder.
std::string TDirectoryListBox::RootOfVolumeLeft(const std::string& target) const {
    std::vector<std::string> roots;
    if (volumeRoots_) {
        roots = volumeRoots_();
    } else {
        for (const TVolume& volume : DiscoverVolumes()) roots.push_back(volume.mountPoint);
    }
    if (std::find(roots.begin(), roots.end(), target) == roots.end()) return {};
    std::string current;
    for (const std::string& root : roots) {
        if (root != target && PathWithin(folderPath_, root) && root.size() > current.size()) current = root;
    }
    return current.empty() ? std::string() : platform::EnterableFolder(current);
}

void TDirectoryListBox::FillFolders() {
    Fill();
    listing_.reset();
}

void TDirectoryListBox::Fill() {
    rows_.clear();
    itemIndex_ = -1;
    const platform::CaseRules rules = platform::VolumeCaseRules(folderPath_);
    keepsCase_ = rules.keepsCase;
    matchesCase_ = rules.matchesCase;

    // The path rows: the root, the folders above the current one, the current one.
    const std::vector<std::string> parts = Components(folderPath_);
    rows_.push_back({std::string(1, kPathDelimiter), parts.empty() ? TGlyphRole::CurrentFolder : TGlyphRole::OpenFolder});
    for (size_t i = 0; i < parts.size(); ++i) {
        rows_.push_back({parts[i], i + 1 == parts.size() ? TGlyphRole::CurrentFolder : TGlyphRole::OpenFolder});
    }
    const int currentRow = static_cast<int>(rows_.size()) - 1;

    // The subfolders, sorted ignoring case. Names that differ only in case are both kept (in a
    // fixed order): on a case-sensitive volume they are different folders.
    auto listing = std::make_shared<platform::FolderListing>();
    listing->folder = folderPath_;
    listing->entries = platform::ListFolder(folderPath_);
    std::vector<std::string> names;
    for (const platform::FolderEntry& entry : listing->entries) {
        const unsigned skipped = platform::kAttrHidden | platform::kAttrSystem | platform::kAttrVolumeId;
        if ((entry.attributes & platform::kAttrDirectory) == 0 || (entry.attributes & skipped) != 0) continue;
        names.push_back(entry.name);
    }
    listing_ = std::move(listing);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const int order = CompareNamesIgnoringCase(a, b);
        return order != 0 ? order < 0 : a < b;
    });
    for (std::string& name : names) rows_.push_back({std::move(name), TGlyphRole::ClosedFolder});

    if (handleAllocated_) itemIndex_ = currentRow;
    if (OnRowsChanged) OnRowsChanged();
}

void TDirectoryListBox::ClickRow(int index) {
    if (index < -1 || index >= static_cast<int>(rows_.size())) index = -1;
    itemIndex_ = index;
    if (OnClick) OnClick();
}

std::string TDirectoryListBox::RowPath(int index) const {
    if (index < 0 || index >= static_cast<int>(rows_.size())) return {};
    const TDirectoryRow& row = rows_[static_cast<size_t>(index)];
    if (index == 0) return std::string(1, kPathDelimiter);
    if (row.glyph == TGlyphRole::ClosedFolder) return JoinPath(folderPath_, row.text);
    if (row.glyph == TGlyphRole::CurrentFolder) return folderPath_;
    // A folder above the current one: the path down to its row.
    std::string path;
    for (int i = 1; i <= index; ++i) path += kPathDelimiter + rows_[static_cast<size_t>(i)].text;
    return path;
}

void TDirectoryListBox::OpenSelectedRow() { SetFolder(RowPath(itemIndex_)); }

int TDirectoryListBox::RowIndent(int index) const {
    if (index >= 0 && index < static_cast<int>(rows_.size()) &&
        rows_[static_cast<size_t>(index)].glyph == TGlyphRole::ClosedFolder) {
        // The root "/" counts one delimiter, as a drive root does.
        const int delimiters = static_cast<int>(std::count(folderPath_.begin(), folderPath_.end(), kPathDelimiter));
        return 4 * delimiters + 6;
    }
    return 4 * index + 2;
}

std::string TDirectoryListBox::DisplayText(int index) const {
    if (index < 0 || index >= static_cast<int>(rows_.size())) return {};
    const std::string& text = rows_[static_cast<size_t>(index)].text;
    return keepsCase_ ? text : LowerCaseName(text);
}

void TDirectoryListBox::ReportChange() {
    if (fileList_) fileList_->SetFolder(folderPath_, listing_);
    if (OnChange) OnChange();
}

}  // namespace kv
