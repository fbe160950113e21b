#include "viewer/config/CEnvironmentPage4.h"

#include "framework/CReportListCtrl.h"
#include "platform/WindowMessageIds.h"
#include "viewer/config/MultiScreenPageArt.h"

#include <QPainter>
#include <QRadioButton>
#include <QStyle>

namespace kelto::viewer::config {

namespace {

// The layout radios and the cell counts they stand for.
constexpr std::pair<int, int> kLayoutRadios[] = {{CEnvironmentPage4::kLayout2x2Id, 4},
                                                 {CEnvironmentPage4::kLayout3x3Id, 9},
                                                 {CEnvironmentPage4::kLayout4x4Id, 16}};

// The width a list's columns share: inside its frame and beside its vertical scroll bar (from the
// template's geometry, so it holds before the page is first shown).
int usableWidth(const framework::CReportListCtrl& list) {
    const int scrollBar = list.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &list);
    return std::max(40, list.width() - 2 * list.frameWidth() - scrollBar);
}

}  // namespace

CEnvironmentPage4::CEnvironmentPage4(SheetViewer& viewer, QWidget* parent)
    : PropertyPage(kResourceId, parent),
      viewer_(viewer),
      band_(viewer.viewerSettings().videoMode == VideoMode::CATV ? ChannelBand::Cable : ChannelBand::Broadcast),
      numbering_(numberingForCountry(viewer.viewerSettings().countryCode)),
      slots_(viewer.viewerSettings().multiSelect, viewer.viewerSettings().multiTv, viewer.viewerSettings().multiCatv) {
    for (const auto& [id, cells] : kLayoutRadios)
        if (auto* radio = control<QRadioButton>(id))
            connect(radio, &QRadioButton::toggled, this, [this, cells = cells](bool on) {
                if (on) showLayout(cells);
            });
    showLayout(slots_.cells());

    if (auto* list = slotList()) {
        // The one owner-drawn list of the program: its rows are highlighted to the right edge.
        list->setOwnerDraw(true);
        list->setShowSelectionAlways(true);
    }
    if (auto* list = channelList()) {
        list->setShowSelectionAlways(true);
        connect(list, &framework::CReportListCtrl::rowStateChanged, this,
                [this](int row, int newState, int oldState) { onChannelRowChanged(row, newState, oldState); });
    }
    fillChannelList();
    fillSlotList();
    selectCurrentChannelQuietly();

    framework::MessageMap& map = messageMap();
    map.onCommand(kAddId, [this] { onAdd(); });
    map.onCommand(kDelId, [this] { onDel(); });
    map.onMessage(platform::WM_TIMER, [this](const platform::WindowMessage& m) {
        onTimer(int(m.wParam));
        return std::int64_t(0);
    });
    timers().set(kAnimationTimerId, kAnimationPeriodMs);
}

CEnvironmentPage4::~CEnvironmentPage4() {
    timers().kill(kAnimationTimerId);
    viewer_.setMultiScreen(cells(), slots_.bandSlots(ChannelBand::Broadcast), slots_.bandSlots(ChannelBand::Cable));
    // The controls outlive this part of the page: nothing they report while they go may reach it.
    for (QObject* child : findChildren<QObject*>()) QObject::disconnect(child, nullptr, this, nullptr);
}

framework::CReportListCtrl* CEnvironmentPage4::channelList() const {
    return control<framework::CReportListCtrl>(kChannelListId);
}
framework::CReportListCtrl* CEnvironmentPage4::slotList() const { return control<framework::CReportListCtrl>(kSlotListId); }

int CEnvironmentPage4::cells() const { return slots_.cells(); }

int CEnvironmentPage4::previewBitmap() const {
    switch (cells()) {
    case 9: return 331;
    case 16: return 332;
    default: return 330;
    }
}

int CEnvironmentPage4::selectedChannel() const {
    return selectedRow_ >= 0 && selectedRow_ < int(rows_.rows.size()) ? rows_.rows[std::size_t(selectedRow_)].channel : 0;
}

void CEnvironmentPage4::showLayout(int cells) {
    slots_.setCells(cells);
    for (const auto& [id, count] : kLayoutRadios)
        if (auto* radio = control<QRadioButton>(id); radio && count == slots_.cells()) radio->setChecked(true);
    update(MultiScreenPageArt::kPreviewRect);
}

// --- the two lists

