#pragma once
// Reading Windows and OS/2 BMP files into device-independent pixel storage.
//
// The reader sits below TBitmap: it knows nothing of pictures, canvases or change events.
// TBitmap::LoadFromStream calls ReadBmpStream and moves the result into a fresh pixel record.
#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/dib.h"

namespace kv {

class TStream;

// The information header as the reader uses it: a Windows header's first 40 bytes, or an OS/2
// core header widened to that layout (every field it lacks is 0). Masks come from the 12 bytes
// after a 40-byte header, or from inside a longer header; they are 0 when the file gives none.
struct BmpInfoHeader {
    uint32_t size = 0;          // header size as found in the file (12 for a core header)
    int32_t width = 0;
    int32_t height = 0;         // > 0 bottom-up, < 0 top-down
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;     // as found in the file (0 = compute)
    int32_t xPelsPerMeter = 0;  // kept
    int32_t yPelsPerMeter = 0;  // kept
    uint32_t clrUsed = 0;       // as found in the file
    uint32_t clrImportant = 0;  // kept
    uint32_t redMask = 0, greenMask = 0, blueMask = 0, alphaMask = 0;
};

struct BmpReadResult {
    // True when the stream had no bytes left: the bitmap becomes empty, everything else is unset.
    bool empty = true;

    // The pixels. Compression 0 and 3: exactly the file's layout (bits per pixel, colour table,
    // masks, row order). Run-length-encoded files: display-compatible storage (32 bits per pixel,
    // bottom-up, see DisplayCompatibleDescription) holding the expanded picture.
    std::unique_ptr<Dib> dib;
    bool deviceIndependent = true;  // false for a run-length-encoded file

    BmpInfoHeader header;           // the widened information header
    bool os2Format = false;         // the file had a 12-byte OS/2 core header

    // The colour table as read (entries widened to 4 bytes, fourth byte 0); for 1/4/8 bits per
    // pixel with colours-used 0 it holds 2/16/256 entries. Non-empty means the bitmap has a palette.
    std::vector<RgbQuad> colorTable;

    // Run-length-encoded files only: a 14-byte file header followed by the file's bytes from the
    // information header on, so the picture can be written back unchanged. Empty otherwise.
    std::vector<uint8_t> fileBytes;
};

// Reads a BMP picture from the stream's position to its end.
// Raises EReadError "Stream read error" when the stream ends inside the file header, the masks
// or the colour table (these are read before the layout is judged); EInvalidGraphic "Bitmap image is not valid" for a wrong signature, planes other
// than 1, and every layout this reader does not hold (header size below 40 other than 12, header
// larger than the file, colour table over 256 entries, unsupported bit depth or compression,
// a zero or negative width, a zero height, top-down run-length data); EOutOfResources
// "Out of system resources" when the pixel storage would exceed kMaxStorageBytes, before
// allocating it. Files shorter than their pixel data are read as far as they go; the rest of the
// storage stays zero.
BmpReadResult ReadBmpStream(TStream& stream);

}  // namespace kv
