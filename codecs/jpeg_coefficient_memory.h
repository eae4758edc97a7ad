#pragma once
// The whole-image coefficient arrays of multi-scan (progressive) files, held in one block of our
// own instead of the library's. The library asks for them zeroed and then clears every row itself
// on first touch; memory fresh from the system is already zero, so that pass (70 MB on a
// 24-megapixel picture) is saved. Everything the library sees is unchanged: the same rows, the
// same zeros, the same access checks and the same memory bound (its max_memory_to_use). Arrays
// the library asks for without zeroing stay with the library.
// The block is mapped whole at once rather than page by page. (Huge pages do not pay here: over
// many whole-process runs their median system time was lower, but freshly mapped huge pages now
// and then cost ten times the usual zeroing, a tail far longer than the median gain.)
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include <jpeglib.h>


namespace kv {

class JpegCoefficientMemory {
public:
    JpegCoefficientMemory() = default;
    JpegCoefficientMemory(const JpegCoefficientMemory&) = delete;
    JpegCoefficientMemory& operator=(const JpegCoefficientMemory&) = delete;

    // Takes over the library's virtual block arrays of `cinfo` (right after its creation). The
    // library state must be destroyed before this object.
    void Install(j_common_ptr cinfo);

    // One array as the library asked for it (the library only ever holds its address).
    struct BlockArray {
        JDIMENSION blocksPerRow = 0;
        JDIMENSION rows = 0;
        JDIMENSION maxAccess = 0;
        std::vector<JBLOCKROW> rowStarts;  // filled when the arrays are realised
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
    struct Free {
        void operator()(uint8_t* block) const { std::free(block); }
    };
    std::unique_ptr<uint8_t[], Free> memory_;
    bool realized_ = false;
    jvirt_barray_ptr (*libraryRequest_)(j_common_ptr, int, boolean, JDIMENSION, JDIMENSION, JDIMENSION) = nullptr;
    void (*libraryRealize_)(j_common_ptr) = nullptr;
    JBLOCKARRAY (*libraryAccess_)(j_common_ptr, jvirt_barray_ptr, JDIMENSION, JDIMENSION, boolean) = nullptr;
};

}  // namespace kv
