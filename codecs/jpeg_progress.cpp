#include "codecs/jpeg_progress.h"

#include <algorithm>

#include "codecs/jpeg_error_manager.h"
#include "codecs/jpeg_errors.h"
#include "codecs/jpeg_source.h"
#include "runtime/tick.h"

namespace kv {

namespace {

int ScanLimit(j_decompress_ptr cinfo) {
    int64_t blocks = 0;
    for (int i = 0; i < cinfo->num_components; ++i)
        blocks += int64_t{cinfo->comp_info[i].width_in_blocks} * cinfo->comp_info[i].height_in_blocks;
    if (blocks <= 0) return kMaxJpegScans;
    return static_cast<int>(std::clamp<int64_t>(kJpegBlockVisitBudget / blocks, kMinJpegScans, kMaxJpegScans));
}

extern "C" void ProgressMonitor(j_common_ptr cinfo) {
    auto& monitor = *reinterpret_cast<JpegProgressMonitor*>(cinfo->progress);
    // Called before each of the library's input steps. The first call past the limit comes right
    // after the next scan's header was read and before any of its data: from there on the data
    // is taken as cut off, which the library finishes like any truncated file.
    if (!monitor.cut && cinfo->is_decompressor) {
        auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
        if (monitor.scanLimit == 0) monitor.scanLimit = ScanLimit(decompress);
        if (decompress->input_scan_number > monitor.scanLimit) {
            CutJpegSourceHere(decompress);
            monitor.cut = true;
        }
    }
    if (monitor.handler == nullptr || !*monitor.handler) return;
    uint32_t now = GetTickCount();
    if (!monitor.started) {
        monitor.started = true;
        monitor.lastTick = now;
        return;
    }
    if (now - monitor.lastTick < kJpegProgressIntervalMs) return;
    int percent = JpegProgressPercent(monitor.pub.pass_counter, monitor.pub.pass_limit,
                                      monitor.pub.completed_passes, monitor.pub.total_passes);
    if (percent == monitor.lastPercent) return;
    monitor.lastTick = now;
    monitor.lastPercent = percent;
    JpegCallbackGuard(cinfo, [&] { (*monitor.handler)(JpegProgressStage::Running, percent); });
}

}  // namespace

int JpegProgressPercent(long passCounter, long passLimit, int completedPasses, int totalPasses) {
    if (passLimit <= 0 || totalPasses <= 0) return 0;
    double done = static_cast<double>(passCounter) / static_cast<double>(passLimit) + completedPasses;
    return static_cast<int>(done * 100.0 / totalPasses);
}

void InstallJpegProgressMonitor(j_decompress_ptr cinfo, JpegProgressMonitor& monitor,
                                const JpegProgressHandler* handler) {
    monitor.handler = handler;
    monitor.started = false;
    monitor.cut = false;
    monitor.scanLimit = 0;
    monitor.lastPercent = -1;
    monitor.pub.progress_monitor = ProgressMonitor;
    cinfo->progress = &monitor.pub;
}

}  // namespace kv
