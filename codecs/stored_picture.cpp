#include "codecs/stored_picture.h"

#include <string>

#include "codecs/file_formats.h"
#include "codecs/picture.h"
#include "runtime/stream.h"

namespace kv {

void ReadStoredPicture(TPicture& picture, TStream& data) {
    uint8_t length = 0;
    data.ReadBuffer(&length, 1);
    std::string className(length, '\0');
    data.ReadBuffer(className.data(), length);

    std::unique_ptr<TGraphic> graphic;
    if (const TGraphicClass* graphicClass = GetFileFormats().FindClassName(className)) {
        graphic = graphicClass->Create();
        // TBitmap and TJPEGImage read a byte count and that many bytes of file; every other class
        // reads the rest of the data as its file format.
        graphic->ReadData(data);
    }
    picture.Replace(std::move(graphic));
}

void ReadStoredPicture(TPicture& picture, const std::vector<uint8_t>& data) {
    TMemoryStream stream(data.data(), data.size());
    ReadStoredPicture(picture, stream);
}

}  // namespace kv
