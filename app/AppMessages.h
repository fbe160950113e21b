#pragma once
// The message numbers and command identifiers the application shell handles: the messages other
// processes send (links/LinkMessages.h), the system's session and power messages, and the tray
// menu's commands.
#include "links/LinkMessages.h"
#include "platform/WindowMessageIds.h"

namespace kelto {

using platform::WM_DISPLAYCHANGE;
using platform::WM_LBUTTONDBLCLK;
using platform::WM_POWERBROADCAST;
using platform::WM_QUERYENDSESSION;
using platform::WM_RBUTTONUP;

// Tray menu commands.
constexpr int ID_HELP = 57670;
constexpr int ID_EXECUTE_TV = 32771;
constexpr int ID_PROGRAM_INFO = 32772;
constexpr int ID_EXIT = 32773;
constexpr int ID_EXECUTE_POWERVCR = 32801;
constexpr int ID_POWERVCR_SOUND_ON = 32857;
constexpr int ID_POWERVCR_TV_AUDIO = 32860;
constexpr int ID_POWERVCR_VTR_AUDIO = 32861;
constexpr int ID_SETTING_RESERVATION = 32883;

}  // namespace kelto
