#include "viewer/window/ContextMenu.h"

namespace kelto::viewer {

namespace {

constexpr int kStreamPopupPosition = 13;
constexpr int kVideoModePopupPosition = 15;
constexpr int kEpgPopupPosition = 26;

void check(MenuItem& popup, int command, bool on) {
    if (MenuItem* item = popup.findCommand(command)) item->checked = on;
}

void grey(MenuItem& popup, int command) {
    if (MenuItem* item = popup.findCommand(command)) item->enabled = false;
}

void erase(MenuItem& popup, std::size_t position) {
    if (position < popup.children.size()) popup.children.erase(popup.children.begin() + std::ptrdiff_t(position));
}

}  // namespace

MenuItem prepareContextMenu(MenuItem popup, const ContextMenuState& s) {
    // Check marks, and the radio marks of the still and recording types.
    check(popup, 32774, s.alwaysOnTop);
    check(popup, 32777, s.tvFrame);
    check(popup, 32800, s.panelCollapsed);
    check(popup, 32784, s.frozen);
    check(popup, 32832, s.option640x480);
    check(popup, 32786, s.closedCaptions);
    check(popup, 32868, s.stillType == 0);
    check(popup, 32869, s.stillType == 1);
    check(popup, 32872, s.recordingType == 0);
    check(popup, 32873, s.recordingType == 1);
    check(popup, 32874, s.recordingType == 2);

    // The separator under "Capture" in the stream pop-up goes; its type items stay.
    if (MenuItem* stream = popup.at(kStreamPopupPosition); stream && stream->kind == MenuItem::Kind::Popup)
        erase(*stream, 1);

    const bool companion = s.keypadOpen || s.configSheetOpen || s.captureSheetOpen;
    const bool tuner = s.videoMode == 0 || s.videoMode == 1;
    if (s.maximised) grey(popup, 32777);
    if (companion) {
        grey(popup, 32776);
        grey(popup, 32790);
        grey(popup, 32800);
    }
    if (s.maximised) grey(popup, 32800);
    if (!tuner) {
        grey(popup, 32776);
        grey(popup, 32786);
    }

    // The video-mode pop-up while the configuration sheet or the keypad is open, and always the
    // EPG pop-up (one place earlier when the video-mode pop-up went).
    std::size_t epg = kEpgPopupPosition;
    if (s.configSheetOpen || s.keypadOpen) {
        erase(popup, kVideoModePopupPosition);
        --epg;
    }
    erase(popup, epg);

    popup.deleteCommand(32834);
    popup.deleteCommand(32886);
    if (!s.enableSvhs) popup.deleteCommand(32879);
    if (!tuner) {
        popup.deleteCommand(32880);
        popup.deleteCommand(32881);
        popup.deleteCommand(32882);
    } else if (s.countryCode == 86) {
        popup.deleteCommand(32881);
        popup.deleteCommand(32882);
    }
    return popup;
}

}  // namespace kelto::viewer
