#pragma once
// What the program's processes and the programs around them send each other: private message
// numbers, and the window titles and classes they look for. Each number is defined here once.
#include "viewer/ViewerMessages.h"  // kMsgSiblingNotice, the viewer's own

#include <cstdint>

namespace kelto {

constexpr std::uint32_t kMsgTrayCallback = 0x40A;     // tray icon events; second parameter the mouse event
constexpr std::uint32_t kMsgOpenViewer = 0x46D;       // posted by a second start: open the viewer
constexpr std::uint32_t kMsgPowerOff = 0x46E;         // 1: power off, 0: close the viewer
constexpr std::uint32_t kMsgExitAgent = 0x46F;        // run the exit sequence
constexpr std::uint32_t kMsgSiblingQuery = 0xBD0;     // asks a sibling program who it is
constexpr std::uint32_t kMsgRemoteRegister = 0x7E8;   // to the remote-controller program
constexpr std::int64_t kSiblingAnswerFm = 0x4D460000; // "FM" in the high word

// Window titles and classes other processes look for.
constexpr const char* kAgentTitle = "Vezidov ID";
constexpr const char* kViewerTitle = "Kelto TV";
constexpr const char* kSingleInstanceMutex = "KELTO TV";
constexpr const char* kRemoteClass = "KELTOTV";
constexpr const char* kAgentRemoteTitle = "KELTO POWER VCR";
constexpr const char* kViewerRemoteTitle = "KELTOTV";
constexpr const char* kRemoteControllerClass = "Norvane Remocon Controller";
constexpr const char* kPowerVcrClass = "CyberLink PowerVCR Class";
constexpr const char* kPowerVcrTitle = "CyberLink PowerVCR";
constexpr const char* kPowerVcrKeyClass = "PowerVCR II Taurus";

}  // namespace kelto
