#pragma once
// How the tray agent's reservation engine reaches the viewer and the user: the viewer through
// the process-wide viewer pointer, the user through the "Programming Info" confirmation and the reservation list.
#include "reservations/ReservationUi.h"
#include "reservations/ReservationViewer.h"

#include <QPointer>

class QWidget;

namespace kelto {

class CTrayAgentDlg;
class CReservationListDlg;
class ReservationTable;

class AgentReservationViewer final : public ReservationViewer {
public:
    explicit AgentReservationViewer(CTrayAgentDlg& agent) : agent_(agent) {}
    bool isOpen() const override;
    bool open() override;
    void requestClose() override;
    VideoMode videoMode() const override;
    void setVideoMode(VideoMode mode) override;
    int currentChannel() const override;
    void tuneChannel(int channel) override;
    int countryCode() const override;
    RegisteredList registeredList(VideoMode mode) const override;
    ChannelBounds channelBounds() const override;
    RecordingSetup recordingSetup() override;
    void setRecordingSetup(const RecordingSetup& setup) override;
    std::string nextRecordingFileName() override;
    bool recordStream(const std::string& file) override;

private:
    CTrayAgentDlg& agent_;
};

class AgentReservationUi final : public ReservationUi {
public:
    explicit AgentReservationUi(QWidget* owner) : owner_(owner) {}
    // The table the list shows (the engine's, which is made after this object).
    void setTable(ReservationTable& table) { table_ = &table; }
    // The list shows the table: it goes with this object.
    ~AgentReservationUi() override;
    bool confirmReservation(const ReservationRecord& record) override;
    bool confirmTurnOff(const TurnOffSetting& setting) override;
    // Opens the list, or refreshes it when it is open (the data message's way).
    void openReservationList() override;
    // The menu commands' way: opens the list unless it is open already.
    void showReservationList();
    void refreshReservationList() override;
    void showAlreadyReserved() override;
    // Closes the list when it is open.
    void closeReservationList();
    bool listOpen() const;
    CReservationListDlg* list() const;

private:
    QWidget* owner_;
    ReservationTable* table_ = nullptr;
    // Cleared by Qt when the list is deleted (closing it deletes it), so nothing outside this
    // object writes into it.
    QPointer<CReservationListDlg> list_;
};

}  // namespace kelto
