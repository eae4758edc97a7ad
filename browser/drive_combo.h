#pragma once
// TDriveComboBox as a model: a drop-down list of the volumes (see volumes.h), one row per
// volume with a glyph for its kind and a text made of its key, ": " and its label or remote
// name. Without drive letters each volume gets a one-letter key instead, "a" for the first row,
// "b" for the next and so on; DriveLetter is that key, and DriveRoot names the volume's folder.
// A window-layer widget mirrors the rows and passes the player's picks in.
#include <functional>
#include <string>
#include <vector>

#include "browser/glyph_role.h"
#include "browser/volumes.h"

namespace kv {

enum class TTextCase { tcLowerCase, tcUpperCase };

struct TDriveRow {
    std::string text;
    TGlyphRole glyph = TGlyphRole::None;
};

class TDriveComboBox {
public:
    using VolumeSource = std::function<std::vector<TVolume>()>;

    // `volumes` is asked whenever the rows are built; `startFolder` (normally the process's
    // current directory) decides which volume is selected when the window is created.
    TDriveComboBox(VolumeSource volumes = [] { return DiscoverVolumes(); }, std::string startFolder = {});

    // The window exists from here on: the rows are built and the volume holding the start
    // folder is selected, which raises the change event once.
    void CreateWnd();

    // The selected volume's key in the case TextCase asks for; '\0' when none is selected.
    char DriveLetter() const { return driveLetter_; }
    void SetDriveLetter(char letter);
    // The folder of the volume whose key is DriveLetter; empty when none.
    std::string DriveRoot() const;

    TTextCase TextCase() const { return textCase_; }
    void SetTextCase(TTextCase value);

    const std::vector<TDriveRow>& Rows() const { return rows_; }
    int ItemIndex() const { return itemIndex_; }
    // The closed box's text: the row picked last.
    const std::string& Text() const { return text_; }

    // The player picked a row from the dropped-down list (or moved to it with the keyboard).
    void PickRow(int index);

    // Rebuilds the rows; none is selected afterwards.
    void FillDrives();

    std::function<void()> OnChange;
    std::function<void()> OnClick;
    // For the widget: rows or selection changed by the model itself (runs before OnChange).
    std::function<void()> OnRowsChanged;

private:
    char KeyOf(size_t row) const;
    char KeyOfFolder(const std::string& folder) const;
    std::string CaseOf(const std::string& text) const;
    void Change();

    VolumeSource volumeSource_;
    std::string startFolder_;
    std::vector<TVolume> volumes_;  // parallel to rows_
    std::vector<TDriveRow> rows_;
    std::string text_;
    char driveLetter_ = '\0';
    TTextCase textCase_ = TTextCase::tcLowerCase;
    int itemIndex_ = -1;
};

}  // namespace kv
