#pragma once
// The commands of the viewer's menu and accelerator table that the session carries out, so the
// window's message map hands them on by identifier.
namespace kelto::viewer {

class ViewerSession;

namespace command {
constexpr int kModeTv = 32876, kModeTvKey = 32907;        // Ctrl+1
constexpr int kModeCatv = 32877, kModeCatvKey = 32908;    // Ctrl+2
constexpr int kModeVideo = 32878, kModeVideoKey = 32909;  // Ctrl+3
constexpr int kModeSvhsKey = 32913;                       // Ctrl+4
constexpr int kNextMode = 32901;                          // Ctrl+S
constexpr int kPreviousChannel = 32880;
constexpr int kSaveChannel = 32881;
constexpr int kDeleteChannel = 32882;
constexpr int kChannelUp = 32895, kChannelDown = 32896;
constexpr int kVolumeUp = 32898, kVolumeDown = 32897;
constexpr int kMuteToggle = 32892;  // Shift+M
}  // namespace command

// Carries out one of the commands above; false for any other identifier.
bool runViewerCommand(ViewerSession& session, int commandId);

}  // namespace kelto::viewer
