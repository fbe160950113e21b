#include "viewer/config/CEnvironmentPage1.h"

#include "framework/CReportListCtrl.h"
#include "framework/MessageBoxes.h"
#include "resources/ArtResource.h"
#include "resources/StringTable.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>

#include <algorithm>

namespace kelto::viewer::config {

namespace {

ChannelBand bandOf(const ViewerSettings& settings) {
    return settings.videoMode == VideoMode::CATV ? ChannelBand::Cable : ChannelBand::Broadcast;
}

int viewerChannel(SheetViewer& viewer, ChannelBand band) {
    const ViewerSettings& settings = viewer.viewerSettings();
    return band == ChannelBand::Cable ? settings.catvChannel : settings.tvChannel;
}

// The strip of images cut into its 15-pixel-wide pictures (none while the art is missing).
QList<QPixmap> imageList(const QPixmap& strip, int width) {
    QList<QPixmap> images;
    if (strip.isNull()) return images;
    for (int x = 0; x + width <= strip.width(); x += width) images.push_back(strip.copy(x, 0, width, strip.height()));
    return images;
}

void setText(const framework::Dialog& page, int id, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (auto* label = page.control<QLabel>(id)) label->setText(value);
    else if (auto* field = page.control<QLineEdit>(id)) field->setText(value);
}

void enable(const framework::Dialog& page, int id, bool on) {
    if (QWidget* control = page.control(id)) control->setEnabled(on);
}

}  // namespace

CEnvironmentPage1::CEnvironmentPage1(SheetViewer& viewer, QWidget* parent)
    : PropertyPage(kResourceId, parent),
      viewer_(viewer),
      logic_(viewer.channelModel(), bandOf(viewer.viewerSettings()),
             numberingForCountry(viewer.viewerSettings().countryCode)) {
    list_ = control<framework::CReportListCtrl>(kChannelList);
    progress_ = control<QProgressBar>(kScanProgress);
    slider_ = control<QSlider>(kFineSlider);
    buildMessageMap();

    // Opening.
    enable(*this, kStopScan, false);
    enable(*this, kStopAndKeep, false);
    if (QWidget* extent = control(kScanExtent)) extent->hide();
    if (list_) {
        list_->setSmallImages(imageList(bitmapResource(kImageStrip), kImageWidth));
        list_->setSelectionMode(QAbstractItemView::SingleSelection);
        list_->setShowSelectionAlways(true);
        list_->installEventFilter(this);
        connect(list_, &framework::CReportListCtrl::rowStateChanged, this,
                [this](int row, int newState, int) { onRowStateChanged(row, newState); });
    }
    if (slider_) {
        const QSignalBlocker quiet(slider_);
        slider_->setRange(ChannelPageLogic::kFineLowest, ChannelPageLogic::kFineHighest);
        slider_->setTickInterval(1);
        slider_->setTickPosition(QSlider::TicksBelow);
        slider_->setPageStep(1);
        connect(slider_, &QSlider::valueChanged, this, [this](int value) {
            if (!settingSlider_) fineTuned(logic_.setFineTuning(value));
        });
    }
    fillList();
    logic_.open(viewer_.displayedNumber(), viewerChannel(viewer_, logic_.band()));
    plan_ = ScanPlan::of(viewer_.channelModel(), logic_.band());
    resetProgress();
    setText(*this, kScanStatus, LoadMessage(195));
    selectCurrentRow();
}

CEnvironmentPage1::~CEnvironmentPage1() {
    if (list_) list_->removeEventFilter(this);
    if (scan_) scan_->cancelAndJoin();
    scan_.reset();
    // A scan cut short by the page going away still gives the viewer its sound back.
    if (scanning_) {
        scanning_ = 0;
        viewer_.setScanInProgress(false);
        viewer_.muteCardAudio(false);
    }
}

void CEnvironmentPage1::buildMessageMap() {
    framework::MessageMap& map = messageMap();
    map.onCommand(kAutoScan, [this] { startScan(); });
    map.onCommand(kStopScan, [this] {
        if (scan_) scan_->requestStop();
    });
    map.onCommand(kStopAndKeep, [this] {
        if (scan_) scan_->requestStopAndKeep();
    });
    map.onCommand(kScanExtent, [] {});
    map.onCommand(kDefaultFine, [this] { fineTuned(logic_.defaultFineTuning()); });
    map.onCommand(kCancelFine, [this] { fineTuned(logic_.restoreFineTuning()); });
}

// --- the list

void CEnvironmentPage1::fillList() {
    if (!list_) return;
    listShowsScan_ = false;
    const ChannelListLayout layout = logic_.listLayout();
    list_->DeleteAllItems();
    list_->DeleteAllColumns();
    for (int c = 0; c < int(layout.columns.size()); ++c) {
        const ChannelListColumn& column = layout.columns[std::size_t(c)];
        list_->InsertColumn(c, QString::fromStdString(column.heading), -1, framework::CReportListCtrl::kAllColumnParts,
                            column.format);
        list_->SetColumnWidth(c, column.width);
    }
    for (int r = 0; r < int(layout.rows.size()); ++r) {
        const ChannelListRow& row = layout.rows[std::size_t(r)];
        list_->SetRowText(r, 0, QString::fromStdString(row.texts.front()), row.image);
        for (int c = 1; c < int(row.texts.size()); ++c) list_->SetItemText(r, c, QString::fromStdString(row.texts[std::size_t(c)]));
    }
}

// Selecting a row reports the change like a click, so it also chooses (and tunes) the channel.
void CEnvironmentPage1::selectCurrentRow() {
    if (list_) list_->setRowState(logic_.currentRow(), true, true);
}

void CEnvironmentPage1::onRowStateChanged(int row, int newState) {
    // While the list shows a scan's rows they are not the registered list's: nothing to choose.
    if (newState == 0 || listShowsScan_) return;
    const std::optional<int> channel = logic_.choose(row);
    if (!channel) return;
    viewer_.TuneChannel(*channel, false);
    showFrequency();
}

void CEnvironmentPage1::showFrequency() {
    const FrequencyView view = logic_.frequencyView();
    setText(*this, kBandLabel, view.bandLabel);
    setText(*this, kChannelLabel, view.channelLabel);
    setText(*this, kFrequencyField, view.frequency);
    if (slider_) {
        settingSlider_ = true;
        slider_->setValue(view.slider);
        settingSlider_ = false;
    }
}

void CEnvironmentPage1::fineTuned(int channel) {
    showFrequency();
    viewer_.TuneChannel(channel, false);
}

bool CEnvironmentPage1::onApply() {
    logic_.apply(viewer_.displayedNumber(), viewerChannel(viewer_, logic_.band()));
    selectCurrentRow();
    return PropertyPage::onApply();
}

// --- the Delete key

bool CEnvironmentPage1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete)
        return deleteKey();
    return PropertyPage::eventFilter(watched, event);
}

