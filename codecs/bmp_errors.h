#pragma once
// The BMP reader's texts and the set of failure classes reading a BMP can end in:
//   EInvalidGraphic  a layout the reader does not hold ("Bitmap image is not valid"),
//   EReadError       the file ends inside its header, masks or colour table,
//   EOutOfResources  pixel storage beyond the 1 GiB limit,
//   EOSError         the platform refuses storage with an error code.
#include "runtime/failure_set.h"

namespace kv {

using BmpReaderFailures = FailureSet<EInvalidGraphic, EReadError, EOutOfResources, EOSError>;

inline constexpr const char* kInvalidBitmapText = "Bitmap image is not valid";

}  // namespace kv
