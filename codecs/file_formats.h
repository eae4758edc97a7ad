#pragma once
// The registry of picture file formats: which picture class reads files of which extension.
// One process-wide list, created with its four built-in entries on first use; the JPEG and GIF
// units add theirs through explicit start-up calls (see RegisterStandardFormats). Filled while the
// program starts and only read afterwards, so it has no lock.
#include <cstdint>
#include <string>
#include <vector>

#include "codecs/graphic_class.h"

namespace kv {

struct TFileFormat {
    std::string extension;    // without the dot, lower case
    std::string description;
    const TGraphicClass* graphicClass = nullptr;
    int descriptionResource = 0;
};

class TFileFormatsList {
public:
    // A list holding the built-in entries: wmf, emf (TMetafile), ico (TIcon), bmp (TBitmap).
    TFileFormatsList();

    // Appends an entry; the extension is stored lower-cased.
    void Add(const std::string& extension, const std::string& description, int descriptionResource,
             const TGraphicClass& graphicClass);
    void Add(const std::string& extension, const std::string& description, const TGraphicClass& graphicClass) {
        Add(extension, description, 0, graphicClass);
    }
    // Removes every entry whose class is graphicClass or descends from it.
    void Remove(const TGraphicClass& graphicClass);

    // The class for an extension (without the dot, any letter case), searching from the last
    // entry to the first so that a later registration wins; nullptr when there is none.
    const TGraphicClass* FindExt(const std::string& extension) const;
    // The class of that exact name (letter case significant), last entry first; nullptr if none.
    const TGraphicClass* FindClassName(const std::string& name) const;

    const std::vector<TFileFormat>& Entries() const { return entries_; }

private:
    std::vector<TFileFormat> entries_;
};

// The clipboard-format companion: clipboard format numbers to picture classes (3 and 14 metafile,
// 2 bitmap; GIF adds its own). Kept for completeness of unregistering; the game has no clipboard.
class TClipboardFormats {
public:
    TClipboardFormats();
    void Add(uint32_t format, const TGraphicClass& graphicClass);
    void Remove(const TGraphicClass& graphicClass);
    const TGraphicClass* FindFormat(uint32_t format) const;
    // A number for a format name, stable for the process (names registered with the system).
    uint32_t RegisterFormatName(const std::string& name);

private:
    struct Entry {
        uint32_t format;
        const TGraphicClass* graphicClass;
    };
    std::vector<Entry> entries_;
    std::vector<std::string> names_;
};

// The process-wide registries, created on first use.
TFileFormatsList& GetFileFormats();
TClipboardFormats& GetClipboardFormats();

// Registers a file format in the process-wide list.
void RegisterFileFormat(const std::string& extension, const std::string& description,
                        const TGraphicClass& graphicClass);
// Removes the class and its descendants from both process-wide registries.
void UnregisterGraphicClass(const TGraphicClass& graphicClass);

// ASCII lower-casing, byte by byte (other bytes pass unchanged), as extensions are compared.
std::string LowerCaseExtension(const std::string& text);

}  // namespace kv