bool CEnvironmentPage1::deleteKey() {
    QPointer<CEnvironmentPage1> alive(this);
    const DeleteOutcome outcome = logic_.deleteCurrent([this, &alive](const std::string& question) {
        const int answer = framework::messageBox(
            this, {question, LoadMessage(166), framework::MessageButtons::YesNo, framework::MessageIcon::Question});
        return alive && answer == framework::IDYES;
    });
    if (!alive) return true;
    if (outcome.deleted) {
        list_->DeleteItem(outcome.row);
        selectCurrentRow();
    }
    return outcome.handled;
}

// --- the scan, on the page's side

void CEnvironmentPage1::startScan() {
    if (scanning_ || !list_) return;
    scan_.reset();  // the last scan's worker has finished; this joins it
    enable(*this, kDefaultFine, false);
    enable(*this, kCancelFine, false);
    enable(*this, kFineSlider, false);
    enable(*this, kAutoScan, false);
    if (closeButton_) closeButton_(false);
    enable(*this, kStopScan, true);
    enable(*this, kStopAndKeep, true);
    scanning_ = 1;
    plan_ = ScanPlan::of(viewer_.channelModel(), logic_.band());
    ScanPage& page = *this;
    scan_ = std::make_unique<ScanThread>(*this, page, viewer_.tunerController(), plan_);
    scan_->start();
}

