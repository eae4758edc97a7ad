#pragma once
// Where a picture control draws its picture: the destination rectangle for a picture of
// pictureWidth x pictureHeight in a control of clientWidth x clientHeight.
#include "graphics/geometry.h"

namespace kv {

struct ImageLayoutOptions {
    bool stretch = false;
    bool center = false;
    bool proportional = false;
};

// Stretch, or Proportional with a picture larger than the control in either direction, scales
// the picture: to the whole control, or with Proportional to the largest size of the picture's
// aspect ratio that fits (sizes truncated). Otherwise the picture keeps its size. The rectangle
// starts at (0, 0); Center moves it by half the free space (truncated toward zero).
TRect ImageDestRect(int pictureWidth, int pictureHeight, int clientWidth, int clientHeight,
                    const ImageLayoutOptions& options);

}  // namespace kv
