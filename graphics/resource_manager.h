#pragma once
// Shared attribute records of pens, brushes and fonts. Tools with identical attributes point at
// one record; the record counts its users and goes away with the last one. Records are found by a
// 16-bit hash of their attribute bytes and then by comparing the bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <list>
#include <memory>
#include <mutex>
#include <vector>

namespace kv {

// The 16-bit hash of an attribute record: start at 0; for every byte rotate left by 5 and
// exclusive-or the byte into the low byte.
uint16_t ResourceHash(const void* data, size_t size);

struct TResource {
    uint16_t hashCode = 0;
    int refCount = 0;
    std::vector<uint8_t> data;
    // Keeps alive whatever the attribute bytes point at (a brush's pattern storage).
    std::shared_ptr<const void> keepAlive;

    // A copy of the attribute record (the bytes are copied out, never aliased).
    template <class T>
    T As() const {
        T value;
        std::memcpy(&value, data.data(), sizeof(T));
        return value;
    }
};

class TResourceManager {
public:
    explicit TResourceManager(size_t dataSize) : dataSize_(dataSize) {}
    TResourceManager(const TResourceManager&) = delete;
    TResourceManager& operator=(const TResourceManager&) = delete;

    // The record holding these bytes (dataSize of them), created when new; its count grows by one.
    TResource* AllocResource(const void* data, std::shared_ptr<const void> keepAlive = {});
    // Drops one reference; the record is destroyed with the last.
    void FreeResource(TResource* resource);
    // Moves a user from its record to the one for the new bytes (the same record when unchanged).
    TResource* ChangeResource(TResource* old, const void* data, std::shared_ptr<const void> keepAlive = {});

    size_t Count() const;
    size_t DataSize() const { return dataSize_; }

private:
    TResource* AllocLocked(const void* data, std::shared_ptr<const void>& keepAlive);
    void FreeLocked(TResource* resource);

    const size_t dataSize_;
    mutable std::mutex lock_;
    std::list<std::unique_ptr<TResource>> resources_;
};

}  // namespace kv
