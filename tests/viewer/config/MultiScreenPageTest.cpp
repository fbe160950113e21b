// The multi-screen page (dialog 295) off-screen: over a stand-in viewer that records what the page
// asks of it, and once over the real viewer on the simulated card for the hand-over that the
// viewer saves. Timers run in virtual time.
#include "viewer/config/CEnvironmentPage4.h"

#include "framework/CReportListCtrl.h"
#include "framework/VirtualTimerScheduler.h"
#include "platform/Clock.h"
#include "resources/ArtResource.h"
#include "tests/viewer/window/ViewerWindowRig.h"
#include "tests/viewer/config/MultiScreenStandInViewer.h"
#include "viewer/config/MultiScreenPageArt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace kelto::viewer::config {
namespace {

using framework::CReportListCtrl;
using test::StandInViewer;

MultiScreenSlots slotsOf(std::initializer_list<int> values) {
    MultiScreenSlots s{};
    int n = 1;
    for (int v : values) s[std::size_t(n++)] = v;
    return s;
}

CReportListCtrl* channelList(const CEnvironmentPage4& page) {
    return page.control<CReportListCtrl>(CEnvironmentPage4::kChannelListId);
}
CReportListCtrl* slotList(const CEnvironmentPage4& page) { return page.control<CReportListCtrl>(CEnvironmentPage4::kSlotListId); }

std::vector<std::string> slotTexts(const CEnvironmentPage4& page) {
    std::vector<std::string> texts;
    for (int row = 0; row < slotList(page)->rowCount(); ++row) texts.push_back(slotList(page)->itemText(row, 0).toStdString());
    return texts;
}
// The 16 rows' texts for the given leading values.
std::vector<std::string> rowsOf(std::initializer_list<const char*> leading) {
    std::vector<std::string> texts(leading.begin(), leading.end());
    texts.resize(16);
    return texts;
}

// A user's click on a row.
void clickRow(CReportListCtrl& list, int row) {
    QTreeWidgetItem* item = list.topLevelItem(row);
    ASSERT_NE(item, nullptr);
    list.scrollToItem(item);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(item).center());
}
void click(const CEnvironmentPage4& page, int controlId) {
    auto* button = page.control<QAbstractButton>(controlId);
    ASSERT_NE(button, nullptr) << controlId;
    button->click();
}

// Whether the page shows bitmap `id` at `at` (the inner part, inside the picture's rounded corners).
bool showsBitmap(CEnvironmentPage4& page, int id, QPoint at) {
    const QImage shown = page.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage art = bitmapImage(id).convertToFormat(QImage::Format_ARGB32);
    const int margin = 8;
    for (int y = margin; y < art.height() - margin; ++y)
        for (int x = margin; x < art.width() - margin; ++x)
            if (shown.pixel(at.x() + x, at.y() + y) != art.pixel(x, y)) return false;
    return true;
}

class MultiScreenPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setClock(&clock);
        framework::setTimerScheduler(&scheduler);
        viewer.settings.tvChannel = 7;
        viewer.settings.catvChannel = 33;
    }
    void TearDown() override {
        page.reset();
        framework::setTimerScheduler(nullptr);
        platform::setClock(nullptr);
    }
    CEnvironmentPage4& open() {
        page = std::make_unique<CEnvironmentPage4>(viewer);
        page->show();
        QApplication::processEvents();
        return *page;
    }
    const StandInViewer::HandOver& closePage() {
        page.reset();
        EXPECT_EQ(viewer.handOvers.size(), 1u);
        return viewer.handOvers.back();
    }

    platform::VirtualClock clock{std::chrono::system_clock::now()};
    framework::VirtualTimerScheduler scheduler{clock};
    StandInViewer viewer;
    std::unique_ptr<CEnvironmentPage4> page;
};

TEST_F(MultiScreenPageTest, OpeningShowsTheLayoutTheBandAndItsSlotsAndPreselectsTheWatchedChannelWithoutTuning) {
    viewer.settings.multiSelect = 9;
    viewer.settings.multiTv = slotsOf({7, 12});
    viewer.settings.multiCatv = slotsOf({33});
    CEnvironmentPage4& p = open();

    EXPECT_EQ(p.windowTitle(), "Setting MultiScreen ");
    EXPECT_TRUE(p.control<QRadioButton>(CEnvironmentPage4::kLayout3x3Id)->isChecked());
    EXPECT_EQ(p.cells(), 9);
    CReportListCtrl* channels = channelList(p);
    ASSERT_EQ(channels->rowCount(), 68);  // channels 2 to 69
    EXPECT_EQ(channels->headerItem()->text(0), "TV CHANNEL");
    EXPECT_EQ(channels->itemText(5, 0), "CH7");
    EXPECT_TRUE(channels->isRowSelected(5));
    EXPECT_EQ(p.selectedChannel(), 7);
    EXPECT_TRUE(viewer.tunings.empty());
    EXPECT_EQ(slotTexts(p), rowsOf({"7", "12"}));
    // The slot list is the one owner-drawn list; the channel list paints as the platform does.
    EXPECT_TRUE(slotList(p)->ownerDraw());
    EXPECT_FALSE(channels->ownerDraw());
}

