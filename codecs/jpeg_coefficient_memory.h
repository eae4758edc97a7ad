#pragma once
// The whole-image coefficient arrays of multi-scan (progressive) files, held in one block of our
// own instead of the library's. The library asks for them zeroed and then clears every row itself
// on first touch; memory fresh from the system is already zero, so that pass (70 MB on a
// 24-megapixel picture) is saved. Everything the library sees is unchanged: the same rows, the
// same zeros, the same access checks and the same memory bound (its max_memory_to_use). Arrays
// the library asks for without zeroing stay with the library.
// The block is mapped in huge pages where the system has them, all at once rather than page by
// page. Once every scan is read, the single output pass walks the arrays from the top down, and
// each huge page it has left behind goes back to the system at once: the picture's own storage,
// mapped in huge pages too and filled from the top down at the same pace, takes those pages up
// again, so a progressive picture holds about one full-size array at a time instead of two, and
// the fresh huge pages that now and then cost ten times the usual zeroing are half as many.
#include <cstdint>
#include <memory>
#include <vector>

#include <jpeglib.h>

#include "graphics/pixel_buffer.h"

namespace kv {

class JpegCoefficientMemory {
public:
    JpegCoefficientMemory() = default;
    JpegCoefficientMemory(const JpegCoefficientMemory&) = delete;
    JpegCoefficientMemory& operator=(const JpegCoefficientMemory&) = delete;

    // Takes over the library's virtual block arrays of `cinfo` (right after its creation). The
    // library state must be destroyed before this object.
    void Install(j_common_ptr cinfo);

    // From now on the arrays are only read, from the top down (the single output pass after all
    // scans were read): whole huge pages behind the first row asked for are given back.
    void ReleaseBehindReads() { releaseBehindReads_ = true; }

    // One array as the library asked for it (the library only ever holds its address).
    struct BlockArray {
        JDIMENSION blocksPerRow = 0;
        JDIMENSION rows = 0;
        JDIMENSION maxAccess = 0;
        std::vector<JBLOCKROW> rowStarts;  // filled when the arrays are realised
        uintptr_t releasedTo = 0;           // pages from the array's first whole one to here are gone
    };

    // The library's entry points, as installed (called through the library's method table).
    static jvirt_barray_ptr Request(j_common_ptr cinfo, int poolId, boolean preZero, JDIMENSION blocksPerRow,
                                    JDIMENSION rows, JDIMENSION maxAccess);
    static void Realize(j_common_ptr cinfo);
    static JBLOCKARRAY Access(j_common_ptr cinfo, jvirt_barray_ptr array, JDIMENSION startRow, JDIMENSION rows,
                              boolean writable);

private:
    static JpegCoefficientMemory& Of(j_common_ptr cinfo);
    BlockArray* Ours(jvirt_barray_ptr array) const;
    // False when the arrays exceed the bound or the memory cannot be had.
    bool Allocate(long bound);

    std::vector<std::unique_ptr<BlockArray>> arrays_;
    static void ReleaseBefore(BlockArray& array, JDIMENSION row);

    PixelBuffer memory_;
    bool realized_ = false;
    bool releaseBehindReads_ = false;
    jvirt_barray_ptr (*libraryRequest_)(j_common_ptr, int, boolean, JDIMENSION, JDIMENSION, JDIMENSION) = nullptr;
    void (*libraryRealize_)(j_common_ptr) = nullptr;
    JBLOCKARRAY (*libraryAccess_)(j_common_ptr, jvirt_barray_ptr, JDIMENSION, JDIMENSION, boolean) = nullptr;
};

}  // namespace kv
