#pragma once
// How the game names a piece: a number the board services hand out when they make the piece.
// The game keeps and passes these numbers, never the controls behind them, so it needs no
// drawing-layer control and a test double can stand behind the same numbers.
#include <cstdint>

namespace kv {

// Numbers start at 1; 0 (kNoPiece) marks an empty slot. A number is not reused while the board
// that made it lives, so a number kept past its piece's release names nothing.
struct PieceId {
    std::uint32_t value = 0;
    friend bool operator==(PieceId, PieceId) = default;
};

inline constexpr PieceId kNoPiece{};

}  // namespace kv
