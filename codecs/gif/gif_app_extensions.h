#pragma once
// Application extensions: the base reads the block size and the 11-byte identifier, a kind reads
// the data sub-blocks behind them. The looping extension ("NETSCAPE2.0", "ANIMEXTS1.0") keeps its
// repeat count; any other application keeps its sub-blocks raw.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "codecs/gif/gif_extensions.h"
#include "codecs/gif/gif_errors.h"

namespace kv {

struct TGIFApplicationFields {
    static constexpr int kIdentifierSize = 11;
    using Identifier = std::array<uint8_t, kIdentifierSize>;
    // 8 bytes of application identifier and 3 of authentication code.
    Identifier AppIdentifier{};
};

class TGIFApplicationExtension : public TGIFExtension, public TGIFApplicationFields {
public:
    static constexpr uint8_t kLabel = 0xFF;

    explicit TGIFApplicationExtension(TGIFSubImage& frame) : TGIFExtension(frame) {}
    uint8_t ExtensionLabel() const override { return kLabel; }
    std::unique_ptr<TGIFExtension> Clone(TGIFSubImage& frame) const override;

protected:
    // Block size 10: 10 identifier bytes; 0 to 9: GIFException "Unsupported Application Extension
    // block size"; 11 or more: 11 identifier bytes and the rest skipped. Then the payload.
    void ReadBody(TStream& stream) override;
    // The data sub-blocks behind the identifier. The base kind has none to read: it exists only
    // for block sizes it refuses.
    virtual void ReadPayload(TStream& /*stream*/) {}
};

struct TGIFLoopFields {
    uint16_t RepeatCount = 0;  // 0 when the block carries none (or means "for ever")
    uint32_t BufferHint = 0;
};

class TGIFAppExtNSLoop : public TGIFApplicationExtension, public TGIFLoopFields {
public:
    explicit TGIFAppExtNSLoop(TGIFSubImage& frame) : TGIFApplicationExtension(frame) {}
    std::unique_ptr<TGIFExtension> Clone(TGIFSubImage& frame) const override;

protected:
    void ReadPayload(TStream& stream) override;
};

struct TGIFUnknownAppFields {
    std::vector<TGIFBlock> RawBlocks;
};

class TGIFUnknownAppExtension : public TGIFApplicationExtension, public TGIFUnknownAppFields {
public:
    explicit TGIFUnknownAppExtension(TGIFSubImage& frame) : TGIFApplicationExtension(frame) {}
    std::unique_ptr<TGIFExtension> Clone(TGIFSubImage& frame) const override;

protected:
    void ReadPayload(TStream& stream) override;
};

}  // namespace kv
