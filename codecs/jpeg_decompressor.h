#pragma once
// One library decompressor together with the managers this program gives it: the error
// manager, the in-memory source, the progress monitor and the coefficient arrays' memory. The
// library's state lives only as long as this object; destroying it releases the state also after
// a failure.
#include <cstddef>
#include <cstdint>

#include "codecs/jpeg_coefficient_memory.h"
#include "codecs/jpeg_error_manager.h"
#include "codecs/jpeg_progress.h"
#include "codecs/jpeg_source.h"

namespace kv {

class JpegDecompressor {
public:
    JpegDecompressor() = default;
    ~JpegDecompressor();
    JpegDecompressor(const JpegDecompressor&) = delete;
    JpegDecompressor& operator=(const JpegDecompressor&) = delete;

    // Creates the library state over `data` and reads the header (an image is required).
    // `data` must outlive this object. Raises EJPEG on failure.
    void Open(const uint8_t* data, size_t size, const JpegProgressHandler* progress = nullptr);

    jpeg_decompress_struct& Info() { return cinfo_; }
    JpegErrorManager& Errors() { return error_; }
    JpegCoefficientMemory& Coefficients() { return coefficients_; }

    // Runs library calls with failures turned into C++ exceptions (see JpegGuardedCall).
    template <class Body>
    void Guarded(Body&& body) { JpegGuardedCall(error_, body); }

private:
    jpeg_decompress_struct cinfo_{};
    JpegErrorManager error_;
    JpegMemorySource source_;
    JpegProgressMonitor progress_;
    JpegCoefficientMemory coefficients_;
    bool created_ = false;
};

}  // namespace kv
