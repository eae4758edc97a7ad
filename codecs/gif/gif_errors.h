#pragma once
// Every text the GIF reader, its LZW decoder and its renderer raise or warn with, and the set of
// failure classes reading and rendering a GIF can end in:
//   GIFException     damaged or unsupported data (errors below),
//   EOutOfResources  pixel storage beyond the picture's limit,
//   EReadError       the underlying file cannot be read.
#include "runtime/failure_set.h"

namespace kv {

using GifReaderFailures = FailureSet<GIFException, EOutOfResources, EReadError>;

// Errors (GIFException).
inline constexpr const char* kGifPrematureEndText = "Premature end of data";  // also a warning
inline constexpr const char* kInvalidSignatureText = "Invalid GIF signature";
inline constexpr const char* kUnknownExtensionTypeText = "Unknown extension type";
inline constexpr const char* kUnsupportedAppBlockSizeText = "Unsupported Application Extension block size";
inline constexpr const char* kInvalidGifDataText = "Invalid GIF data";
inline constexpr const char* kCircularTableEntryText = "Circular decoder table entry";
inline constexpr const char* kColorTableEmptyText = "Color table is empty";
inline constexpr const char* kNoColorTableText = "No global or local color table defined";

// Warnings (reported, never raised).
inline constexpr const char* kUnknownBlockTypeText = "Unknown GIF block type";
inline constexpr const char* kInvalidExtensionIntroducerText = "Invalid extension introducer";
inline constexpr const char* kImageExceedsScreenText = "Image exceeds Logical Screen size";
inline constexpr const char* kInvalidTrailerText = "Invalid Image trailer";
inline constexpr const char* kInvalidColorIndexText = "Invalid color index";
inline constexpr const char* kBitBufferUnderrunText = "Decoder bit buffer under-run";

// Progress texts.
inline constexpr const char* kGifLoadingText = "Loading...";
inline constexpr const char* kGifRenderingText = "Rendering...";

}  // namespace kv