void CEnvironmentPage4::fillChannelList() {
    rows_ = multiScreenChannelRows(band_, viewer_.channelModel().bounds(), viewer_.channelModel().registered(), numbering_);
    selectedRow_ = -1;
    auto* list = channelList();
    if (!list) return;
    list->DeleteAllItems();
    list->DeleteAllColumns();
    for (std::size_t c = 0; c < rows_.headings.size(); ++c)
        list->InsertColumn(int(c), QString::fromStdString(rows_.headings[c]));
    // With positions the number column is narrow and the channel takes the rest.
    constexpr int kPositionColumnWidth = 36;
    if (rows_.headings.size() > 1) {
        list->SetColumnWidth(0, kPositionColumnWidth);
        list->SetColumnWidth(1, usableWidth(*list) - kPositionColumnWidth);
    } else {
        list->SetColumnWidth(0, usableWidth(*list));
    }
    for (std::size_t r = 0; r < rows_.rows.size(); ++r)
        for (std::size_t c = 0; c < rows_.rows[r].texts.size(); ++c)
            list->SetRowText(int(r), int(c), QString::fromStdString(rows_.rows[r].texts[c]));
}

void CEnvironmentPage4::fillSlotList() {
    auto* list = slotList();
    if (!list) return;
    list->DeleteAllItems();
    list->DeleteAllColumns();
    list->InsertColumn(0, QString::fromStdString(multiScreenSlotHeading(band_, numbering_)));
    list->SetColumnWidth(0, usableWidth(*list));
    for (int n = 1; n <= kMultiScreenSlots; ++n)
        list->SetRowText(n - 1, 0, QString::fromStdString(MultiScreenSlotsEditor::slotText(slots_.slot(band_, n))));
}

void CEnvironmentPage4::selectCurrentChannelQuietly() {
    // The channel being watched is preselected, so "&Add" registers it; it is tuned already, so
    // this selection does not tune it again.
    const ViewerSettings& settings = viewer_.viewerSettings();
    const int row = rows_.rowOfChannel(band_ == ChannelBand::Cable ? settings.catvChannel : settings.tvChannel);
    auto* list = channelList();
    if (row < 0 || !list) return;
    selectingQuietly_ = true;
    list->setRowState(row, true, true);
    selectingQuietly_ = false;
    selectedRow_ = row;
    list->scrollToItem(list->topLevelItem(row), QAbstractItemView::PositionAtCenter);
}

void CEnvironmentPage4::onChannelRowChanged(int row, int newState, int oldState) {
    if (row < 0 || row >= int(rows_.rows.size())) return;
    const bool selected = newState & framework::CReportListCtrl::LVIS_SELECTED;
    const bool wasSelected = oldState & framework::CReportListCtrl::LVIS_SELECTED;
    if (!selected) {
        if (wasSelected && row == selectedRow_) selectedRow_ = -1;
        return;
    }
    if (wasSelected) return;  // only the focus moved
    selectedRow_ = row;
    if (!selectingQuietly_) viewer_.TuneChannel(rows_.rows[std::size_t(row)].channel, false);
}

// --- "&Add" and "&Del"

void CEnvironmentPage4::onAdd() {
    if (selectedRow_ < 0 || selectedRow_ >= int(rows_.rows.size())) return;
    const int n = slots_.add(band_, rows_.rows[std::size_t(selectedRow_)].slotValue);
    if (n == 0) return;
    if (auto* list = slotList())
        list->SetItemText(n - 1, 0, QString::fromStdString(MultiScreenSlotsEditor::slotText(slots_.slot(band_, n))));
}

void CEnvironmentPage4::onDel() {
    auto* list = slotList();
    if (!list) return;
    int row = -1;
    for (int r = 0; r < list->rowCount() && row < 0; ++r)
        if (list->isRowSelected(r)) row = r;
    if (!slots_.remove(band_, row + 1)) return;
    // The later slots moved up: their rows show their new values; the selection stays on the row.
    for (int n = row + 1; n <= kMultiScreenSlots; ++n)
        list->SetItemText(n - 1, 0, QString::fromStdString(MultiScreenSlotsEditor::slotText(slots_.slot(band_, n))));
}

// --- painting and the animation

void CEnvironmentPage4::onTimer(int timerId) {
    if (timerId != kAnimationTimerId) return;
    animationStep_ = (animationStep_ + 1) % int(kAnimationBitmaps.size());
    update(MultiScreenPageArt::kAnimationRect);
}

void CEnvironmentPage4::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    MultiScreenPageArt::paint(painter, width(), animationBitmap(), previewBitmap());
}

}  // namespace kelto::viewer::config
