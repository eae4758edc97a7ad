#include "codecs/jpeg_progress.h"

#include "codecs/jpeg_error.h"
#include "runtime/tick.h"

namespace kv {

namespace {

extern "C" void ProgressMonitor(j_common_ptr cinfo) {
    auto& monitor = *reinterpret_cast<JpegProgressMonitor*>(cinfo->progress);
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
    if (handler == nullptr || !*handler) {
        cinfo->progress = nullptr;
        return;
    }
    monitor.handler = handler;
    monitor.started = false;
    monitor.lastPercent = -1;
    monitor.pub.progress_monitor = ProgressMonitor;
    cinfo->progress = &monitor.pub;
}

}  // namespace kv
