#include "codecs/jpeg_coefficient_memory.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include <jerror.h>
#include <sys/mman.h>

namespace kv {

namespace {

// Maps every page of a fresh block in one call: the library touches all of it in the first scan,
// and one fault per 4 KiB page (18,000 on a 24-megapixel picture) costs more system time than the
// zeroing itself. Only a hint: where the kernel refuses, the pages come on first touch as before.
void PopulatePages(uint8_t* block, size_t size) {
    constexpr uintptr_t kPage = 4096;
    const uintptr_t first = (reinterpret_cast<uintptr_t>(block) + kPage - 1) & ~(kPage - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(block) + size) & ~(kPage - 1);
#ifdef MADV_POPULATE_WRITE
    if (end > first) ::madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#endif
}

extern "C" jvirt_barray_ptr RequestHook(j_common_ptr cinfo, int poolId, boolean preZero, JDIMENSION blocksPerRow,
                                        JDIMENSION rows, JDIMENSION maxAccess) {
    return JpegCoefficientMemory::Request(cinfo, poolId, preZero, blocksPerRow, rows, maxAccess);
}
extern "C" void RealizeHook(j_common_ptr cinfo) { JpegCoefficientMemory::Realize(cinfo); }
extern "C" JBLOCKARRAY AccessHook(j_common_ptr cinfo, jvirt_barray_ptr array, JDIMENSION startRow, JDIMENSION rows,
                                  boolean writable) {
    return JpegCoefficientMemory::Access(cinfo, array, startRow, rows, writable);
}

}  // namespace

void JpegCoefficientMemory::Install(j_common_ptr cinfo) {
    cinfo->client_data = this;
    libraryRequest_ = cinfo->mem->request_virt_barray;
    libraryRealize_ = cinfo->mem->realize_virt_arrays;
    libraryAccess_ = cinfo->mem->access_virt_barray;
    cinfo->mem->request_virt_barray = RequestHook;
    cinfo->mem->realize_virt_arrays = RealizeHook;
    cinfo->mem->access_virt_barray = AccessHook;
}

JpegCoefficientMemory& JpegCoefficientMemory::Of(j_common_ptr cinfo) {
    return *static_cast<JpegCoefficientMemory*>(cinfo->client_data);
}

JpegCoefficientMemory::BlockArray* JpegCoefficientMemory::Ours(jvirt_barray_ptr array) const {
    for (const auto& ours : arrays_)
        if (reinterpret_cast<jvirt_barray_ptr>(ours.get()) == array) return ours.get();
    return nullptr;
}

jvirt_barray_ptr JpegCoefficientMemory::Request(j_common_ptr cinfo, int poolId, boolean preZero,
                                                JDIMENSION blocksPerRow, JDIMENSION rows, JDIMENSION maxAccess) {
    JpegCoefficientMemory& self = Of(cinfo);
    if (!preZero || poolId != JPOOL_IMAGE)
        return self.libraryRequest_(cinfo, poolId, preZero, blocksPerRow, rows, maxAccess);
    BlockArray* array = nullptr;
    try {
        self.arrays_.push_back(std::make_unique<BlockArray>());
        array = self.arrays_.back().get();
    } catch (const std::bad_alloc&) {
    }
    if (array == nullptr) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    array->blocksPerRow = blocksPerRow;
    array->rows = rows;
    array->maxAccess = maxAccess;
    return reinterpret_cast<jvirt_barray_ptr>(array);
}

bool JpegCoefficientMemory::Allocate(long bound) {
    uint64_t total = 0;
    for (const auto& array : arrays_) total += uint64_t{array->blocksPerRow} * array->rows * sizeof(JBLOCK);
    if (bound > 0 && total > static_cast<uint64_t>(bound)) return false;
    if (total > SIZE_MAX / 2) return false;
    try {
        // Zero memory straight from the system (huge-page aligned when large), untouched yet.
        memory_ = PixelBuffer(static_cast<size_t>(std::max<uint64_t>(total, 1)));
        PopulatePages(memory_.data(), static_cast<size_t>(total));
        auto* next = reinterpret_cast<JBLOCKROW>(memory_.data());
        for (const auto& array : arrays_) {
            array->rowStarts.resize(array->rows);
            for (JBLOCKROW& row : array->rowStarts) {
                row = next;
                next += array->blocksPerRow;
            }
        }
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

void JpegCoefficientMemory::Realize(j_common_ptr cinfo) {
    JpegCoefficientMemory& self = Of(cinfo);
    self.libraryRealize_(cinfo);
    if (self.realized_) return;
    self.realized_ = true;
    // Beyond the bound the library would need temporary files, which it is never given.
    if (!self.Allocate(cinfo->mem->max_memory_to_use)) ERREXIT(cinfo, JERR_NO_BACKING_STORE);
}

JBLOCKARRAY JpegCoefficientMemory::Access(j_common_ptr cinfo, jvirt_barray_ptr array, JDIMENSION startRow,
                                          JDIMENSION rows, boolean writable) {
    JpegCoefficientMemory& self = Of(cinfo);
    BlockArray* ours = self.Ours(array);
    if (ours == nullptr) return self.libraryAccess_(cinfo, array, startRow, rows, writable);
    // The library's own checks; rows never written read as zeros, as the library would make them.
    if (startRow > ours->rows || rows > ours->rows - startRow || rows > ours->maxAccess || ours->rowStarts.empty())
        ERREXIT(cinfo, JERR_BAD_VIRTUAL_ACCESS);
    if (self.releaseBehindReads_ && !writable) ReleaseBefore(*ours, startRow);
    return ours->rowStarts.data() + startRow;
}

void JpegCoefficientMemory::ReleaseBefore(BlockArray& array, JDIMENSION row) {
    // Only pages wholly inside this array go: a page shared with a neighbouring array stays, and
    // an array shorter than a huge page (or in a small block, from the heap) gives nothing back.
    constexpr uintptr_t kHugePage = kHugePageBytes;
    const uintptr_t first = reinterpret_cast<uintptr_t>(array.rowStarts.front());
    if (array.releasedTo == 0) array.releasedTo = (first + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t rowBytes = uintptr_t{array.blocksPerRow} * sizeof(JBLOCK);
    const uintptr_t end = (first + rowBytes * row) & ~(kHugePage - 1);
    if (end <= array.releasedTo) return;
    // Rows read again after this would read zeros; the output pass never goes back.
    ::madvise(reinterpret_cast<void*>(array.releasedTo), end - array.releasedTo, MADV_DONTNEED);
    array.releasedTo = end;
}

}  // namespace kv
