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

class TGIFApplicationExtension : public TGIFExtension {
public:
    static constexpr uint8_t kLabel = 0xFF;
    static constexpr int kIdentifierSize = 11;
    using Identifier = std::array<uint8_t, kIdentifierSize>;

    explicit TGIFApplicationExtension(TGIFSubImage& frame) : TGIFExtension(frame) {}
    uint8_t ExtensionLabel() const override { return kLabel; }
    std::unique_ptr<TGIFExtension> Clone(TGIFSubImage& frame) const override;

    // 8 bytes of application identifier and 3 of authentication code.
    Identifier AppIdentifier{};

protected:
    // Block size 10: 10 identifier bytes; 0 to 9: GIFException "Unsupported Application Extension
    // block size"; 11 or more: 11 identifier bytes and the rest skipped. Then the payload.
    void ReadBody(TStream& stream) override;
    // The data sub-blocks behind the identifier. The base kind has none to read: it exists only
    // for block sizes it refuses.
    virtual void ReadPayload(TStream& /*stream*/) {}
};

class TGIFAppExtNSLoop : public TGIFApplicationExtension {
public:
    explicit TGIFAppExtNSLoop(TGIFSubImage& frame) : TGIFApplicationExtension(frame) {}
    std::unique_ptr<TGIFExtension> Clone(TGIFSubImage& frame) const override;

    uint16_t RepeatCount = 0;  // 0 when the block carries none (or means "for ever")
    uint32_t BufferHint = 0;

protected:
    void ReadPayload(TStream& stream) override;
};

class TGIFUnknownAppExtension : public TGIFApplicationExtension {
public:
    explicit TGIFUnknownAppExtension(TGIFSubImage& frame) : TGIFApplicationExtension(frame) {}
    std::unique_ptr<TGIFExtension> Clone(TGIFSubImage& frame) const override;

    std::vector<TGIFBlock> RawBlocks;

protected:
    void ReadPayload(TStream& stream) override;
};

}  // namespace kv
