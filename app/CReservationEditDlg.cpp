#include "app/CReservationEditDlg.h"

#include "channels/CountryConfigFile.h"
#include "framework/MessageBoxes.h"
#include "platform/Paths.h"
#include "platform/SystemInfo.h"
#include "reservations/LocalTime.h"
#include "reservations/ReservationTable.h"
#include "resources/StringTable.h"
#include "settings/SettingsStore.h"
#include "settings/ViewerSettings.h"
#include "viewer/ViewerOpening.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QRadioButton>

namespace kelto {

ChannelBounds reservationBandLimits() {
    const SettingsStore store;
    const int country = store.readInt(section::kUser, "CountryCode", platform::userCountryCode());
    const auto file = findCountryFile(platform::windowsFolder());
    return readReservationBounds(file ? file->string() : std::string(kCountryFileName), country);
}

namespace {

QString text(int id) { return QString::fromStdString(LoadMessage(id)); }

QDateTime localDateTime(std::int64_t seconds) { return QDateTime::fromSecsSinceEpoch(qint64(seconds)); }

}  // namespace

CReservationEditDlg::CReservationEditDlg(int resourceId, const ControlIds& ids, ReservationTable& table,
                                         const ChannelBounds& bounds, QWidget* parent)
    : Dialog(resourceId, parent), ids_(ids), table_(table), bounds_(bounds) {
    if (auto* options = control<QComboBox>(ids_.option))
        for (int id : {32871, 32874, 32875}) options->addItem(text(id));
    if (auto* days = control<QComboBox>(ids_.dayMode)) {
        for (int id = 32862; id <= 32869; ++id) days->addItem(text(id));
        days->addItem(text(32872));
    }
    for (int picker : {ids_.start, ids_.end})
        if (auto* time = control<QDateTimeEdit>(picker)) time->setDisplayFormat("HH:mm");

    // New reservations start from now, to the minute.
    const std::int64_t now = nowSeconds() / 60 * 60;
    ReservationRecord fresh;
    fresh.startTime = fresh.endTime = std::uint32_t(now);
    showRecord(fresh);

    if (auto* tv = control<QRadioButton>(ids_.tv))
        connect(tv, &QRadioButton::toggled, this, [this](bool on) { if (on) onMode(0); });
    if (auto* catv = control<QRadioButton>(ids_.catv))
        connect(catv, &QRadioButton::toggled, this, [this](bool on) { if (on) onMode(1); });
    if (auto* recording = control<QCheckBox>(ids_.recording))
        connect(recording, &QCheckBox::toggled, this, [this] { updateEnabling(); });
    if (auto* days = control<QComboBox>(ids_.dayMode))
        connect(days, &QComboBox::currentIndexChanged, this, [this] { updateEnabling(); });
}

void CReservationEditDlg::fillChannels(std::uint32_t mode, int selected) {
    auto* channels = control<QComboBox>(ids_.channel);
    if (!channels) return;
    channels->clear();
    for (int channel : bandChannels(bounds_, mode)) channels->addItem(QString::asprintf("CH %d", channel));
    channels->setCurrentIndex(channels->count() ? std::min(selected, channels->count() - 1) : -1);
}

void CReservationEditDlg::onMode(std::uint32_t mode) {
    if (mode == mode_) return;  // only a real change refills the list
    mode_ = mode;
    fillChannels(mode, 0);
}

void CReservationEditDlg::showRecord(const ReservationRecord& record) {
    mode_ = record.videoMode == 1 ? 1 : 0;
    if (auto* radio = control<QRadioButton>(mode_ == 1 ? ids_.catv : ids_.tv)) {
        const QSignalBlocker quiet(radio);
        radio->setChecked(true);
    }
    fillChannels(mode_, channelEntry(bounds_, mode_, record.channel));
    if (auto* comment = control<QLineEdit>(ids_.comment)) comment->setText(QString::fromStdString(record.comment));
    if (auto* recording = control<QCheckBox>(ids_.recording)) recording->setChecked(record.records());
    const auto option = std::uint32_t(record.option);
    if (auto* options = control<QComboBox>(ids_.option)) options->setCurrentIndex(option < kOptionEntries ? int(option) : 0);
    const auto day = std::uint32_t(record.dayMode);
    if (auto* days = control<QComboBox>(ids_.dayMode)) days->setCurrentIndex(day < kDayModeEntries ? int(day) : 7);
    if (auto* date = control<QDateEdit>(ids_.date)) date->setDate(localDateTime(record.startTime).date());
    if (auto* start = control<QDateTimeEdit>(ids_.start)) start->setDateTime(localDateTime(record.startTime));
    if (auto* end = control<QDateTimeEdit>(ids_.end)) end->setDateTime(localDateTime(record.endTime));
    updateEnabling();
}

void CReservationEditDlg::updateEnabling() {
    const auto* recording = control<QCheckBox>(ids_.recording);
    const bool records = recording && recording->isChecked();
    for (int id : {ids_.option, ids_.end})
        if (QWidget* field = control(id)) field->setEnabled(optionAndEndEnabled(records));
    const auto* days = control<QComboBox>(ids_.dayMode);
    if (QWidget* date = control(ids_.date)) date->setEnabled(days && dateEnabled(days->currentIndex()));
}

ReservationRecord CReservationEditDlg::chosenRecord(std::uint32_t apply) const {
    ReservationFormValues values;
    values.videoMode = mode_;
    if (auto* channels = control<QComboBox>(ids_.channel)) values.channelEntry = channels->currentIndex();
    if (auto* comment = control<QLineEdit>(ids_.comment)) values.comment = comment->text().toStdString();
    if (auto* recording = control<QCheckBox>(ids_.recording)) values.recording = recording->isChecked();
    if (auto* options = control<QComboBox>(ids_.option)) values.optionEntry = std::max(0, options->currentIndex());
    if (auto* days = control<QComboBox>(ids_.dayMode)) values.dayModeEntry = std::max(0, days->currentIndex());
    if (auto* date = control<QDateEdit>(ids_.date)) values.date = QDateTime(date->date(), QTime(12, 0)).toSecsSinceEpoch();
    if (auto* start = control<QDateTimeEdit>(ids_.start)) values.start = start->dateTime().toSecsSinceEpoch();
    if (auto* end = control<QDateTimeEdit>(ids_.end)) values.end = end->dateTime().toSecsSinceEpoch();
    return buildReservation(values, bounds_, apply);
}

CReservationAddDlg::CReservationAddDlg(ReservationTable& table, const ChannelBounds& bounds, QWidget* parent)
    : CReservationEditDlg(kResourceId, kIds, table, bounds, parent) {
    messageMap().onCommand(IDOK, [this] { onOk(); });
}

void CReservationAddDlg::onOk() {
    if (!table().addRecord(chosenRecord(1))) {
        framework::messageBox(this, LoadMessage(32876), framework::MessageButtons::Ok, framework::MessageIcon::Information);
        return;  // stays open with what was entered
    }
    accept();
}

CReservationModifyDlg::CReservationModifyDlg(ReservationTable& table, int index, const ChannelBounds& bounds,
                                             QWidget* parent)
    : CReservationEditDlg(kResourceId, kIds, table, bounds, parent), index_(index) {
    showRecord(table.record(index));
    messageMap().onCommand(IDOK, [this] { onOk(); });
}

void CReservationModifyDlg::onOk() {
    const ReservationRecord stored = table().record(index_);
    ReservationRecord changed = chosenRecord(stored.apply);
    // The last recording's file still exists: editing the reservation does not forget it.
    changed.recordedFile = stored.recordedFile;
    table().setRecord(index_, changed);
    accept();
}

}  // namespace kelto
