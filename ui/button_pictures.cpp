#include "ui/button_pictures.h"

#include <QFile>
#include <memory>

#include "codecs/gif/gif_image.h"
#include "graphics/bitmap.h"
#include "graphics/controls/image.h"
#include "runtime/exceptions.h"
#include "runtime/stream.h"

// The resources live in a static library: nothing would pull them into the program unless
// they are registered explicitly.
static void InitUiResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(kvadriko);
        return true;
    }();
    (void)registered;
}

namespace kv {

namespace {

QByteArray ResourceBytes(const QString& path) {
    InitUiResources();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw EFOpenError("Cannot open file " + path.toStdString());
    return file.readAll();
}

}  // namespace

void LoadButtonPicture(TImage& image, const std::string& name) {
    const QByteArray bytes = ResourceBytes(QStringLiteral(":/resources/%1.gif").arg(QString::fromStdString(name)));
    TMemoryStream stream(bytes.constData(), static_cast<size_t>(bytes.size()));
    // The GIF goes into the holder as it is, as a picture read from the window layout does.
    auto picture = std::make_unique<TGIFImage>();
    picture->LoadFromStream(stream);
    image.Picture().Replace(std::move(picture));
}

void LoadEmblemPicture(TImage& image) {
    const QByteArray bytes = ResourceBytes(QStringLiteral(":/resources/emblem.bmp"));
    TMemoryStream stream(bytes.constData(), static_cast<size_t>(bytes.size()));
    auto picture = std::make_unique<TBitmap>();
    picture->LoadFromStream(stream);
    image.Picture().Replace(std::move(picture));
}

QIcon WindowIcon() {
    InitUiResources();
    return QIcon(QStringLiteral(":/resources/icon.bmp"));
}

}  // namespace kv
