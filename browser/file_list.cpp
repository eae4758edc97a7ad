#include "browser/file_list.h"

#include <algorithm>

#include "browser/directory_list.h"
#include "browser/path_routines.h"
#include "browser/platform_fs.h"
#include "browser/wildcard.h"
#include "runtime/exceptions.h"

namespace kv {
namespace {

// The platform attribute bit each member of the type set searches for; ftNormal adds none.
unsigned SearchAttributes(TFileType type) {
    unsigned attributes = 0;
    if (type.Contains(TFileAttr::ftReadOnly)) attributes |= platform::kAttrReadOnly;
    if (type.Contains(TFileAttr::ftHidden)) attributes |= platform::kAttrHidden;
    if (type.Contains(TFileAttr::ftSystem)) attributes |= platform::kAttrSystem;
    if (type.Contains(TFileAttr::ftVolumeID)) attributes |= platform::kAttrVolumeId;
    if (type.Contains(TFileAttr::ftDirectory)) attributes |= platform::kAttrDirectory;
    if (type.Contains(TFileAttr::ftArchive)) attributes |= platform::kAttrArchive;
    return attributes;
}

// Entries with these attributes are listed only when the search asks for them.
constexpr unsigned kExcludedUnlessAsked =
    platform::kAttrHidden | platform::kAttrSystem | platform::kAttrVolumeId | platform::kAttrDirectory;

// A listing that reaches this many rows is a long one. (Folders listed in name order would place
// that row at index 100; here the folder's order is the file system's, so the count decides.)
constexpr size_t kBusyRows = 101;

TGlyphRole FileGlyph(const std::string& name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || name.size() - dot != 4) return TGlyphRole::UnknownFile;
    const std::string extension = LowerCaseName(name.substr(dot));
    if (extension == ".exe" || extension == ".com" || extension == ".bat" || extension == ".pif") {
        return TGlyphRole::Executable;
    }
    return TGlyphRole::UnknownFile;
}

}  // namespace

TFileListBox::TFileListBox() : folderPath_(platform::CurrentDirectory()) {}

TFileListBox::~TFileListBox() {
    if (dirList_) dirList_->fileList_ = nullptr;
}

void TFileListBox::CreateWnd() {
    handleAllocated_ = true;
    FillFiles();
}

bool TFileListBox::SameFolder(const std::string& a, const std::string& b) const {
    return SameName(a, b, platform::VolumeCaseRules(folderPath_).matchesCase);
}

void TFileListBox::SetFolder(const std::string& path, const platform::FolderListingPtr& listing) {
    if (SameFolder(path, folderPath_)) return;
    const std::string entered = platform::EnterableFolder(ResolvePath(path, folderPath_).folder);
    if (!entered.empty()) folderPath_ = entered;
    Fill(listing);
}

void TFileListBox::SetMask(const std::string& value) {
    if (value == mask_) return;
    mask_ = value;
    FillFiles();
}

void TFileListBox::SetFileType(TFileType value) {
    if (value == fileType_) return;
    fileType_ = value;
    FillFiles();
}

void TFileListBox::SetShowGlyphs(bool value) {
    if (value == showGlyphs_) return;
    showGlyphs_ = value;
    NotifyRows();
}

std::string TFileListBox::SelectedName() const {
    if (itemIndex_ < 0 || itemIndex_ >= static_cast<int>(rows_.size())) return {};
    return rows_[static_cast<size_t>(itemIndex_)].text;
}

std::string TFileListBox::SelectedPath() const {
    const std::string name = SelectedName();
    return name.empty() ? std::string() : JoinPath(folderPath_, name);
}

void TFileListBox::SelectByName(const std::string& name) {
    if (SameFolder(name, SelectedName())) return;
    // The search starts at the second row and wraps round, so the first row is tried last. An
    // exact match wins over one that differs only in case: on a case-sensitive volume both
    // spellings can be files of their own.
    const int count = static_cast<int>(rows_.size());
    int found = -1;
    for (int pass = 0; pass < 2 && found < 0; ++pass) {
        for (int step = 0; step < count; ++step) {
            const int row = (1 + step) % count;
            const std::string& text = rows_[static_cast<size_t>(row)].text;
            if (pass == 0 ? text == name : LowerCaseName(text) == LowerCaseName(name)) {
                found = row;
                break;
            }
        }
    }
    itemIndex_ = found;
    NotifyRows();
    ReportChange();
}

