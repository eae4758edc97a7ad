#pragma once
// Which decoder the load button uses for a path: chosen by the exact spelling of the file name's
// extension, letter case included (".jpg"/".JPG", ".bmp"/".BMP", ".gif"/".GIF"; ".Jpg",
// ".jpeg", ".png" and names without a dot decode nothing).
#include <string>
#include <string_view>

namespace kv {

enum class LoadFormat { None, Jpeg, Bmp, Gif };

// The text from the last dot of the file name (after the last path delimiter) to its end, dot
// included; empty when the file name has no dot. The preview of the browser panel tests the same.
std::string FileExtension(std::string_view path);

LoadFormat LoadFormatOf(std::string_view path);

}  // namespace kv
