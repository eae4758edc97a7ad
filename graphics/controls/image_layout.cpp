#include "graphics/controls/image_layout.h"

namespace kv {

TRect ImageDestRect(int pictureWidth, int pictureHeight, int clientWidth, int clientHeight,
                    const ImageLayoutOptions& options) {
    int w = pictureWidth;
    int h = pictureHeight;
    const int cw = clientWidth;
    const int ch = clientHeight;
    if (options.stretch || (options.proportional && (w > cw || h > ch))) {
        if (options.proportional && w > 0 && h > 0) {
            const double ratio = static_cast<double>(w) / h;
            if (w > h) {
                h = static_cast<int>(cw / ratio);
                w = cw;
                if (ch < h) {
                    w = static_cast<int>(ratio * ch);
                    h = ch;
                }
            } else {
                w = static_cast<int>(ratio * ch);
                h = ch;
                if (cw < w) {
                    h = static_cast<int>(cw / ratio);
                    w = cw;
                }
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect rect{0, 0, w, h};
    if (options.center) rect = rect.Offset((cw - w) / 2, (ch - h) / 2);
    return rect;
}

}  // namespace kv
