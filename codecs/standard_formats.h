#pragma once
// Start-up registration of the picture formats beyond the registry's built-in entries.

namespace kv {

// Adds the picture units' entries to the process-wide format registry in their start-up order:
// JPEG ("jpeg", "jpg"), then GIF ("gif") once that unit exists. Called once while the program (or
// a tool) starts; calling it again does nothing.
void RegisterStandardFormats();

}  // namespace kv
