#pragma once
// The JPEG picture's texts and the set of failure classes reading or decoding a JPEG can end in:
//   EJPEG            the library stops: "JPEG error #<code>" (see JpegErrorText),
//   EOutOfResources  output storage beyond the 1 GiB limit,
//   EReadError       the stream delivers fewer bytes than it holds.
// Setting the size raises EInvalidGraphicOperation, which is a caller's fault, not the file's.
#include <cstdint>

#include "runtime/failure_set.h"

namespace kv {

using JpegReaderFailures = FailureSet<EJPEG, EOutOfResources, EReadError>;

inline constexpr const char* kCannotChangeSizeText = "Cannot change the size of a JPEG image";

// Scan limits. Every scan of a multi-scan file visits every block of its components, so a file of
// thousands of nearly empty scans costs seconds; encoders write about ten. Decoding reads the
// scans while their block visits (blocks of the picture times scans read) stay within the budget,
// but at least kMinJpegScans and at most kMaxJpegScans; the rest of the file is taken as cut off.
inline constexpr int kMinJpegScans = 20;
inline constexpr int kMaxJpegScans = 500;
inline constexpr int64_t kJpegBlockVisitBudget = int64_t{32} << 20;

}  // namespace kv
