#pragma once
// The add (372) and modify (373) dialogs of one reservation: the same fields under different
// control identifiers. The mode radios refill the channel list with their band, "&Recording"
// enables the option and the end time, the day mode "Date" enables the date.
#include "framework/Dialog.h"
#include "reservations/ReservationForm.h"

namespace kelto {

class ReservationTable;

// The band limits the dialogs offer: from the country file in the Windows folder, for the
// "CountryCode" setting (or the locale's country), with 2..69 and 1..125 where it says nothing.
// The same file the viewer reads, so it also serves when only the tray agent runs.
ChannelBounds reservationBandLimits();

class CReservationEditDlg : public framework::Dialog {
    Q_OBJECT
public:
    struct ControlIds {
        int tv, catv, channel, comment, recording, option, dayMode, date, start, end;
    };

    // The record as the controls describe it now, with the given apply flag.
    ReservationRecord chosenRecord(std::uint32_t apply) const;
    std::uint32_t videoMode() const { return mode_; }

protected:
    CReservationEditDlg(int resourceId, const ControlIds& ids, ReservationTable& table, const ChannelBounds& bounds,
                        QWidget* parent);
    // Puts a record into the controls (the channel list of its band).
    void showRecord(const ReservationRecord& record);
    ReservationTable& table() { return table_; }

private:
    void fillChannels(std::uint32_t mode, int selected);
    void onMode(std::uint32_t mode);
    void updateEnabling();

    ControlIds ids_;
    ReservationTable& table_;
    ChannelBounds bounds_;
    std::uint32_t mode_ = 0;
};

// "Add" (372): a new, active reservation; refused with "Already reserved time." (and left open)
// when the table is full or the start minute is taken.
class CReservationAddDlg : public CReservationEditDlg {
    Q_OBJECT
public:
    static constexpr int kResourceId = 372;
    static constexpr ControlIds kIds{1250, 1251, 1284, 1356, 1285, 1357, 1352, 1355, 1353, 1354};
    CReservationAddDlg(ReservationTable& table, const ChannelBounds& bounds, QWidget* parent = nullptr);

private:
    void onOk();
};

// "Modify" (373): the reservation at `index`, stored back without a time check; its apply flag
// and the file of its last recording stay as they are.
class CReservationModifyDlg : public CReservationEditDlg {
    Q_OBJECT
public:
    static constexpr int kResourceId = 373;
    static constexpr ControlIds kIds{1358, 1359, 1360, 1361, 1362, 1363, 1364, 1365, 1366, 1367};
    CReservationModifyDlg(ReservationTable& table, int index, const ChannelBounds& bounds, QWidget* parent = nullptr);
    int index() const { return index_; }

private:
    void onOk();
    int index_;
};

}  // namespace kelto
