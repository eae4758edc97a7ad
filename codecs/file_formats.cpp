#include "codecs/file_formats.h"

#include <algorithm>

#include "codecs/icon.h"
#include "codecs/metafile.h"
#include "graphics/bitmap.h"

namespace kv {

std::string LowerCaseExtension(const std::string& text) {
    std::string lower = text;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

TFileFormatsList::TFileFormatsList() {
    Add("wmf", "Metafiles", GraphicClassOf<TMetafile>());
    Add("emf", "Enhanced Metafiles", GraphicClassOf<TMetafile>());
    Add("ico", "Icons", GraphicClassOf<TIcon>());
    Add("bmp", "Bitmaps", GraphicClassOf<TBitmap>());
}

void TFileFormatsList::Add(const std::string& extension, const std::string& description, int descriptionResource,
                           const TGraphicClass& graphicClass) {
    entries_.push_back(TFileFormat{LowerCaseExtension(extension), description, &graphicClass, descriptionResource});
}

void TFileFormatsList::Remove(const TGraphicClass& graphicClass) {
    std::erase_if(entries_, [&](const TFileFormat& f) { return f.graphicClass->InheritsFrom(graphicClass); });
}

const TGraphicClass* TFileFormatsList::FindExt(const std::string& extension) const {
    const std::string lower = LowerCaseExtension(extension);
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        if (it->extension == lower) return it->graphicClass;
    return nullptr;
}

const TGraphicClass* TFileFormatsList::FindClassName(const std::string& name) const {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        if (it->graphicClass->Name() == name) return it->graphicClass;
    return nullptr;
}

TClipboardFormats::TClipboardFormats() {
    Add(3, GraphicClassOf<TMetafile>());   // metafile picture
    Add(14, GraphicClassOf<TMetafile>());  // enhanced metafile
    Add(2, GraphicClassOf<TBitmap>());     // bitmap
}

void TClipboardFormats::Add(uint32_t format, const TGraphicClass& graphicClass) {
    entries_.push_back(Entry{format, &graphicClass});
}

void TClipboardFormats::Remove(const TGraphicClass& graphicClass) {
    std::erase_if(entries_, [&](const Entry& e) { return e.graphicClass->InheritsFrom(graphicClass); });
}

const TGraphicClass* TClipboardFormats::FindFormat(uint32_t format) const {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        if (it->format == format) return it->graphicClass;
    return nullptr;
}

uint32_t TClipboardFormats::RegisterFormatName(const std::string& name) {
    // Registered names get numbers from 0xC000 on, as system-registered formats do.
    const auto it = std::find(names_.begin(), names_.end(), name);
    const size_t index = it != names_.end() ? static_cast<size_t>(it - names_.begin()) : names_.size();
    if (it == names_.end()) names_.push_back(name);
    return 0xC000u + static_cast<uint32_t>(index);
}

TFileFormatsList& GetFileFormats() {
    static TFileFormatsList formats;
    return formats;
}

TClipboardFormats& GetClipboardFormats() {
    static TClipboardFormats formats;
    return formats;
}

void RegisterFileFormat(const std::string& extension, const std::string& description,
                        const TGraphicClass& graphicClass) {
    GetFileFormats().Add(extension, description, graphicClass);
}

void UnregisterGraphicClass(const TGraphicClass& graphicClass) {
    GetFileFormats().Remove(graphicClass);
    GetClipboardFormats().Remove(graphicClass);
}

}  // namespace kv
