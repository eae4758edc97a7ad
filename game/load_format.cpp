#include "game/load_format.h"

namespace kv {

std::string FileExtension(std::string_view path) {
    const std::size_t nameStart = path.find_last_of("/\\");
    const std::string_view name =
        nameStart == std::string_view::npos ? path : path.substr(nameStart + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return {};
    return std::string(name.substr(dot));
}

LoadFormat LoadFormatOf(std::string_view path) {
    const std::string ext = FileExtension(path);
    if (ext == ".JPG" || ext == ".jpg") return LoadFormat::Jpeg;
    if (ext == ".BMP" || ext == ".bmp") return LoadFormat::Bmp;
    if (ext == ".GIF" || ext == ".gif") return LoadFormat::Gif;
    return LoadFormat::None;
}

}  // namespace kv
