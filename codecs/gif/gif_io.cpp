#include "codecs/gif/gif_io.h"

#include <algorithm>

#include "runtime/stream.h"

namespace kv {

void StepBack(TStream& stream) {
    stream.Seek(-1, SeekOrigin::Current);
}

void SkipBytes(TStream& stream, int64_t n) {
    if (n <= 0) return;
    stream.Seek(std::min(n, stream.Remaining()), SeekOrigin::Current);
}

}  // namespace kv
