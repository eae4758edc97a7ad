#pragma once
// Helpers the bitmap's own files share: building new records from old ones.
#include <memory>

#include "graphics/bitmap.h"

namespace kv {

inline TRect Bounds(const Dib& dib) { return {0, 0, dib.Width(), dib.Height()}; }

// A record with the same kind, format, palette and kept fields as `from`, without pixels.
std::shared_ptr<TBitmapImage> CloneHeader(const TBitmapImage& from);

}  // namespace kv
