#pragma once
// Text of the clock label: minutes, " : ", seconds; no leading zeros, no hours.
#include <cstdint>
#include <string>

namespace kv {

std::string ClockText(std::int32_t elapsedSeconds);

}  // namespace kv
