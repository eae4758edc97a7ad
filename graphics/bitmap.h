#pragma once
// TBitmap: an in-memory picture. Its pixels live in a shared record (TBitmapImage) that bitmaps
// share on assignment and copy on the first change (copy on write). New bitmaps are empty; sized
// bitmaps get display-compatible 32-bit storage unless they were given a device-independent
// format (PixelFormat, or storage handed over by a decoder).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/canvas.h"
#include "graphics/color.h"
#include "graphics/dib.h"
#include "graphics/graphic.h"

namespace kv {

class TBitmap;

// Something shared between bitmaps by reference count (the count is the shared_ptr's).
class TSharedImage {
public:
    virtual ~TSharedImage() = default;
};

// The header fields a BMP file gives that the bitmap keeps but does not draw with.
struct TBitmapFileFields {
    uint32_t imageSize = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrImportant = 0;
};

// The pixel record. Immutable while shared: a bitmap that wants to change it makes its own copy.
class TBitmapImage : public TSharedImage {
public:
    // The storage; nullptr when the bitmap has none (empty, or only saved file bytes).
    std::unique_ptr<Dib> dib;
    // Device-independent (a section with its own description) or display-compatible.
    bool deviceIndependent = false;
    // Width and height of the description (kept even without storage, e.g. 225 x 0).
    int width = 0;
    int height = 0;
    // The description for device-independent storage (bits per pixel, masks); for a
    // device-dependent bitmap only 1 plane 1 bit (monochrome) or 32 bits matter.
    DibDescription description;
    // Palette kept beside storage of more than 8 bits per pixel (from a BMP colour table).
    std::vector<RgbQuad> palette;
    TBitmapFileFields fileFields;
    // A run-length-encoded file's bytes as read, so the picture can be written back unchanged.
    std::vector<uint8_t> savedFile;
    bool os2Format = false;

    bool Monochrome() const { return !deviceIndependent && description.bitCount == 1; }
};

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum class TTransparentMode { tmAuto, tmFixed };
enum class TBitmapHandleType { bmDIB, bmDDB };

// The canvas of a bitmap: draws into the bitmap's storage; every drawing is a change of the
// bitmap (copy on write before, the bitmap's change event after).
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& bitmap);
    ~TBitmapCanvas() override;

    TBitmap& Bitmap() { return bitmap_; }
    void Changing() override;
    void Changed() override;
    // Drops the context (pen position kept).
    void FreeContext();

protected:
    void CreateHandle() override;
    void FreeHandle() override;
    Dib* TargetDib() override;
    TPoint TargetOrigin() override { return {}; }
    TRect TargetClip() override;

private:
    TBitmap& bitmap_;
};

// Releases the contexts of every live bitmap canvas; the window layer calls it at the end of each
// message. Only the window thread draws (painter threads draw through synchronised calls), so no
// canvas is ever held by another thread here.
void FreeMemoryContexts();

class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;

    const char* ClassName() const override { return "TBitmap"; }

    // From a TBitmap: share its record and take over its transparency settings; from nullptr:
    // become empty; from another picture: that picture assigns itself (AssignTo). Then the
    // palette-modified flag is set when there is a palette, and the change event fires.
    void Assign(const TGraphic* source) override;
    void Draw(TCanvas& canvas, const TRect& rect) override;
    bool Equals(const TGraphic* other) const override;

    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    void SetWidth(int value) override;
    void SetHeight(int value) override;
    void SetSize(int width, int height);

    std::vector<RgbQuad> Palette() const override;
    void SetPalette(const std::vector<RgbQuad>& palette) override;

    // Reads a BMP file from the stream's position to its end.
    void LoadFromStream(TStream& stream) override;
    // Writes the bitmap as a BMP file (the kept file bytes for a run-length-encoded picture).
    void SaveToStream(TStream& stream) const override;
    // Layout data: a 4-byte little-endian byte count and that many bytes of BMP file.
    void ReadData(TStream& stream) override;

    // The drawing surface, made on first request (which first makes sure storage exists).
    TCanvas& Canvas();
    bool HasCanvas() const { return canvas_ != nullptr; }

    // Row `row` (from the top) of the storage, after copy on write. Raises
    // EInvalidGraphicOperation "Scan line index out of range" outside 0..Height()-1.
    uint8_t* ScanLine(int row);

    TPixelFormat PixelFormat() const;
    // pfCustom raises EInvalidGraphic "Invalid pixel format". The content is converted.
    void SetPixelFormat(TPixelFormat value);
    TBitmapHandleType HandleType() const;
    void SetHandleType(TBitmapHandleType value);
    bool Monochrome() const;

    // clDefault (the default) means the pixel at the bottom-left corner (tmAuto).
    TColor TransparentColor() const;
    void SetTransparentColor(TColor value);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode value);

    // ---- access for decoders and the pixel layer ----
    // The storage (decoding saved file bytes first); nullptr when empty. Read only.
    const Dib* GetDib() const;
    // The storage for writing many rows at once: copy on write first; nullptr when empty.
    Dib* MutableDib();
    // Puts storage into a fresh record (nullptr: none); fires the change event.
    void SetDib(std::unique_ptr<Dib> dib, bool deviceIndependent = true);
    // The shared record (for the BMP reader, the picture layer and tests).
    const std::shared_ptr<TBitmapImage>& Image() const { return image_; }
    void SetImage(std::shared_ptr<TBitmapImage> image);
    // How many bitmaps share this bitmap's record.
    long ImageUseCount() const { return image_.use_count(); }

    // Copy on write: a private record when the current one is shared (the canvas calls it before
    // each drawing).
    void Changing();
    // The change event, from outside (the canvas after each drawing).
    void NotifyChanged() { Changed(); }

private:
    friend class TBitmapCanvas;
    void SetSizeImpl(int width, int height);
    // Builds storage for a description at the given size: filled white or with the canvas's
    // brush, old content copied at (0, 0).
    std::unique_ptr<Dib> BuildStorage(const TBitmapImage& from, int width, int height) const;
    void EnsureStorage() const;
    void UniqueImage();

    // The shared record; never null.
    mutable std::shared_ptr<TBitmapImage> image_;
    std::unique_ptr<TBitmapCanvas> canvas_;
    TColor transparentColor_ = clDefault;
    TTransparentMode transparentMode_ = TTransparentMode::tmAuto;
};

}  // namespace kv
