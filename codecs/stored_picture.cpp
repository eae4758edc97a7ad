#include "codecs/stored_picture.h"

#include <string>

#include "codecs/file_formats.h"
#include "codecs/picture.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"

namespace kv {
namespace {

// Classes whose layout data is a byte count followed by that many bytes of file.
bool HasCountedFile(const std::string& className) { return className == "TBitmap" || className == "TJPEGImage"; }

void ReadPictureData(TGraphic& picture, const std::string& className, TStream& data) {
    if (!HasCountedFile(className)) {
        picture.LoadFromStream(data);
        return;
    }
    uint8_t countBytes[4];
    data.ReadBuffer(countBytes, 4);
    const uint32_t count = uint32_t{countBytes[0]} | (uint32_t{countBytes[1]} << 8) |
                           (uint32_t{countBytes[2]} << 16) | (uint32_t{countBytes[3]} << 24);
    // The count is untrusted: never allocate more than the data holds.
    if (int64_t{count} > data.Remaining()) throw EReadError(kStreamReadErrorText);
    std::vector<uint8_t> file(count);
    data.ReadBuffer(file.data(), count);
    TMemoryStream fileStream(std::move(file));
    picture.LoadFromStream(fileStream);
}

}  // namespace

void ReadStoredPicture(TPicture& picture, TStream& data) {
    uint8_t length = 0;
    data.ReadBuffer(&length, 1);
    std::string className(length, '\0');
    data.ReadBuffer(className.data(), length);

    std::unique_ptr<TGraphic> graphic;
    if (const TGraphicClass* graphicClass = GetFileFormats().FindClassName(className)) {
        graphic = graphicClass->Create();
        ReadPictureData(*graphic, className, data);
    }
    picture.Replace(std::move(graphic));
}

void ReadStoredPicture(TPicture& picture, const std::vector<uint8_t>& data) {
    TMemoryStream stream(data.data(), data.size());
    ReadStoredPicture(picture, stream);
}

}  // namespace kv
