#include "codecs/gif/gif_item.h"

#include "runtime/stream.h"

namespace kv {

void TGIFItem::LoadFromFile(const std::string& path) {
    TFileStream stream(path);
    LoadFromStream(stream);
}

}  // namespace kv
