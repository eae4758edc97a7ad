#pragma once
// The picture the board and the preview show while no picture is loaded: 225 x 160, white, a
// black frame and a line of text in the canvas's default face. It never changes, so it is drawn
// once, by whichever thread asks first (the start-up worker asks ahead of the window), and only
// read after that.
namespace kv {

class TBitmap;

inline constexpr const char* kPlaceholderText = "Картинки нет...";
inline constexpr int kPlaceholderFontSize = 20;  // points

// Shares its storage with any bitmap that takes it (Assign), which copies before drawing on it.
const TBitmap& PlaceholderPicture();

}  // namespace kv
