#pragma once
// The power-off message, defined where the processes share their message numbers.
#include <cstdint>
constexpr std::uint32_t kMsgPowerOff = 0x46E;
