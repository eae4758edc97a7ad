#include "ui/button_pictures.h"

#include <QFile>
#include <QImage>
#include <QPixmap>
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

std::unique_ptr<TBitmap> ResourceBitmap(const QString& path) {
    const QByteArray bytes = ResourceBytes(path);
    TMemoryStream stream(bytes.constData(), static_cast<size_t>(bytes.size()));
    auto picture = std::make_unique<TBitmap>();
    picture->LoadFromStream(stream);
    return picture;
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

void LoadEmblemPicture(TImage& image) { image.Picture().Replace(ResourceBitmap(QStringLiteral(":/resources/emblem.bmp"))); }

QIcon WindowIcon() {
    // Read by our own reader: Qt's would first look through every image-format plugin it has.
    const std::unique_ptr<TBitmap> picture = ResourceBitmap(QStringLiteral(":/resources/icon.bmp"));
    const Dib* source = picture->GetDib();
    if (!source) return QIcon();
    DibDescription rows;  // top-down 32-bit rows: what a QImage of format RGB32 expects
    rows.width = source->Width();
    rows.height = -source->Height();
    const std::unique_ptr<Dib> converted = source->ConvertTo(rows);
    const QImage image(converted->Bits(), converted->Width(), converted->Height(),
                       static_cast<qsizetype>(converted->Stride()), QImage::Format_RGB32);
    return QIcon(QPixmap::fromImage(image.copy()));
}

}  // namespace kv
