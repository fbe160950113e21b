#pragma once
// The same message number under a second name: the message-number check must reject it.
#include <cstdint>
constexpr std::uint32_t kPowerOffMessage = 1134;
