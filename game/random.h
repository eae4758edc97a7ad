#pragma once
// The game's own pseudo-random generator: a 32-bit linear congruential sequence starting from
// seed 0, so every run of the program scatters its games the same way.
#include <cstdint>

namespace kv {

class GameRandom {
public:
    static constexpr std::uint32_t kMultiplier = 134775813u;  // 0x08088405

    // Advances the seed and returns a whole number from 0 to range - 1 (range > 0).
    std::uint32_t Next(std::uint32_t range);

    std::uint32_t Seed() const { return seed_; }

private:
    std::uint32_t seed_ = 0;
};

}  // namespace kv
