#include "codecs/standard_formats.h"

#include "codecs/file_formats.h"
#include "codecs/gif/gif_image.h"
#include "codecs/jpeg.h"

namespace kv {

void RegisterStandardFormats() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    // The built-in entries come first; then the picture units in start-up order: JPEG ("jpeg",
    // "jpg"), then GIF ("gif").
    RegisterJpegFormat(GetFileFormats());
    RegisterGifFormat(GetFileFormats());
}

}  // namespace kv
