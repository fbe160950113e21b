#include "app/AgentReservationLinks.h"

#include "app/CProgramInfoDlg.h"
#include "app/CReservationEditDlg.h"
#include "app/CReservationListDlg.h"
#include "app/CTrayAgentDlg.h"
#include "viewer/ViewerWindow.h"
#include "platform/WindowMessageIds.h"
#include "reservations/ReservationTable.h"
#include "resources/StringTable.h"

#include "framework/MessageBoxes.h"

namespace kelto {

bool AgentReservationViewer::isOpen() const { return currentViewer() != nullptr; }

bool AgentReservationViewer::open() {
    agent_.openViewer();
    return isOpen();
}

void AgentReservationViewer::requestClose() {
    if (ViewerWindow* viewer = currentViewer())
        agent_.windowSystem().sendMessage(viewer->windowHandle(), platform::WM_CLOSE, 0, 0);
}

VideoMode AgentReservationViewer::videoMode() const { return currentViewer() ? currentViewer()->videoMode() : VideoMode::TV; }
void AgentReservationViewer::setVideoMode(VideoMode mode) {
    if (ViewerWindow* viewer = currentViewer()) viewer->setVideoMode(mode);
}
int AgentReservationViewer::currentChannel() const { return currentViewer() ? currentViewer()->currentChannel() : 0; }
void AgentReservationViewer::tuneChannel(int channel) {
    if (ViewerWindow* viewer = currentViewer()) viewer->tuneChannel(channel);
}
int AgentReservationViewer::countryCode() const { return currentViewer() ? currentViewer()->countryCode() : 0; }
RegisteredList AgentReservationViewer::registeredList(VideoMode mode) const {
    return currentViewer() ? currentViewer()->registeredList(mode) : RegisteredList{};
}
ChannelBounds AgentReservationViewer::channelBounds() const {
    return currentViewer() ? currentViewer()->channelBounds() : ChannelBounds{};
}
RecordingSetup AgentReservationViewer::recordingSetup() {
    return currentViewer() ? currentViewer()->recordingSetup() : RecordingSetup{};
}
void AgentReservationViewer::setRecordingSetup(const RecordingSetup& setup) {
    if (ViewerWindow* viewer = currentViewer()) viewer->setRecordingSetup(setup);
}
std::string AgentReservationViewer::nextRecordingFileName() {
    return currentViewer() ? currentViewer()->nextRecordingFileName() : std::string();
}
bool AgentReservationViewer::recordStream(const std::string& file) {
    return currentViewer() ? currentViewer()->recordStream(file) : false;
}

AgentReservationUi::~AgentReservationUi() { delete list_.data(); }

bool AgentReservationUi::confirmReservation(const ReservationRecord& record) {
    return confirmReservationDue(owner_, record);
}

bool AgentReservationUi::confirmTurnOff(const TurnOffSetting& setting) { return confirmTurnOffDue(owner_, setting); }

void AgentReservationUi::openReservationList() {
    if (list_) {
        list_->refresh();
        return;
    }
    showReservationList();
}

void AgentReservationUi::showReservationList() {
    if (!table_ || list_) return;
    // A window of its own, not a child of the hidden agent; it deletes itself when closed.
    list_ = new CReservationListDlg(*table_, reservationBandLimits());
    list_->show();
}

void AgentReservationUi::refreshReservationList() {
    if (list_) list_->refresh();
}

void AgentReservationUi::showAlreadyReserved() {
    framework::messageBox(owner_, LoadMessage(32876), framework::MessageButtons::Ok, framework::MessageIcon::Information);
}

void AgentReservationUi::closeReservationList() {
    if (list_) list_->close();
}

bool AgentReservationUi::listOpen() const { return list_ != nullptr; }

CReservationListDlg* AgentReservationUi::list() const { return list_.data(); }

}  // namespace kelto
