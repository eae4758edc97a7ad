#include "game/game_clock.h"

namespace kv {

std::string ClockText(std::int32_t elapsedSeconds) {
    const std::int32_t minutes = elapsedSeconds / 60;
    const std::int32_t seconds = elapsedSeconds - minutes * 60;
    return std::to_string(minutes) + " : " + std::to_string(seconds);
}

}  // namespace kv
