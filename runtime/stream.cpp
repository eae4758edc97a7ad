#include "runtime/stream.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "runtime/byte_order.h"
#include "runtime/exceptions.h"

namespace kv {

int64_t TStream::Write(const void*, int64_t) { return 0; }

int64_t TStream::ReadUpTo(void* buffer, int64_t count) {
    auto* out = static_cast<uint8_t*>(buffer);
    int64_t done = 0;
    while (done < count) {
        const int64_t got = Read(out + done, count - done);
        if (got <= 0) break;
        done += got;
    }
    return done;
}

int64_t TStream::Size() {
    int64_t here = Position();
    int64_t end = Seek(0, SeekOrigin::End);
    Seek(here, SeekOrigin::Beginning);
    return end;
}

std::vector<uint8_t> ReadCountedBytes(TStream& stream) {
    uint8_t prefix[4];
    stream.ReadBuffer(prefix, 4);
    const int64_t count = GetLe32(prefix);
    if (count > stream.Remaining()) throw EReadError(kStreamReadErrorText);
    std::vector<uint8_t> bytes(static_cast<size_t>(count));
    if (count > 0) stream.ReadBuffer(bytes.data(), count);
    return bytes;
}

namespace {

// Position arithmetic that neither overflows nor goes below 0.
int64_t SeekTarget(int64_t base, int64_t offset) {
    if (offset > 0 && base > std::numeric_limits<int64_t>::max() - offset) {
        return std::numeric_limits<int64_t>::max();
    }
    return std::max<int64_t>(0, base + offset);
}

}  // namespace

TMemoryStream::TMemoryStream(const void* bytes, size_t count)
    : data_(static_cast<const uint8_t*>(bytes), static_cast<const uint8_t*>(bytes) + count) {}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
    int64_t available = static_cast<int64_t>(data_.size()) - position_;
    if (count <= 0 || available <= 0) return 0;
    int64_t n = std::min(count, available);
    std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
    if (count <= 0) return 0;
    size_t end = static_cast<size_t>(position_) + static_cast<size_t>(count);
    if (end > data_.size()) data_.resize(end);
    std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
    position_ += count;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, SeekOrigin origin) {
    int64_t base = origin == SeekOrigin::Beginning ? 0
                 : origin == SeekOrigin::Current   ? position_
                                                   : static_cast<int64_t>(data_.size());
    position_ = SeekTarget(base, offset);
    return position_;
}

void TMemoryStream::LoadFromStream(TStream& source) {
    int64_t count = source.Remaining();
    data_.resize(static_cast<size_t>(count));
    source.ReadBuffer(data_.data(), count);
    position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& path) {
    TFileStream file(path);
    LoadFromStream(file);
}

TFileStream::TFileStream(const std::string& path) : path_(path) {
    // Opened without blocking so a named pipe or device cannot hang us; only regular files are read.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    bool usable = fd_ >= 0 && ::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode) &&
                  ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK) == 0;
    // A shared lock keeps cooperating writers (who ask for an exclusive lock) out while we read.
    if (usable && ::flock(fd_, LOCK_SH | LOCK_NB) != 0) usable = false;
    if (!usable) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        throw EFOpenError("Cannot open file " + path);
    }
    size_ = info.st_size;
}

TFileStream::~TFileStream() {
    if (fd_ >= 0) ::close(fd_);
}

int64_t TFileStream::ReadAt(uint8_t* out, int64_t count) {
    ssize_t got;
    do {
        got = ::pread(fd_, out, static_cast<size_t>(std::min<int64_t>(count, 1 << 30)), static_cast<off_t>(position_));
    } while (got < 0 && errno == EINTR);
    // A failing medium is an error, not the end of the data.
    if (got < 0) throw EReadError(kStreamReadErrorText);
    // The file may have grown since it was opened.
    size_ = std::max<int64_t>(size_, position_ + got);
    return got;
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
    auto* out = static_cast<uint8_t*>(buffer);
    int64_t done = 0;
    while (done < count) {
        const int64_t offset = position_ - bufferStart_;
        if (offset >= 0 && offset < bufferLength_) {
            const int64_t n = std::min(count - done, bufferLength_ - offset);
            std::memcpy(out + done, buffer_.data() + offset, static_cast<size_t>(n));
            position_ += n;
            done += n;
            continue;
        }
        int64_t got;
        if (count - done >= kBufferSize) {
            got = ReadAt(out + done, count - done);
            position_ += got;
            done += got;
        } else {
            // A file no larger than the buffer is read whole by its first read.
            if (buffer_.empty()) buffer_.resize(static_cast<size_t>(std::clamp<int64_t>(size_, 4096, kBufferSize)));
            got = ReadAt(buffer_.data(), static_cast<int64_t>(buffer_.size()));
            bufferStart_ = position_;
            bufferLength_ = got;
        }
        if (got == 0) break;
    }
    return done;
}

int64_t TFileStream::Seek(int64_t offset, SeekOrigin origin) {
    const int64_t base = origin == SeekOrigin::Beginning ? 0 : origin == SeekOrigin::Current ? position_ : size_;
    position_ = SeekTarget(base, offset);
    return position_;
}

}  // namespace kv
