#pragma once
// The game's whole state record: one per main window, read and written only by the game flow
// (and by the window's drawing actions, which fill in the pictures they make).
#include <array>
#include <cstdint>
#include <memory>

#include "game/piece_id.h"
#include "graphics/geometry.h"

namespace kv {

// The drawing layer's bitmap is only named here. The state holds pictures through shared_ptr,
// whose deleter is captured where the picture is made, so this record can be built, copied into
// tests and destroyed without the drawing layer's headers. Pieces are held by number.
class TBitmap;

// Board geometry: the board control is 688 x 448 at (25, 80) of the window's client area.
inline constexpr std::int32_t kBoardWidth = 688;
inline constexpr std::int32_t kBoardHeight = 448;
inline constexpr std::int32_t kBoardLeft = 25;
inline constexpr std::int32_t kBoardTop = 80;

// Pieces per side run from 2 to 6; per-piece arrays are indexed 1..36, slot 0 stays unused so
// that piece k lives in slot k everywhere.
inline constexpr std::int32_t kMinGridSize = 2;
inline constexpr std::int32_t kMaxGridSize = 6;
inline constexpr std::int32_t kMaxPieces = kMaxGridSize * kMaxGridSize;
inline constexpr std::size_t kPieceSlots = kMaxPieces + 1;

inline constexpr TRect kBoardClientRect{0, 0, kBoardWidth, kBoardHeight};

// Fields in their declared order, with their values at window creation.
struct PuzzleState {
    std::shared_ptr<TBitmap> SourcePicture;                    // none until a picture is decoded
    std::int32_t PieceWidth = kBoardWidth / 2;                 // board width div N
    std::int32_t PieceHeight = kBoardHeight / 2;               // board height div N
    std::array<std::shared_ptr<TBitmap>, kPieceSlots> PieceBitmaps{};  // owned; piece k in slot k
    bool InPlay = false;
    bool PictureOnBoard = false;
    bool ReadyToShuffle = false;
    std::int32_t DragStartX = 0;
    std::int32_t DragStartY = 0;
    bool Dragging = false;
    std::array<PieceId, kPieceSlots> Pieces{};                 // controls owned by the main window
    std::int32_t GridSize = 2;                                 // N
    std::int32_t ElapsedSeconds = 0;
    std::array<std::int32_t, kPieceSlots> PieceHomeX{};        // home left inside the board
    std::array<std::int32_t, kPieceSlots> PieceHomeY{};        // home top inside the board
    bool PieceBitmapsReleased = true;
    bool PieceControlsReleased = true;
    std::int32_t PlacedCount = 0;
    TRect BoardRect{};

    std::int32_t PieceCount() const { return GridSize * GridSize; }
};

}  // namespace kv
