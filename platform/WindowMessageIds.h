#pragma once
// Message numbers with a fixed meaning for every window, as other programs send them.
#include <cstdint>

namespace kelto::platform {

constexpr std::uint32_t WM_NULL = 0x0000;
constexpr std::uint32_t WM_CREATE = 0x0001;
constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t WM_QUERYENDSESSION = 0x0011;
constexpr std::uint32_t WM_COPYDATA = 0x004A;
constexpr std::uint32_t WM_DISPLAYCHANGE = 0x007E;
constexpr std::uint32_t WM_KEYDOWN = 0x0100;
constexpr std::uint32_t WM_CHAR = 0x0102;
constexpr std::uint32_t WM_COMMAND = 0x0111;
constexpr std::uint32_t WM_SYSCOMMAND = 0x0112;
constexpr std::uint32_t WM_TIMER = 0x0113;
constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
constexpr std::uint32_t WM_POWERBROADCAST = 0x0218;
constexpr std::uint32_t WM_USER = 0x0400;

// The system menu's commands, carried in WM_SYSCOMMAND's first parameter (the low four bits
// belong to the system: compare the value masked with 0xFFF0).
constexpr std::uint32_t SC_SIZE = 0xF000;
constexpr std::uint32_t SC_MOVE = 0xF010;
constexpr std::uint32_t SC_MINIMIZE = 0xF020;
constexpr std::uint32_t SC_MAXIMIZE = 0xF030;
constexpr std::uint32_t SC_CLOSE = 0xF060;
constexpr std::uint32_t SC_KEYMENU = 0xF100;
constexpr std::uint32_t SC_RESTORE = 0xF120;

}  // namespace kelto::platform
