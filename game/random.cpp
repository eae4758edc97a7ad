#include "game/random.h"

namespace kv {

std::uint32_t GameRandom::Next(std::uint32_t range) {
    seed_ = seed_ * kMultiplier + 1u;  // wraps modulo 2^32
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(seed_) * range) >> 32);
}

}  // namespace kv
