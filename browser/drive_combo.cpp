#include "browser/drive_combo.h"

#include <cctype>

#include "browser/path_routines.h"
#include "browser/platform_fs.h"

namespace kv {
namespace {

constexpr size_t kMaxKeys = 26;

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

std::string UpperCaseName(const std::string& name) {
    std::string upper = name;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

TGlyphRole GlyphOf(TDriveKind kind) {
    switch (kind) {
        case TDriveKind::Removable: return TGlyphRole::Floppy;
        case TDriveKind::Fixed: return TGlyphRole::Hard;
        case TDriveKind::Network: return TGlyphRole::Network;
        case TDriveKind::CDRom: return TGlyphRole::CDRom;
        case TDriveKind::RamDisk: return TGlyphRole::Ram;
    }
    return TGlyphRole::None;
}

}  // namespace

TDriveComboBox::TDriveComboBox(VolumeSource volumes, std::string startFolder)
    : volumeSource_(std::move(volumes)),
      startFolder_(startFolder.empty() ? platform::CurrentDirectory() : std::move(startFolder)) {}

void TDriveComboBox::CreateWnd() {
    FillDrives();
    SetDriveLetter(KeyOfFolder(startFolder_));
}

char TDriveComboBox::KeyOf(size_t row) const {
    const char key = static_cast<char>('a' + row);
    return textCase_ == TTextCase::tcUpperCase ? Upper(key) : key;
}

// The key of the volume holding the folder: the one with the longest matching mount point.
char TDriveComboBox::KeyOfFolder(const std::string& folder) const {
    size_t best = volumes_.size();
    for (size_t i = 0; i < volumes_.size(); ++i) {
        if (!PathWithin(folder, volumes_[i].mountPoint)) continue;
        if (best == volumes_.size() || volumes_[i].mountPoint.size() > volumes_[best].mountPoint.size()) best = i;
    }
    return best == volumes_.size() ? '\0' : KeyOf(best);
}

std::string TDriveComboBox::CaseOf(const std::string& text) const {
    return textCase_ == TTextCase::tcUpperCase ? UpperCaseName(text) : LowerCaseName(text);
}

void TDriveComboBox::FillDrives() {
    rows_.clear();
    itemIndex_ = -1;
    volumes_ = volumeSource_ ? volumeSource_() : std::vector<TVolume>{};
    if (volumes_.size() > kMaxKeys) volumes_.resize(kMaxKeys);
    for (size_t i = 0; i < volumes_.size(); ++i) {
        const TVolume& volume = volumes_[i];
        const std::string key = std::string(1, KeyOf(i)) + ":";
        const std::string volumeText = "[" + CaseOf(volume.label) + "]";
        std::string text;
        switch (volume.kind) {
            case TDriveKind::Network:
                text = key + " " + (volume.remoteName.empty() ? volumeText : CaseOf(volume.remoteName));
                break;
            default: text = key + " " + volumeText; break;
        }
        rows_.push_back({text, GlyphOf(volume.kind)});
    }
    if (OnRowsChanged) OnRowsChanged();
}

std::string TDriveComboBox::DriveRoot() const {
    if (driveLetter_ == '\0') return {};
    for (size_t i = 0; i < volumes_.size(); ++i) {
        if (Upper(KeyOf(i)) == Upper(driveLetter_)) return volumes_[i].mountPoint;
    }
    return {};
}

void TDriveComboBox::SetDriveLetter(char letter) {
    if (itemIndex_ >= 0 && Upper(letter) == Upper(driveLetter_)) return;
    if (letter == '\0') {
        driveLetter_ = '\0';
        itemIndex_ = -1;
    } else {
        driveLetter_ = textCase_ == TTextCase::tcUpperCase ? Upper(letter) : Lower(letter);
        for (size_t i = 0; i < rows_.size(); ++i) {
            const std::string& text = rows_[i].text;
            if (text.size() >= 2 && Upper(text[0]) == Upper(driveLetter_) && text[1] == ':') {
                itemIndex_ = static_cast<int>(i);
                text_ = text;
                break;
            }
        }
    }
    if (OnRowsChanged) OnRowsChanged();
    Change();
}

void TDriveComboBox::SetTextCase(TTextCase value) {
    textCase_ = value;
    const char held = driveLetter_;
    FillDrives();
    SetDriveLetter(held);
}

void TDriveComboBox::PickRow(int index) {
    if (index < 0 || index >= static_cast<int>(rows_.size())) return;
    itemIndex_ = index;
    text_ = rows_[static_cast<size_t>(index)].text;
    if (OnClick) OnClick();
    if (itemIndex_ >= 0) SetDriveLetter(rows_[static_cast<size_t>(itemIndex_)].text[0]);
    Change();
}

void TDriveComboBox::Change() {
    if (OnChange) OnChange();
}

}  // namespace kv
