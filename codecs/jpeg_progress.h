#pragma once
// Progress reports during decoding. The library calls the monitor often; it passes a report on
// at most once per 500 ms (the first call only starts the clock) and only when the whole-number
// percentage has changed. The monitor also bounds the number of scans read (codecs/jpeg_errors.h),
// as the library's authors advise against files of thousands of nearly empty progressive scans:
// from the first scan past the limit the data is treated as cut off there.
#include <cstdint>
#include <cstdio>
#include <functional>

#include <jpeglib.h>

namespace kv {

enum class JpegProgressStage { Starting, Running, Ending };

// Receives the stage and the percentage. It may throw: the failure ends decoding and reaches
// the caller of the decoder.
using JpegProgressHandler = std::function<void(JpegProgressStage, int percent)>;

inline constexpr uint32_t kJpegProgressIntervalMs = 500;

struct JpegProgressMonitor {
    jpeg_progress_mgr pub{};  // must stay first: the library only sees this part
    const JpegProgressHandler* handler = nullptr;  // none: only the scan limit applies
    bool started = false;     // the first call has recorded the time
    uint32_t lastTick = 0;
    int lastPercent = -1;
    int scanLimit = 0;        // worked out at the first call (the header is known by then)
    bool cut = false;         // the scan limit has cut the data off
};

// trunc((counter / limit + completed) * 100 / total); 0 when the library gives no totals.
int JpegProgressPercent(long passCounter, long passLimit, int completedPasses, int totalPasses);

// Hooks the monitor into the decompressor, with or without a handler.
void InstallJpegProgressMonitor(j_decompress_ptr cinfo, JpegProgressMonitor& monitor,
                                const JpegProgressHandler* handler);

}  // namespace kv
