#include "codecs/jpeg_decompressor.h"

namespace kv {

JpegDecompressor::~JpegDecompressor() {
    // Safe after a failure anywhere in the library, also in the middle of its creation.
    if (created_) jpeg_destroy_decompress(&cinfo_);
}

void JpegDecompressor::Open(const uint8_t* data, size_t size, const JpegProgressHandler* progress) {
    cinfo_.err = InstallJpegErrorManager(error_);
    created_ = true;
    Guarded([&] {
        jpeg_create_decompress(&cinfo_);
        coefficients_.Install(reinterpret_cast<j_common_ptr>(&cinfo_));
        InstallJpegMemorySource(&cinfo_, source_, data, size);
        InstallJpegProgressMonitor(&cinfo_, progress_, progress);
        jpeg_read_header(&cinfo_, TRUE);
    });
}

}  // namespace kv