TEST_F(MultiScreenPageTest, SelectingRowITunesChannelLowestPlusIWithoutTheDisplay) {
    CEnvironmentPage4& p = open();
    clickRow(*channelList(p), 10);
    EXPECT_EQ(viewer.tunings, (std::vector<std::pair<int, bool>>{{12, false}}));
    EXPECT_EQ(p.selectedChannel(), 12);
    // The program's own selection of a row tunes as well.
    channelList(p)->setRowState(0, true, true);
    EXPECT_EQ(viewer.tunings.back(), std::make_pair(2, false));
    EXPECT_EQ(p.selectedChannel(), 2);
}

TEST_F(MultiScreenPageTest, AddRegistersTheSelectedChannelInTheFirstEmptySlotOnlyOnce) {
    viewer.settings.multiTv = slotsOf({7, 0, 9});
    CEnvironmentPage4& p = open();
    clickRow(*channelList(p), 10);  // CH12
    click(p, CEnvironmentPage4::kAddId);
    EXPECT_EQ(slotTexts(p), rowsOf({"7", "12", "9"}));
    // Already in a slot: nothing, however often.
    click(p, CEnvironmentPage4::kAddId);
    clickRow(*channelList(p), 7);  // CH9
    click(p, CEnvironmentPage4::kAddId);
    EXPECT_EQ(slotTexts(p), rowsOf({"7", "12", "9"}));
    EXPECT_EQ(closePage().broadcast, slotsOf({7, 12, 9}));
}

TEST_F(MultiScreenPageTest, ASeventeenthRegistrationDoesNothing) {
    MultiScreenSlots full{};
    for (int n = 1; n <= 16; ++n) full[std::size_t(n)] = 19 + n;  // channels 20 to 35
    viewer.settings.multiTv = full;
    CEnvironmentPage4& p = open();
    const std::vector<std::string> before = slotTexts(p);
    clickRow(*channelList(p), 38);  // CH40
    ASSERT_EQ(p.selectedChannel(), 40);
    click(p, CEnvironmentPage4::kAddId);
    EXPECT_EQ(slotTexts(p), before);
    EXPECT_EQ(closePage().broadcast, full);
}

TEST_F(MultiScreenPageTest, DelMovesTheLaterSlotsUpAndEmptiesSlot16) {
    MultiScreenSlots full{};
    for (int n = 1; n <= 16; ++n) full[std::size_t(n)] = 19 + n;
    viewer.settings.multiTv = full;
    CEnvironmentPage4& p = open();
    clickRow(*slotList(p), 1);  // channel 21
    click(p, CEnvironmentPage4::kDelId);
    std::vector<std::string> expected{"20"};
    for (int channel = 22; channel <= 35; ++channel) expected.push_back(std::to_string(channel));
    expected.push_back("");
    EXPECT_EQ(slotTexts(p), expected);
    // The selection stays on the row, which now holds the next channel.
    click(p, CEnvironmentPage4::kDelId);
    EXPECT_EQ(slotTexts(p)[1], "23");
    EXPECT_EQ(slotTexts(p)[14], "");
    // An empty row holds nothing to delete.
    clickRow(*slotList(p), 15);
    const std::vector<std::string> before = slotTexts(p);
    click(p, CEnvironmentPage4::kDelId);
    EXPECT_EQ(slotTexts(p), before);

    const auto& handed = closePage();
    EXPECT_EQ(handed.broadcast[2], 23);
    EXPECT_EQ(handed.broadcast[14], 35);
    EXPECT_EQ(handed.broadcast[15], 0);
    EXPECT_EQ(handed.broadcast[16], 0);
}

TEST_F(MultiScreenPageTest, TheLayoutAndBothBandsAreHandedToTheViewerWhenThePageGoes) {
    viewer.settings.multiTv = slotsOf({7});
    viewer.settings.multiCatv = slotsOf({33, 40});
    CEnvironmentPage4& p = open();
    click(p, CEnvironmentPage4::kLayout4x4Id);
    clickRow(*channelList(p), 3);  // CH5
    click(p, CEnvironmentPage4::kAddId);
    EXPECT_TRUE(viewer.handOvers.empty());
    const auto& handed = closePage();
    EXPECT_EQ(handed.cells, 16);
    EXPECT_EQ(handed.broadcast, slotsOf({7, 5}));
    EXPECT_EQ(handed.cable, slotsOf({33, 40}));
}

