#include "viewer/core/ViewerCommands.h"

#include "viewer/core/ViewerSession.h"

namespace kelto::viewer {

bool runViewerCommand(ViewerSession& session, int commandId) {
    using namespace command;
    switch (commandId) {
    case kModeTv:
    case kModeTvKey: session.SetVideoMode(VideoMode::TV); return true;
    case kModeCatv:
    case kModeCatvKey: session.SetVideoMode(VideoMode::CATV); return true;
    case kModeVideo:
    case kModeVideoKey: session.SetVideoMode(VideoMode::VIDEO); return true;
    case kModeSvhsKey: session.SetVideoMode(VideoMode::SVHS); return true;
    case kNextMode: session.nextVideoMode(); return true;
    case kPreviousChannel: session.previousChannel(); return true;
    case kSaveChannel: session.saveChannel(); return true;
    case kDeleteChannel: session.deleteChannel(); return true;
    case kChannelUp: session.channelUp(); return true;
    case kChannelDown: session.channelDown(); return true;
    case kVolumeUp: session.volumeUp(); return true;
    case kVolumeDown: session.volumeDown(); return true;
    case kMuteToggle: session.muteToggle(); return true;
    default: return false;
    }
}

}  // namespace kelto::viewer
