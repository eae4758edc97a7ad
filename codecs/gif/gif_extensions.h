#pragma once
// Extension blocks of a GIF frame: the base TGIFExtension (read from its 0x21 introducer) and the
// graphic control, plain text and comment extensions. Application extensions are in
// gif_app_extensions.h.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "codecs/gif/gif_item.h"

namespace kv {

class TGIFSubImage;

inline constexpr uint8_t kGifExtensionIntroducer = 0x21;
inline constexpr uint8_t kGifImageSeparator = 0x2C;
inline constexpr uint8_t kGifTrailer = 0x3B;

class TGIFExtension : public TGIFItem {
public:
    explicit TGIFExtension(TGIFSubImage& frame);

    TGIFSubImage& Frame() const { return frame_; }
    virtual uint8_t ExtensionLabel() const = 0;
    // Reads the introducer and the label, then the body.
    void LoadFromStream(TStream& stream) override;
    // A copy of this extension (same kind, same fields) belonging to frame.
    virtual std::unique_ptr<TGIFExtension> Clone(TGIFSubImage& frame) const = 0;

protected:
    virtual void ReadBody(TStream& stream) = 0;

private:
    TGIFSubImage& frame_;
};

// A new extension of frame, of the same kind as from, with copies of from's field structs.
template <class Kind, class... Fields>
std::unique_ptr<TGIFExtension> CloneGifExtension(const Kind& from, TGIFSubImage& frame) {
    auto copy = std::make_unique<Kind>(frame);
    ((static_cast<Fields&>(*copy) = static_cast<const Fields&>(from)), ...);
    return copy;
}

// Text data sub-blocks: one line per sub-block, cut at its first 0x00; a size byte of 0 or the
// end of the data ends them.
void ReadGifTextLines(TStream& stream, std::vector<std::string>& lines);

// How a frame's area is left before the next frame is drawn (bits 4-2 of the control flags; the
// values 4 to 7 have no name and draw nothing).
enum class TGIFDisposal : uint8_t { Unspecified = 0, Keep = 1, RestoreBackground = 2, RestorePrevious = 3 };

// Each extension kind keeps its fields in one struct, which a clone copies whole.
struct TGIFGraphicControlFields {
    uint8_t BlockSize = 4;
    uint8_t ControlFlags = 0;
    uint16_t FrameDelay = 0;  // hundredths of a second
    uint8_t TransparentIndex = 0;
    uint8_t Terminator = 0;
};

class TGIFGraphicControlExtension : public TGIFExtension, public TGIFGraphicControlFields {
public:
    static constexpr uint8_t kLabel = 0xF9;
    explicit TGIFGraphicControlExtension(TGIFSubImage& frame) : TGIFExtension(frame) {}
    uint8_t ExtensionLabel() const override { return kLabel; }
    std::unique_ptr<TGIFExtension> Clone(TGIFSubImage& frame) const override;

    TGIFDisposal Disposal() const { return static_cast<TGIFDisposal>((ControlFlags >> 2) & 0x07); }
    bool Transparent() const { return (ControlFlags & 0x01) != 0; }

protected:
    // Six bytes, block size and terminator unchecked; a short body warns "Premature end of data"
    // and keeps what was read.
    void ReadBody(TStream& stream) override;
};

struct TGIFTextFields {
    uint8_t BlockSize = 12;
    uint16_t Left = 0, Top = 0, Width = 0, Height = 0;
    uint8_t CellWidth = 0, CellHeight = 0;
    uint8_t ForegroundColorIndex = 0, BackgroundColorIndex = 0;
    std::vector<std::string> Lines;
};

class TGIFTextExtension : public TGIFExtension, public TGIFTextFields {
public:
    static constexpr uint8_t kLabel = 0x01;
    explicit TGIFTextExtension(TGIFSubImage& frame) : TGIFExtension(frame) {}
    uint8_t ExtensionLabel() const override { return kLabel; }
    std::unique_ptr<TGIFExtension> Clone(TGIFSubImage& frame) const override;

protected:
    void ReadBody(TStream& stream) override;
};

struct TGIFCommentFields {
    std::vector<std::string> Lines;
};

class TGIFCommentExtension : public TGIFExtension, public TGIFCommentFields {
public:
    static constexpr uint8_t kLabel = 0xFE;
    explicit TGIFCommentExtension(TGIFSubImage& frame) : TGIFExtension(frame) {}
    uint8_t ExtensionLabel() const override { return kLabel; }
    std::unique_ptr<TGIFExtension> Clone(TGIFSubImage& frame) const override;

protected:
    void ReadBody(TStream& stream) override;
};

}  // namespace kv