TEST_F(MultiScreenPageTest, AStoredLayoutTheViewCannotDrawBecomes2x2) {
    viewer.settings.multiSelect = 5;
    CEnvironmentPage4& p = open();
    EXPECT_TRUE(p.control<QRadioButton>(CEnvironmentPage4::kLayout2x2Id)->isChecked());
    EXPECT_EQ(p.previewBitmap(), 330);
    EXPECT_EQ(closePage().cells, 4);
}

TEST_F(MultiScreenPageTest, TheAnimationStepsEvery500MsOfVirtualTimeAndStopsWithThePage) {
    const std::size_t timersBefore = scheduler.pending();
    CEnvironmentPage4& p = open();
    EXPECT_EQ(scheduler.pending(), timersBefore + 1);
    const QPoint at = MultiScreenPageArt::kAnimationRect.topLeft();
    EXPECT_EQ(p.animationBitmap(), 304);
    EXPECT_TRUE(showsBitmap(p, 304, at));
    scheduler.advanceMs(499);
    EXPECT_EQ(p.animationBitmap(), 304);
    scheduler.advanceMs(1);
    EXPECT_EQ(p.animationBitmap(), 305);
    EXPECT_TRUE(showsBitmap(p, 305, at));
    EXPECT_FALSE(showsBitmap(p, 304, at));
    scheduler.advanceMs(1000);
    EXPECT_EQ(p.animationBitmap(), 307);
    EXPECT_TRUE(showsBitmap(p, 307, at));
    scheduler.advanceMs(500);
    EXPECT_EQ(p.animationBitmap(), 304);

    page.reset();
    EXPECT_EQ(scheduler.pending(), timersBefore);
    scheduler.advanceMs(2000);  // nothing left to fire into the destroyed page
}

TEST_F(MultiScreenPageTest, ThePreviewFollowsTheLayoutRadio) {
    CEnvironmentPage4& p = open();
    const QPoint at = MultiScreenPageArt::kPreviewRect.topLeft();
    EXPECT_EQ(p.previewBitmap(), 330);
    EXPECT_TRUE(showsBitmap(p, 330, at));
    click(p, CEnvironmentPage4::kLayout3x3Id);
    EXPECT_EQ(p.cells(), 9);
    EXPECT_EQ(p.previewBitmap(), 331);
    EXPECT_TRUE(showsBitmap(p, 331, at));
    click(p, CEnvironmentPage4::kLayout4x4Id);
    EXPECT_EQ(p.previewBitmap(), 332);
    EXPECT_TRUE(showsBitmap(p, 332, at));
    click(p, CEnvironmentPage4::kLayout2x2Id);
    EXPECT_EQ(p.previewBitmap(), 330);
    EXPECT_TRUE(showsBitmap(p, 330, at));
    EXPECT_EQ(closePage().cells, 4);
}

TEST_F(MultiScreenPageTest, InCableModeThePageShowsAndEditsTheCableBand) {
    viewer.settings.videoMode = VideoMode::CATV;
    viewer.settings.multiTv = slotsOf({7});
    viewer.settings.multiCatv = slotsOf({33, 40});
    CEnvironmentPage4& p = open();
    ASSERT_EQ(channelList(p)->rowCount(), 125);
    EXPECT_EQ(channelList(p)->headerItem()->text(0), "CATV CHANNEL");
    EXPECT_EQ(slotList(p)->headerItem()->text(0), "CATV CHANNEL");
    EXPECT_EQ(p.selectedChannel(), 33);
    EXPECT_EQ(slotTexts(p), rowsOf({"33", "40"}));
    clickRow(*channelList(p), 49);
    EXPECT_EQ(viewer.tunings, (std::vector<std::pair<int, bool>>{{50, false}}));
    click(p, CEnvironmentPage4::kAddId);
    clickRow(*slotList(p), 0);
    click(p, CEnvironmentPage4::kDelId);
    EXPECT_EQ(slotTexts(p), rowsOf({"40", "50"}));
    const auto& handed = closePage();
    EXPECT_EQ(handed.cable, slotsOf({40, 50}));
    EXPECT_EQ(handed.broadcast, slotsOf({7}));
}