void CEnvironmentPage1::enableScanControls(bool idle) {
    for (int id : {kDefaultFine, kCancelFine, kFineSlider, kAutoScan}) enable(*this, id, idle);
    if (closeButton_) closeButton_(idle);
    enable(*this, kStopScan, !idle);
    enable(*this, kStopAndKeep, !idle);
}

void CEnvironmentPage1::resetProgress() {
    if (!progress_) return;
    // A band of one channel keeps a range of one step: an empty range would show a busy bar.
    progress_->setRange(plan_.lowest - 1, std::max(plan_.highest - 1, plan_.lowest));
    progress_->setValue(plan_.lowest - 1);
}

void CEnvironmentPage1::endScan() {
    scanning_ = 0;
    viewer_.setScanInProgress(false);
    viewer_.muteCardAudio(false);
}

void CEnvironmentPage1::scanStarted() {
    list_->DeleteAllItems();
    listShowsScan_ = true;
    viewer_.setScanInProgress(true);
    viewer_.muteCardAudio(true);
}

void CEnvironmentPage1::tuneForScan(int channel) { viewer_.TuneChannel(channel, false); }

void CEnvironmentPage1::channelFound(int row, int channel) {
    const ChannelListRow found = ChannelPageLogic::scanRow(logic_.band(), channel);
    list_->SetRowText(row, 0, QString::fromStdString(found.texts.front()), found.image);
}

void CEnvironmentPage1::channelTested(int channel) {
    if (progress_) progress_->setValue(channel - 1);
    setText(*this, kScanStatus, LoadMessage(196));
}

void CEnvironmentPage1::scanCompleted() {
    enableScanControls(true);
    setText(*this, kScanStatus, LoadMessage(197));
}

int CEnvironmentPage1::askRegistration() {
    return framework::messageBox(
        this, {LoadMessage(169), LoadMessage(172), framework::MessageButtons::YesNo, framework::MessageIcon::Question});
}

void CEnvironmentPage1::scanRegistration(int answer, const ScanFindings& findings) {
    const int found = std::min(list_->rowCount(), int(findings.channels.size()));
    if (answer == framework::IDYES && found > 0) {
        setText(*this, kScanStatus, LoadMessage(195));
        resetProgress();
        RegisteredChannels& registered = viewer_.channelModel().registered();
        for (int i = 0; i < found; ++i) {
            registered.setEntry(logic_.band(), i, findings.channels[std::size_t(i)]);
            registered.setFineTune(logic_.band(), findings.channels[std::size_t(i)], findings.fineTuning[std::size_t(i)]);
        }
        registered.setCount(logic_.band(), found);
        listShowsScan_ = false;  // the rows are the registered list now
        viewer_.TuneChannel(findings.channels.front(), false);
        logic_.scanRegistered(findings.channels.front());
    } else {
        if (answer == framework::IDYES) {
            QPointer<CEnvironmentPage1> alive(this);
            framework::messageBox(this, {LoadMessage(170), LoadMessage(172), framework::MessageButtons::Ok,
                                         framework::MessageIcon::Stop});
            if (!alive) return;
        }
        resetProgress();
        setText(*this, kScanStatus, LoadMessage(195));
        fillList();
    }
    selectCurrentRow();
    endScan();
}

void CEnvironmentPage1::scanCancelled() {
    enableScanControls(true);
    resetProgress();
    setText(*this, kScanStatus, LoadMessage(195));
    fillList();
    selectCurrentRow();
    endScan();
}

}  // namespace kelto::viewer::config
