#pragma once
// Decoding JPEG data held in memory: a header-only pass, and the full decode that writes the
// library's scan lines straight into device-independent rows.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "codecs/jpeg_progress.h"
#include "codecs/jpeg_settings.h"
#include "graphics/dib.h"

namespace kv {

struct JpegHeaderInfo {
    int width = 0;            // full scale, from the frame header
    int height = 0;
    bool grayscale = false;   // the file's colour space is grayscale
    bool multiScan = false;   // progressive (more than one scan)
};

// Reads the header only; no pixel is decoded. Raises EJPEG for data the library refuses
// (an empty input included).
JpegHeaderInfo ReadJpegHeader(const uint8_t* data, size_t size);

// The output size for a scale setting (the library rounds up).
int JpegScaledDimension(int fullSize, TJPEGScale scale);

// Called once the output size is known, before any pixel is decoded. It must return storage
// of exactly that description (and palette, for 8 bits per pixel) that stays valid until
// DecodeJpeg returns; the caller keeps it, so a failure leaves it partly filled.
using JpegStorageProvider =
    std::function<Dib&(const DibDescription& description, std::vector<RgbQuad> palette)>;

// Decodes the whole picture with the given settings:
// - 24 bits per pixel, bytes blue, green, red; rows bottom-up;
// - 8 bits per pixel with the library's palette when the output is grayscale or the settings ask
//   for 8 bits (colours quantised to at most 236 entries);
// - four-component files are converted to blue, green, red (always 24 bits).
// A picture whose storage would exceed kMaxStorageBytes is refused with EOutOfResources before
// the storage or the library's image buffers exist. Library failures raise EJPEG; failures of
// the progress handler or the provider travel on unchanged.
void DecodeJpeg(const uint8_t* data, size_t size, const TJPEGSettings& settings,
                const JpegStorageProvider& provide, const JpegProgressHandler* progress = nullptr);

}  // namespace kv
