#pragma once
// Byte streams: the abstract TStream, an in-memory stream and a read-only file stream.
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/exceptions.h"

namespace kv {

enum class SeekOrigin { Beginning, Current, End };

class TStream {
public:
    virtual ~TStream() = default;

    // Reads up to count bytes; returns how many were read (0 at the end). A failure of the
    // medium raises EReadError "Stream read error".
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    // Writes count bytes; returns how many were written. Read-only streams write nothing.
    virtual int64_t Write(const void* buffer, int64_t count);
    // Moves the position; returns the new position. Positions are clamped at 0.
    virtual int64_t Seek(int64_t offset, SeekOrigin origin) = 0;

    // The byte readers of the picture formats. ReadUpTo reads count bytes, fewer only where the
    // data end, and returns how many it read; ReadExact reads exactly count bytes, and fewer
    // raise Failure(message).
    int64_t ReadUpTo(void* buffer, int64_t count);
    template <typename Failure>
    void ReadExact(void* buffer, int64_t count, const char* message) {
        if (count < 0 || ReadUpTo(buffer, count) != count) throw Failure(message);
    }
    // Reads exactly count bytes or raises EReadError "Stream read error".
    void ReadBuffer(void* buffer, int64_t count) { ReadExact<EReadError>(buffer, count, kStreamReadErrorText); }
    int64_t Position() { return Seek(0, SeekOrigin::Current); }
    void SetPosition(int64_t position) { Seek(position, SeekOrigin::Beginning); }
    int64_t Size();
    // Bytes from the position to the end, never negative.
    int64_t Remaining() { return Size() > Position() ? Size() - Position() : 0; }
};

// Reads a 32-bit little-endian byte count and then that many bytes, as pictures stored in a
// window layout are kept. A count beyond what the stream holds raises EReadError before anything
// is allocated.
std::vector<uint8_t> ReadCountedBytes(TStream& stream);

// A stream over a growable byte buffer it owns.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}
    TMemoryStream(const void* bytes, size_t count);

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;

    const std::vector<uint8_t>& Data() const { return data_; }
    const uint8_t* Memory() const { return data_.data(); }
    // Reads the whole of another stream from its position into this one and rewinds.
    void LoadFromStream(TStream& source);
    void LoadFromFile(const std::string& path);

private:
    std::vector<uint8_t> data_;
    int64_t position_ = 0;
};

// A file opened for reading; other openers may read but not write it meanwhile.
// Raises EFOpenError "Cannot open file <path>" when the file cannot be opened.
// Reads go through a buffer (a file no larger than it is read whole), so small reads and
// one-byte look-backs cost no system call; reads larger than the buffer go straight to the
// caller's memory. The size is taken when the file is opened.
class TFileStream : public TStream {
public:
    explicit TFileStream(const std::string& path);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    const std::string& FileName() const { return path_; }

private:
    static constexpr int64_t kBufferSize = 64 * 1024;

    // Reads at most count bytes at the position into out; 0 at the end of the file.
    int64_t ReadAt(uint8_t* out, int64_t count);

    std::string path_;
    int fd_ = -1;
    int64_t size_ = 0;
    int64_t position_ = 0;
    // Bytes of the file from bufferStart_ on.
    std::vector<uint8_t> buffer_;
    int64_t bufferStart_ = 0;
    int64_t bufferLength_ = 0;
};

}  // namespace kv
