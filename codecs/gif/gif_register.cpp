#include "codecs/file_formats.h"
#include "codecs/gif/gif_image.h"
#include "codecs/graphic_class.h"

namespace kv {

void RegisterGifFormat(TFileFormatsList& formats) {
    formats.Add("GIF", "GIF Image", GraphicClassOf<TGIFImage>());
    GetClipboardFormats().Add(GetClipboardFormats().RegisterFormatName("GIF Image"), GraphicClassOf<TGIFImage>());
}

}  // namespace kv
