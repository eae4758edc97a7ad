#include "codecs/file_formats.h"
#include "codecs/graphic_class.h"
#include "codecs/jpeg.h"

namespace kv {

void RegisterJpegFormat(TFileFormatsList& formats) {
    // The default colour depth (JPEGDefaults) stays 24 bits unless the window layer, knowing the
    // display, called InitJpegDefaults before this.
    formats.Add("jpeg", "JPEG Image File", GraphicClassOf<TJPEGImage>());
    formats.Add("jpg", "JPEG Image File", GraphicClassOf<TJPEGImage>());
}

}  // namespace kv