void TFileListBox::ClickRow(int index) {
    if (index < -1 || index >= static_cast<int>(rows_.size())) index = -1;
    itemIndex_ = index;
    if (OnClick) OnClick();
    if (itemIndex_ != lastReported_) ReportChange();
}

void TFileListBox::AcceptPath(const std::string& text, const platform::FolderListingPtr& listing) {
    if (text.empty() || SameFolder(text, SelectedPath())) return;
    const ResolvedPath resolved = ResolvePath(text, folderPath_);
    if (dirList_) {
        // The directory list moves, and its change report moves this list.
        dirList_->SetFolder(text);
    } else {
        SetFolder(resolved.folder, listing);
    }
    if (HasWildcard(resolved.finalPart)) {
        SetMask(resolved.finalPart);
    } else if (!resolved.finalPart.empty()) {
        SelectByName(resolved.finalPart);
        if (!platform::FileExists(JoinPath(resolved.folder, resolved.finalPart))) {
            throw EInvalidOperation("Invalid file name - " + text);
        }
        if (ItemIndex() < 0) {
            SetMask(resolved.finalPart);
            SelectByName(resolved.finalPart);
        }
    }
}

void TFileListBox::SortRows() {
    // The same order as inserting each row after its equals, without the quadratic cost of
    // inserting into large folders one row at a time. Names that differ only in case (distinct
    // files on a case-sensitive volume) go by their bytes, not by the folder's own order. Each
    // row's collation key is made once, not at every comparison.
    std::vector<std::pair<std::string, size_t>> keys;
    keys.reserve(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) keys.emplace_back(platform::CollationKey(LowerCaseName(rows_[i].text)), i);
    std::stable_sort(keys.begin(), keys.end(), [this](const auto& a, const auto& b) {
        if (a.first != b.first) return a.first < b.first;
        return rows_[a.second].text < rows_[b.second].text;
    });
    std::vector<TFileRow> sorted;
    sorted.reserve(rows_.size());
    for (const auto& key : keys) sorted.push_back(std::move(rows_[key.second]));
    rows_ = std::move(sorted);
}

void TFileListBox::FillFiles() { Fill(nullptr); }

void TFileListBox::Fill(const platform::FolderListingPtr& listing) {
    if (!handleAllocated_) return;
    const unsigned search = SearchAttributes(fileType_);
    const bool normal = fileType_.Contains(TFileAttr::ftNormal);
    // Only a search for read-only entries without ftNormal needs to know which ones are.
    const bool askReadOnly = !normal && (search & platform::kAttrReadOnly) != 0;
    rows_.clear();
    itemIndex_ = -1;
    // The hourglass, once shown, goes away however the filling ends.
    struct BusyCursor {
        const std::function<void(bool)>& show;
        bool shown = false;
        void Set() {
            if (!shown && show) show(true);
            shown = true;
        }
        ~BusyCursor() {
            if (shown && show) show(false);
        }
    } busy{OnBusyCursor};
    const bool reuse = listing && listing->folder == folderPath_;
    const std::vector<platform::FolderEntry> read = reuse ? std::vector<platform::FolderEntry>{} : platform::ListFolder(folderPath_);
    const std::vector<platform::FolderEntry>& entries = reuse ? listing->entries : read;
    // One pass per pattern, so a file two patterns match is listed twice.
    for (const std::string& pattern : SplitMask(mask_)) {
        for (const platform::FolderEntry& entry : entries) {
            if (MatchesWildcard(pattern, entry.name)) {
                unsigned attributes = entry.attributes;
                if (askReadOnly && platform::EntryReadOnly(folderPath_, entry.name)) attributes |= platform::kAttrReadOnly;
                if ((attributes & kExcludedUnlessAsked & ~search) == 0 && (normal || (attributes & search) != 0)) {
                    if ((attributes & platform::kAttrDirectory) != 0) {
                        rows_.push_back({"[" + entry.name + "]", showGlyphs_ ? TGlyphRole::ClosedFolder : TGlyphRole::None});
                    } else {
                        rows_.push_back({entry.name, FileGlyph(entry.name)});
                    }
                }
            }
            if (rows_.size() >= kBusyRows) busy.Set();
        }
    }
    SortRows();
    NotifyRows();
    ReportChange();
}

void TFileListBox::ReportChange() {
    lastReported_ = itemIndex_;
    if (OnChange) OnChange();
}

void TFileListBox::NotifyRows() {
    if (OnRowsChanged) OnRowsChanged();
}

}  // namespace kv
