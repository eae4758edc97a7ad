#pragma once
// Start-up registration of the picture formats beyond the registry's built-in entries.

namespace kv {

// Adds the JPEG entries and then the GIF entry to the process-wide format registry, in that
// order. Called once while the program (or a tool) starts; calling it again does nothing.
void RegisterStandardFormats();

}  // namespace kv
