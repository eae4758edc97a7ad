#pragma once
// Integer points and rectangles in surface pixels (origin top-left, y downwards).
#include <algorithm>

namespace kv {

struct TPoint {
    int x = 0, y = 0;
    bool operator==(const TPoint&) const = default;
};

// A rectangle whose right and bottom edges are exclusive: it holds the pixels with
// left <= x < right and top <= y < bottom. Width or height may come out negative
// ("inverted"); such a rectangle holds no pixels.
struct TRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(TPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

    // The common part; an empty rectangle (possibly inverted) when they do not meet.
    TRect Intersect(const TRect& other) const {
        return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom)};
    }
    TRect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    // The same rectangle with left <= right and top <= bottom.
    TRect Normalized() const {
        return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    }
    bool operator==(const TRect&) const = default;
};

inline TRect RectOfSize(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

}  // namespace kv
