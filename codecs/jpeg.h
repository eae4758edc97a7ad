#pragma once
// TJPEGImage: a JPEG picture. It keeps the compressed file in memory (shared between pictures
// assigned from one another), learns the size from a header-only pass when it is read, and
// decodes into a TBitmap the first time pixels are needed; the decoded bitmap is kept.
#include <cstdint>
#include <memory>
#include <vector>

#include "codecs/jpeg_settings.h"
#include "graphics/bitmap.h"
#include "graphics/pixel_buffer.h"

namespace kv {

// The compressed data record, shared by reference count.
class TJPEGData : public TSharedImage {
public:
    // Held like a pixel array: a large file is read into huge pages that need no zero-fill
    // first, instead of a page fault every 4 KiB of it.
    PixelBuffer bytes;
    bool hasData = false;    // bytes were read (possibly 0 of them)
    int width = 0;           // full scale, from the frame header
    int height = 0;
    bool grayscale = false;  // the file's colour space is grayscale
};

class TJPEGImage : public TGraphic {
public:
    TJPEGImage();
    ~TJPEGImage() override;

    const char* ClassName() const override { return "TJPEGImage"; }

    // From a TJPEGImage: share its compressed data and copy its decoded bitmap if it has one.
    // From a TBitmap: drop the compressed data and keep a copy of the bitmap.
    void Assign(const TGraphic* source) override;
    void Draw(TCanvas& canvas, const TRect& rect) override;
    bool Equals(const TGraphic* other) const override;

    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    // Refused: EInvalidGraphicOperation "Cannot change the size of a JPEG image".
    void SetWidth(int value) override;
    void SetHeight(int value) override;
    std::vector<RgbQuad> Palette() const override;

    // Reads the rest of the stream as a JPEG file and runs the header-only pass. A file that is
    // not a JPEG fails here (EJPEG); 0 bytes are accepted and fail when first decoded.
    void LoadFromStream(TStream& stream) override;
    // Writes the compressed bytes as they were read.
    void SaveToStream(TStream& stream) const override;
    // Layout data: a 4-byte little-endian byte count and that many bytes of JPEG file.
    void ReadData(TStream& stream) override;

    // The decoded picture, decoding on first request (EJPEG on failure; the bitmap then stays,
    // empty or partly filled, and is used from then on without decoding again).
    TBitmap& Bitmap() const;
    void PrepareToDraw() const override { Bitmap(); }
    bool Decoded() const { return bitmap_ != nullptr; }
    // Throws the decoded bitmap away; the next request decodes again.
    void Invalidate();

    const TJPEGSettings& Settings() const { return settings_; }
    TJPEGSettings& Settings() { return settings_; }
    bool Grayscale() const { return data_->grayscale; }
    const std::shared_ptr<TJPEGData>& Data() const { return data_; }

protected:
    // To a TBitmap: decode if needed and let the bitmap share the decoded pixels.
    void AssignTo(TGraphic& dest) const override;

private:
    void TakeBytes(PixelBuffer bytes);
    void Decode() const;

    std::shared_ptr<TJPEGData> data_;
    // Decoded lazily, also from const requests (drawing, conversion).
    mutable std::unique_ptr<TBitmap> bitmap_;
    TJPEGSettings settings_;
};

class TFileFormatsList;
// Start-up of the JPEG unit: adds "jpeg" and "jpg" (description "JPEG Image File") to the
// format registry.
void RegisterJpegFormat(TFileFormatsList& formats);

}  // namespace kv
