#pragma once
// Zero-filled memory for pixel arrays (and other large arrays written once, such as a file read
// whole), or a view of memory owned elsewhere. Large arrays are mapped straight from the system,
// which hands out zeroed pages lazily and backs them with huge pages where it can: a decoder that
// writes a big picture once then pays neither an extra zero-fill pass nor a page fault every
// 4 KiB. Copies are deep.
#include <cstddef>
#include <cstdint>

namespace kv {

// The huge page size the mapped arrays are aligned to.
inline constexpr size_t kHugePageBytes = size_t{2} << 20;

class PixelBuffer {
public:
    PixelBuffer() = default;
    // Raises std::bad_alloc when the memory cannot be had.
    explicit PixelBuffer(size_t size);
    // Memory owned elsewhere, which must outlive this buffer and is never freed here. A copy of
    // it is a copy into memory of its own.
    static PixelBuffer Borrowed(uint8_t* data, size_t size);
    PixelBuffer(const PixelBuffer& other);
    PixelBuffer& operator=(const PixelBuffer& other);
    PixelBuffer(PixelBuffer&& other) noexcept;
    PixelBuffer& operator=(PixelBuffer&& other) noexcept;
    ~PixelBuffer();

    uint8_t* data() { return data_; }
    const uint8_t* data() const { return data_; }
    size_t size() const { return size_; }

private:
    void Release() noexcept;
    void Swap(PixelBuffer& other) noexcept;

    uint8_t* data_ = nullptr;
    size_t size_ = 0;
    size_t mappedSize_ = 0;  // 0 when the memory came from the heap
    bool borrowed_ = false;
};

}  // namespace kv