TEST_F(MultiScreenPageTest, WithListPositionNumberingTheSlotsHoldPositionsInTheRegisteredList) {
    viewer.settings.countryCode = 86;
    viewer.settings.tvChannel = 9;
    RegisteredList tv;
    tv.channels[0] = 6;
    tv.channels[1] = 9;
    tv.channels[2] = 11;
    tv.count = 3;
    viewer.model.registered() = RegisteredChannels(tv, {}, {}, {});
    CEnvironmentPage4& p = open();
    CReportListCtrl* channels = channelList(p);
    ASSERT_EQ(channels->rowCount(), 3);
    EXPECT_EQ(channels->itemText(2, 0), "3");
    EXPECT_EQ(channels->itemText(2, 1), "CH11");
    EXPECT_TRUE(channels->isRowSelected(1));
    EXPECT_EQ(slotList(p)->headerItem()->text(0), "CH");
    clickRow(*channels, 2);
    EXPECT_EQ(viewer.tunings, (std::vector<std::pair<int, bool>>{{11, false}}));
    click(p, CEnvironmentPage4::kAddId);
    EXPECT_EQ(slotTexts(p), rowsOf({"3"}));
    EXPECT_EQ(closePage().broadcast, slotsOf({3}));
}

TEST_F(MultiScreenPageTest, TheControlsStayClearOfThePaintedHeaderAndPictures) {
    CEnvironmentPage4& p = open();
    const QRect pageRect = p.rect();
    const QRect header = MultiScreenPageArt::headerRect(p.width());
    const QRect well = MultiScreenPageArt::kWellRect;
    EXPECT_TRUE(well.contains(MultiScreenPageArt::kAnimationRect));
    EXPECT_TRUE(well.contains(MultiScreenPageArt::kPreviewRect));
    std::vector<std::pair<QString, QRect>> controls;
    for (QWidget* w : p.findChildren<QWidget*>()) {
        if (!w->property("controlId").isValid() && !qobject_cast<QGroupBox*>(w)) continue;
        const QRect r(w->mapTo(&p, QPoint(0, 0)), w->size());
        EXPECT_TRUE(pageRect.contains(r)) << w->objectName().toStdString();
        EXPECT_FALSE(r.intersects(header)) << w->objectName().toStdString();
        EXPECT_FALSE(r.intersects(well)) << w->objectName().toStdString();
        if (!qobject_cast<QGroupBox*>(w)) controls.emplace_back(w->objectName(), r);
    }
    EXPECT_EQ(controls.size(), 7u);
    for (std::size_t i = 0; i < controls.size(); ++i)
        for (std::size_t j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(controls[i].second.intersects(controls[j].second))
                << controls[i].first.toStdString() << " / " << controls[j].first.toStdString();
    // The header is painted (the panel's dark metal), not left to the page's background.
    const QImage shown = p.grab().toImage();
    EXPECT_LT(qGray(shown.pixel(p.width() - 20, MultiScreenPageArt::kHeaderHeight / 2)), 80);
}

// --- over the real viewer: what the page hands over is what the viewer saves when it closes.

class MultiScreenPageOnViewerTest : public test::ViewerWindowRig {};

TEST_F(MultiScreenPageOnViewerTest, TheHandOverReachesTheViewerAndItsSavedMultiSection) {
    ASSERT_TRUE(open());
    SheetViewer& sheetViewer = viewer->sheetViewer();
    const int lowest = sheetViewer.channelModel().bounds().tvLowest;
    {
        CEnvironmentPage4 p(sheetViewer);
        p.show();
        QApplication::processEvents();
        click(p, CEnvironmentPage4::kLayout3x3Id);
        channelList(p)->setRowState(9, true, true);
        EXPECT_EQ(viewer->settings().tvChannel, lowest + 9);
        click(p, CEnvironmentPage4::kAddId);
        channelList(p)->setRowState(2, true, true);
        click(p, CEnvironmentPage4::kAddId);
        EXPECT_EQ(viewer->settings().multiSelect, 4);  // nothing reaches the viewer before the page goes
    }
    EXPECT_EQ(viewer->settings().multiSelect, 9);
    EXPECT_EQ(viewer->settings().multiTv[1], lowest + 9);
    EXPECT_EQ(viewer->settings().multiTv[2], lowest + 2);
    close();
    EXPECT_EQ(store.readInt("multi", "s_multiselect", 0), 9);
    EXPECT_EQ(store.readInt("multi", "s_tv1", 0), lowest + 9);
    EXPECT_EQ(store.readInt("multi", "s_tv2", 0), lowest + 2);
    EXPECT_EQ(store.readInt("multi", "s_tv3", -1), 0);
    EXPECT_EQ(store.readInt("multi", "s_catv1", -1), 0);
}

}  // namespace
}  // namespace kelto::viewer::config
