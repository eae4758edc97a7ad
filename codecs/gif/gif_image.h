#pragma once
// TGIFImage: the GIF picture. Reading builds the model (header with the logical screen and the
// global table, then the frames); converting to a bitmap yields the first frame on the logical
// screen; drawing shows one frame, its transparent pixels left out.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "codecs/gif/gif_header.h"
#include "codecs/gif/gif_painter.h"
#include "codecs/gif/gif_sub_image.h"
#include "graphics/bitmap.h"
#include "graphics/color.h"
#include "graphics/graphic.h"
#include "codecs/gif/gif_errors.h"

namespace kv {

class TFileFormatsList;

// Members of the drawing options, by bit number.
enum class TGIFPaintFlag : int {
    PaintInThread = 0,
    DrawTransparent,
    PlayFrames,
    RepeatPlay,
    RepeatForever,
    CheckTargetDC,
    PaintOnTarget,
    WipeAtRestart,
    TileFrames,
    DitherColors,
    DitherOnLowColor,
};
inline constexpr uint16_t kDefaultGifPaintFlags = 0x068F;

class TGIFImage : public TGraphic {
public:
    using TWarningHandler = std::function<void(TGIFImage& sender, int severity, const std::string& message)>;

    TGIFImage();
    ~TGIFImage() override;

    const char* ClassName() const override { return "TGIFImage"; }

    // A still picture (or PlayFrames off): frame ActiveFrame (frame 0 when out of range) into
    // rect, stretched in proportion to the logical screen, through its mask when DrawTransparent
    // is on. Several frames: the picture's bitmap, which a painter thread animates; the first
    // drawing starts the painter on a copy of what the canvas shows and waits for its first frame.
    // Must be called on the window thread.
    void Draw(TCanvas& canvas, const TRect& rect) override;
    bool Empty() const override { return frames_.Count() == 0; }
    int Width() const override { return header_.ScreenWidth(); }
    int Height() const override { return header_.ScreenHeight(); }
    // The size is the logical screen's, which only reading changes.
    void SetWidth(int /*value*/) override {}
    void SetHeight(int /*value*/) override {}
    // The picture palette (see PicturePalette).
    std::vector<RgbQuad> Palette() const override;

    // From another TGIFImage: a copy of its model (header, frames with their extensions and
    // pixels) and drawing options; its painters and bitmaps are not copied. From anything else:
    // as every picture does (the source assigns itself, or "Cannot assign ...").
    void Assign(const TGraphic* source) override;

    // Reads one GIF from the stream's position. On an error the stream goes back to where it
    // was, the picture keeps what had been read and the error travels on (GIFException, or
    // EOutOfResources for pixel storage over the limit).
    void LoadFromStream(TStream& stream) override;
    // Stops every painter, then drops every frame, the cached bitmap and the palette; the logical
    // screen is 0 x 0.
    void Clear();
    // Stops the painter started by drawing and releases the bitmap it drew into.
    void StopDraw();
    // Stops every painter of the picture and releases the bitmap.
    void StopAll();
    // Painters still running (ended ones are dropped first).
    int PainterCount();

    TGIFHeader& Header() { return header_; }
    const TGIFHeader& Header() const { return header_; }
    TGIFImageList& Images() { return frames_; }
    const TGIFImageList& Images() const { return frames_; }

    // The global table as a palette; without one, the first frame's local table; without frames,
    // no palette. Raises GIFException "No global or local color table defined" when neither the
    // global table nor the first frame's table has entries.
    std::vector<RgbQuad> PicturePalette() const;
    // The first frame cannot be drawn without a colour table.
    void PrepareToDraw() const override {
        if (!Empty()) PicturePalette();
    }
    // The conversion result, once a conversion has made it.
    TBitmap* Bitmap() const { return bitmap_.get(); }

    // Warnings of the reader; nothing is reported when no handler is set.
    TWarningHandler WarningHandler;
    void ReportWarning(int severity, const std::string& message);

    // Drawing options (the program keeps the defaults).
    uint16_t PaintFlags = kDefaultGifPaintFlags;
    bool HasPaintFlag(TGIFPaintFlag flag) const { return (PaintFlags >> static_cast<int>(flag)) & 1; }
    int PlaySpeed = 100;
    int ActiveFrame = -1;
    // Background of the animation; clNone: from the global table (the window colour without one).
    TColor BackgroundOverride = clNone;
    // Copied into each painter when it is made.
    TGIFPainterHooks Hooks;
    // Most bytes of colour indices all frames of one picture may hold together, every frame and
    // extension counted with its own size too (a file of a few bytes can declare frames of
    // 65535 x 65535, and every 3 bytes can make a frame). Tools may lower it; it never exceeds the
    // storage limit of every picture.
    uint64_t PixelStorageLimit = kMaxStorageBytes;

    // ---- for the reader ----
    // Counts a frame's pixel bytes (or a model item's size) against the storage limit of the
    // whole picture; raises EOutOfResources "Out of system resources" beyond it.
    void ClaimPixelStorage(uint64_t bytes);
    // Progress after each frame read.
    void FrameLoaded(TStream& stream);
    // Progress of rendering a frame ("Rendering...").
    void RenderProgress(TProgressStage stage, int percent);

protected:
    // To a TBitmap: the first frame on the logical screen, without transparency.
    void AssignTo(TGraphic& dest) const override;

private:
    void MakeBitmap() const;
    void DrawCachedBitmap(TCanvas& canvas, const TRect& rect, bool tile);
    void StartPainter(TCanvas& canvas, const TRect& rect);
    void ReapPainters();

    TGIFHeader header_;
    TGIFImageList frames_;
    uint64_t claimedPixelBytes_ = 0;
    // The conversion result, or the canvas an animation paints into (bitmapIsConversion_ false).
    mutable std::unique_ptr<TBitmap> bitmap_;
    mutable bool bitmapIsConversion_ = false;
    bool drawing_ = false;
    // The painters, locked again by a thread that already holds the lock.
    std::recursive_mutex painterLock_;
    std::vector<std::unique_ptr<TGIFPainter>> painters_;
    TGIFPainter* viewPainter_ = nullptr;
};

// Start-up of the GIF unit: adds "gif" ("GIF Image") to the format registry.
void RegisterGifFormat(TFileFormatsList& formats);

}  // namespace kv
