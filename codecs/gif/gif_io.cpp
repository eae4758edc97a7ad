#include "codecs/gif/gif_io.h"

#include <algorithm>

#include "runtime/exceptions.h"
#include "runtime/stream.h"

namespace kv {

void ReadExact(TStream& stream, void* buffer, int64_t n) {
    if (n <= 0) return;
    if (stream.Read(buffer, n) != n) throw GIFException(kGifPrematureEndText);
}

bool ReadGifByte(TStream& stream, uint8_t& value) {
    return stream.Read(&value, 1) == 1;
}

void StepBack(TStream& stream) {
    stream.Seek(-1, SeekOrigin::Current);
}

void SkipBytes(TStream& stream, int64_t n) {
    if (n <= 0) return;
    stream.Seek(std::min(n, stream.Remaining()), SeekOrigin::Current);
}

}  // namespace kv
