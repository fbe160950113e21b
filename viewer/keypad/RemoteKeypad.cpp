#include "viewer/keypad/RemoteKeypad.h"

#include <algorithm>

namespace kelto::viewer {

RemoteKeypad::RemoteKeypad(ViewerSession& session, KeypadViewerSide& viewer) : session_(session), viewer_(viewer) {
    refreshFromSession();
}

void RemoteKeypad::refreshFromSession() {
    view_.channelNumber = session_.displayedNumber();
    refresh();
}

void RemoteKeypad::showChannelNumber(int number) { view_.channelNumber = number; }

void RemoteKeypad::refresh() {
    view_.videoMode = session_.videoMode();
    view_.muted = session_.muted();
    view_.volumeStep = session_.volumeStep();
}

void RemoteKeypad::passOn(std::uint32_t message, std::uint64_t wParam) {
    if (passed_.size() == kKeptPassedOn) passed_.erase(passed_.begin());
    passed_.push_back({message, wParam});
}

// --- mouse

void RemoteKeypad::setDrawnPressed(std::optional<KeypadRegion> region) {
    view_.drawnPressed.fill(false);
    if (region) view_.drawnPressed[std::size_t(index(*region))] = true;
}

bool RemoteKeypad::press(QPoint at) {
    held_ = keypadRegionAt(at);
    setDrawnPressed(held_);
    return held_.has_value();
}

void RemoteKeypad::move(QPoint at) {
    if (!held_) return;
    setDrawnPressed(keypadRegionAt(at) == held_ ? held_ : std::nullopt);
}

void RemoteKeypad::release(QPoint at) {
    const auto held = held_;
    held_.reset();
    setDrawnPressed(std::nullopt);
    if (held && keypadRegionAt(at) == held) act(*held);
}

// --- actions

void RemoteKeypad::act(KeypadRegion region) {
    if (restored_) return;
    if (const int digit = keypadDigit(region); digit >= 0) return session_.digit(digit);
    switch (region) {
    case KeypadRegion::Save: session_.saveChannel(); break;
    case KeypadRegion::Delete: session_.deleteChannel(); break;
    case KeypadRegion::Previous: stepNumber(-1); break;
    case KeypadRegion::Next: stepNumber(+1); break;
    // The viewer's accelerators turn the arrow keys into channel up and down through the list.
    case KeypadRegion::ListUp: viewer_.postKeyToViewer(true, Qt::Key_Up, Qt::NoModifier); break;
    case KeypadRegion::ListDown: viewer_.postKeyToViewer(true, Qt::Key_Down, Qt::NoModifier); break;
    case KeypadRegion::Restore: restore(); break;
    case KeypadRegion::Minimise: viewer_.minimiseKeypad(); break;
    default: break;
    }
}

// One channel number up or down, stopping at the band's ends; with list numbering (country 86)
// a step through the registered list instead.
void RemoteKeypad::stepNumber(int delta) {
    if (session_.countryCode() == 86) {
        viewer_.postKeyToViewer(true, delta > 0 ? Qt::Key_Up : Qt::Key_Down, Qt::NoModifier);
        return;
    }
    const ChannelBounds bounds = session_.channelBounds();
    const bool cable = session_.videoMode() == VideoMode::CATV;
    const int lowest = cable ? bounds.catvLowest : bounds.tvLowest;
    const int highest = cable ? bounds.catvHighest : bounds.tvHighest;
    const int current = session_.currentChannel();
    session_.TuneChannel(delta > 0 ? std::min(current + 1, highest) : std::max(current - 1, lowest), true);
}

void RemoteKeypad::restore() {
    if (restored_) return;
    restored_ = true;
    held_.reset();
    setDrawnPressed(std::nullopt);
    viewer_.keypadClosing();
    if (viewer_.desktopTvOn()) viewer_.sendCommandToViewer(kDesktopTvCommand, false);
    // Asked after desktop TV has ended: ending it shows the viewer normally.
    if (viewer_.viewerMaximised()) viewer_.postCommandToViewer(kFullScreenCommand);
    viewer_.keypadClosed();
}

// --- keyboard

KeypadKeyRoute RemoteKeypad::key(bool down, Qt::Key key, Qt::KeyboardModifiers modifiers,
                                 std::optional<int> acceleratorCommand) {
    if (down && acceleratorCommand && viewer_.viewerHidden()) {
        viewer_.sendCommandToViewer(*acceleratorCommand, true);
        return KeypadKeyRoute::ViewerCommand;
    }
    if (down && (key == Qt::Key_Escape || key == Qt::Key_F10)) return KeypadKeyRoute::Swallowed;
    viewer_.postKeyToViewer(down, key, modifiers);
    return KeypadKeyRoute::PostedToViewer;
}

}  // namespace kelto::viewer
