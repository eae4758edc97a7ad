#include "game/source_picture.h"

#include "codecs/file_formats.h"
#include "codecs/jpeg.h"
#include "game/load_format.h"
#include "graphics/bitmap.h"

namespace kv {

namespace {

// Reads the file into `picture`, then hands it over to a new bitmap that is the source picture
// from before the hand-over on, so a failing hand-over leaves that empty bitmap behind.
void DecodeThroughPicture(std::shared_ptr<TBitmap>& sourcePicture, TGraphic& picture,
                          const std::string& path) {
    picture.LoadFromFile(path);
    auto bitmap = std::make_shared<TBitmap>();
    sourcePicture = bitmap;
    bitmap->Assign(&picture);
}

}  // namespace

void DecodeSourcePicture(std::shared_ptr<TBitmap>& sourcePicture, const std::string& path) {
    switch (LoadFormatOf(path)) {
        case LoadFormat::Jpeg: {
            TJPEGImage jpeg;
            DecodeThroughPicture(sourcePicture, jpeg, path);
            return;
        }
        case LoadFormat::Bmp: {
            auto bitmap = std::make_shared<TBitmap>();
            sourcePicture = bitmap;
            bitmap->LoadFromFile(path);
            return;
        }
        case LoadFormat::Gif: {
            // The GIF picture class joins the format registry at start-up.
            const TGraphicClass* gifClass = GetFileFormats().FindExt("gif");
            if (gifClass == nullptr) return;
            // Released on every way out, also when the hand-over fails.
            std::unique_ptr<TGraphic> gif = gifClass->Create();
            DecodeThroughPicture(sourcePicture, *gif, path);
            return;
        }
        case LoadFormat::None:
            return;
    }
}

}  // namespace kv
