#include "codecs/gif/gif_extension_kinds.h"

#include <cstring>

#include "runtime/stream.h"

namespace kv {

namespace {

template <class T>
std::unique_ptr<TGIFExtension> Make(TGIFSubImage& frame) {
    return std::make_unique<T>(frame);
}

TGIFApplicationExtension::Identifier IdentifierOf(const char* text) {
    TGIFApplicationExtension::Identifier id{};
    std::memcpy(id.data(), text, id.size());
    return id;
}

// The application kind, from the block size byte and the identifier behind the label.
TGIFExtensionFactory ResolveApplication(TStream& stream) {
    uint8_t blockSize = 0;
    // Without a block size byte the base kind fails reading it ("Premature end of data").
    if (stream.ReadUpTo(&blockSize, 1) != 1 || blockSize < 10) return &Make<TGIFApplicationExtension>;
    TGIFApplicationExtension::Identifier id{};
    const int want = blockSize == 10 ? 10 : TGIFApplicationExtension::kIdentifierSize;
    if (stream.ReadUpTo(id.data(), want) != want) return nullptr;
    if (blockSize == 11) {
        if (TGIFExtensionFactory kind = AppExtensionKinds().Find(id)) return kind;
    }
    return &Make<TGIFUnknownAppExtension>;
}

}  // namespace

TExtensionList::TExtensionList()
    : kinds_{{TGIFTextExtension::kLabel, &Make<TGIFTextExtension>},
             {TGIFGraphicControlExtension::kLabel, &Make<TGIFGraphicControlExtension>},
             {TGIFCommentExtension::kLabel, &Make<TGIFCommentExtension>},
             {TGIFApplicationExtension::kLabel, &Make<TGIFApplicationExtension>}} {}

TGIFExtensionFactory TExtensionList::Find(uint8_t label) const {
    for (const Kind& kind : kinds_)
        if (kind.label == label) return kind.create;
    return nullptr;
}

TAppExtensionList::TAppExtensionList()
    : kinds_{{IdentifierOf("NETSCAPE2.0"), &Make<TGIFAppExtNSLoop>},
             {IdentifierOf("ANIMEXTS1.0"), &Make<TGIFAppExtNSLoop>}} {}

TGIFExtensionFactory TAppExtensionList::Find(const TGIFApplicationExtension::Identifier& identifier) const {
    for (const Kind& kind : kinds_)
        if (kind.identifier == identifier) return kind.create;
    return nullptr;
}

TExtensionList& ExtensionKinds() {
    static TExtensionList list;
    return list;
}

TAppExtensionList& AppExtensionKinds() {
    static TAppExtensionList list;
    return list;
}

TGIFExtensionFactory ResolveExtensionClass(TStream& stream) {
    const int64_t start = stream.Position();
    uint8_t head[2];
    TGIFExtensionFactory kind = nullptr;
    if (stream.ReadUpTo(head, 2) == 2) {
        kind = ExtensionKinds().Find(head[1]);
        if (kind && head[1] == TGIFApplicationExtension::kLabel) kind = ResolveApplication(stream);
    }
    stream.SetPosition(start);
    return kind;
}

}  // namespace kv
