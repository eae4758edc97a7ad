#pragma once
// The two registries that choose an extension's class before it is read: extension kinds by
// label (TExtensionList) and application kinds by their 11-byte identifier (TAppExtensionList).
// Both are made on first use and hold the built-in kinds only.
#include <cstdint>
#include <memory>
#include <vector>

#include "codecs/gif/gif_app_extensions.h"
#include "codecs/gif/gif_errors.h"

namespace kv {

using TGIFExtensionFactory = std::unique_ptr<TGIFExtension> (*)(TGIFSubImage& frame);

class TExtensionList {
public:
    struct Kind {
        uint8_t label;
        TGIFExtensionFactory create;
    };
    TExtensionList();
    // nullptr for a label no kind is registered for.
    TGIFExtensionFactory Find(uint8_t label) const;

private:
    std::vector<Kind> kinds_;
};

class TAppExtensionList {
public:
    struct Kind {
        TGIFApplicationExtension::Identifier identifier;
        TGIFExtensionFactory create;
    };
    TAppExtensionList();
    // Compared byte for byte over all 11 bytes; nullptr when none matches.
    TGIFExtensionFactory Find(const TGIFApplicationExtension::Identifier& identifier) const;

private:
    std::vector<Kind> kinds_;
};

TExtensionList& ExtensionKinds();
TAppExtensionList& AppExtensionKinds();

// The class for the extension whose introducer is at the stream's position, looking at its label
// and, for application extensions, at the block size and identifier. The position is restored.
// nullptr when no class fits (the caller raises "Unknown extension type").
TGIFExtensionFactory ResolveExtensionClass(TStream& stream);

}  // namespace kv
