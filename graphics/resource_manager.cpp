#include "graphics/resource_manager.h"

#include <cstring>

namespace kv {

uint16_t ResourceHash(const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    uint16_t hash = 0;
    for (size_t i = 0; i < size; ++i) {
        hash = static_cast<uint16_t>((hash << 5) | (hash >> 11));
        hash ^= bytes[i];
    }
    return hash;
}

TResource* TResourceManager::AllocResource(const void* data, std::shared_ptr<const void> keepAlive) {
    std::lock_guard guard(lock_);
    return AllocLocked(data, keepAlive);
}

void TResourceManager::FreeResource(TResource* resource) {
    if (!resource) return;
    std::lock_guard guard(lock_);
    FreeLocked(resource);
}

TResource* TResourceManager::ChangeResource(TResource* old, const void* data,
                                            std::shared_ptr<const void> keepAlive) {
    std::lock_guard guard(lock_);
    // Take the new record before dropping the old, so an unchanged tool keeps its record alive.
    TResource* fresh = AllocLocked(data, keepAlive);
    if (old) FreeLocked(old);
    return fresh;
}

size_t TResourceManager::Count() const {
    std::lock_guard guard(lock_);
    return resources_.size();
}

TResource* TResourceManager::AllocLocked(const void* data, std::shared_ptr<const void>& keepAlive) {
    const uint16_t hash = ResourceHash(data, dataSize_);
    for (auto& resource : resources_) {
        if (resource->hashCode == hash && std::memcmp(resource->data.data(), data, dataSize_) == 0) {
            ++resource->refCount;
            return resource.get();
        }
    }
    auto resource = std::make_unique<TResource>();
    resource->hashCode = hash;
    resource->refCount = 1;
    const auto* bytes = static_cast<const uint8_t*>(data);
    resource->data.assign(bytes, bytes + dataSize_);
    resource->keepAlive = std::move(keepAlive);
    resources_.push_front(std::move(resource));
    return resources_.front().get();
}

void TResourceManager::FreeLocked(TResource* resource) {
    if (--resource->refCount > 0) return;
    resources_.remove_if([resource](const std::unique_ptr<TResource>& r) { return r.get() == resource; });
}

}  // namespace kv
