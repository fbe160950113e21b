// The auto scan from the channel page over the real viewer and hardware library on the simulated
// card: what it finds, the registration question and its answers, stopping with and without
// keeping, the page going away in the middle, and the tuner bus while the viewer tunes too.
#include "tests/viewer/config/ChannelPageRig.h"

#include "viewer/config/ScanThread.h"

#include <QObject>

#include <thread>

namespace kelto::test {
namespace {

using Page = viewer::config::CEnvironmentPage1;

// The virtual clock, letting other threads run at each wait (so the viewer's thread gets to the
// tuner while a scan step holds it).
class YieldingClock final : public platform::Clock {
public:
    explicit YieldingClock(platform::VirtualClock& inner) : inner_(inner) {}
    std::uint32_t tickCountMs() override { return inner_.tickCountMs(); }
    void busyWaitMs(std::uint32_t periodMs) override {
        inner_.busyWaitMs(periodMs);
        std::this_thread::yield();
    }
    void sleepMs(std::uint32_t periodMs) override { inner_.sleepMs(periodMs); }
    std::chrono::system_clock::time_point now() override { return inner_.now(); }

private:
    platform::VirtualClock& inner_;
};

// The lock poll as the tuner controller reads the status: whether a read ends it.
struct PollReplay {
    int unlocked = 0;
    int high = 0;
    bool done = false;
    void feed(std::uint8_t status) {
        if (status & 0x40) {
            if ((status & 7) < 4) done = true;
            else if (unlocked = 0, ++high >= 10) done = true;
        } else if (++unlocked >= 5) {
            done = true;
        }
    }
};

struct BusReport {
    int scanSteps = 0;             // scan-tunes seen, in channel order
    int viewerTunesDuringScan = 0;  // other divider writes between the first and the last scan step
    std::string fault;
};

bool isTuner(const cardsim::I2cTransfer& t) { return (t.address & 0xFE) == 0xC0; }
bool isDividerWrite(const cardsim::I2cTransfer& t) { return !t.read && t.bytes.size() == 2 && !(t.bytes[0] & 0x80); }

// Walks the tuner's traffic: every scan step (divider of the next channel of the plan, then its
// control word) must be followed by the status reads of its whole lock poll, with no write in
// between.
BusReport checkTunerBus(const std::vector<cardsim::I2cTransfer>& all, const viewer::config::ScanPlan& plan) {
    std::vector<cardsim::I2cTransfer> log;
    for (const auto& t : all)
        if (isTuner(t)) log.push_back(t);
    BusReport report;
    int next = plan.lowest;
    int viewerTunes = 0;
    for (std::size_t i = 0; i < log.size(); ++i) {
        const auto& t = log[i];
        if (!isDividerWrite(t)) continue;
        const int word = t.bytes[0] << 8 | t.bytes[1];
        const auto expected = next <= plan.highest ? plan.dividers[std::size_t(next)] : std::nullopt;
        if (!expected || word != *expected) {
            if (report.scanSteps > 0) ++viewerTunes;
            continue;
        }
        ++report.scanSteps;
        report.viewerTunesDuringScan = viewerTunes;  // counted only up to the last scan step
        if (i + 1 >= log.size() || log[i + 1].read || isDividerWrite(log[i + 1])) {
            report.fault = "channel " + std::to_string(next) + ": no control word right after the divider";
            return report;
        }
        PollReplay poll;
        std::size_t j = i + 2;
        for (; j < log.size() && !poll.done; ++j) {
            if (!log[j].read) {
                report.fault = "channel " + std::to_string(next) + ": a tuner write inside its lock poll";
                return report;
            }
            poll.feed(log[j].bytes.empty() ? 0 : log[j].bytes[0]);
        }
        if (!poll.done) {
            report.fault = "channel " + std::to_string(next) + ": lock poll cut short";
            return report;
        }
        i = j - 1;
        ++next;
    }
    return report;
}

class AutoScanTest : public ChannelPageRig {
protected:
    // Calls `action` on the page's thread each time the scan reports a tested channel.
    void onProgress(std::function<void(int value)> action) {
        QObject::connect(progress(), &QProgressBar::valueChanged, page.get(), [this, action](int value) {
            if (page && page->scanning()) action(value);
        });
    }
    void setBounds(ChannelBand band, int lowest, int highest) {
        ChannelBounds bounds = sheet().channelModel().bounds();
        (band == ChannelBand::Broadcast ? bounds.tvLowest : bounds.catvLowest) = lowest;
        (band == ChannelBand::Broadcast ? bounds.tvHighest : bounds.catvHighest) = highest;
        sheet().channelModel().setBounds(bounds);
    }
    void openCable(const std::vector<int>& registeredChannels, int channel) {
        open();
        viewer->session()->SetVideoMode(VideoMode::CATV);
        setList(ChannelBand::Cable, registeredChannels);
        viewer->session()->TuneChannel(channel, false);
        openPage();
    }
};

TEST_F(AutoScanTest, FindsTheBandsStationsWhileTheViewerTunesAndTheBusNeverInterleaves) {
    cardsim::test::buildCard({}, {cardsim::test::tvStation(55'250'000, "WKEL 2"), cardsim::test::tvStation(58'250'000, "between 2 and 3"),
                                  cardsim::test::tvStation(175'250'000, "WKEL 7"), cardsim::test::tvStation(211'250'000, "WKEL 13"),
                                  cardsim::test::tvStation(567'250'000, "WKEL 30"), cardsim::test::tvStation(801'250'000, "WKEL 69"),
                                  cardsim::test::tvStation(900'000'000, "above the band")});
    open();
    // The viewer's own tunings carry fine tuning 3, so its dividers differ from the scan's.
    for (int channel : {6, 7, 9, 11, 12}) registered().setFineTune(ChannelBand::Broadcast, channel, 3);
    YieldingClock yielding(clock);
    platform::setClock(&yielding);
    openPage();
    const auto plan = viewer::config::ScanPlan::of(sheet().channelModel(), ChannelBand::Broadcast);
    cardsim::test::clearI2cLog();

    int viewerSteps = 0;
    bool flagSeen = true;
    onProgress([&](int) {
        flagSeen = flagSeen && sheet().scanInProgress();
        viewer->session()->channelUp();  // the viewer stays usable
        ++viewerSteps;
    });
    click(Page::kAutoScan);
    EXPECT_FALSE(enabled(Page::kAutoScan));
    EXPECT_FALSE(enabled(Page::kFineSlider));
    EXPECT_TRUE(enabled(Page::kStopScan));
    EXPECT_EQ(page->scanning(), 1);
    ASSERT_TRUE(runScan());

    const BusReport bus = checkTunerBus(cardsim::test::i2cLog(), plan);
    EXPECT_EQ(bus.fault, "");
    EXPECT_EQ(bus.scanSteps, 68);
    EXPECT_GT(viewerSteps, 0);
    EXPECT_TRUE(flagSeen);
    EXPECT_FALSE(sheet().scanInProgress());

    ASSERT_EQ(boxesSaying("Do you want to register the scanned channels?"), 1);
    EXPECT_EQ(boxes.back().caption, "Kelto Scan Channel");
    EXPECT_EQ(boxes.back().icon, framework::MessageIcon::Question);
    EXPECT_EQ(list(ChannelBand::Broadcast), (std::vector<int>{2, 7, 13, 30, 69}));
    EXPECT_EQ(rows(), (std::vector<QString>{"CH2", "CH7", "CH13", "CH30", "CH69"}));
    for (int channel : {2, 7, 13, 30, 69}) EXPECT_EQ(registered().fineTune(ChannelBand::Broadcast, channel), 1);
    // The first found channel is current, selected and tuned, with its fine tuning of 1.
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(tunedChannel(), 2);
    EXPECT_EQ(text(Page::kFrequencyField), " 55.3125");
    EXPECT_EQ(text(Page::kScanStatus), "Channel Scan Progress");
    EXPECT_EQ(progress()->value(), 1);
    EXPECT_TRUE(enabled(Page::kAutoScan));
    EXPECT_FALSE(enabled(Page::kStopScan));
    EXPECT_EQ(closeButton, (std::vector<bool>{false, true}));
    EXPECT_EQ(page->scanning(), 0);
}

TEST_F(AutoScanTest, ViewerTuningDuringTheScanLandsBetweenScanSteps) {
    // The same scan over and over until the viewer's tuning met a step holding the tuner: the bus
    // must still show every step whole.
    open();
    for (int channel : {6, 7, 9, 11, 12}) registered().setFineTune(ChannelBand::Broadcast, channel, 3);
    YieldingClock yielding(clock);
    platform::setClock(&yielding);
    answer = framework::IDNO;
    int during = 0;
    for (int attempt = 0; attempt < 5 && during == 0; ++attempt) {
        openPage();
        const auto plan = viewer::config::ScanPlan::of(sheet().channelModel(), ChannelBand::Broadcast);
        cardsim::test::clearI2cLog();
        onProgress([&](int) { viewer->session()->channelUp(); });
        click(Page::kAutoScan);
        ASSERT_TRUE(runScan());
        const BusReport bus = checkTunerBus(cardsim::test::i2cLog(), plan);
        ASSERT_EQ(bus.fault, "");
        ASSERT_EQ(bus.scanSteps, 68);
        during = bus.viewerTunesDuringScan;
        page.reset();
    }
    EXPECT_GT(during, 0);
}

TEST_F(AutoScanTest, ABandOfOneChannelScansItAndEndsAtLowestLessOne) {
    open();
    setBounds(ChannelBand::Broadcast, 7, 7);
    openPage();
    cardsim::test::clearI2cLog();
    answer = framework::IDNO;
    click(Page::kAutoScan);
    ASSERT_TRUE(runScan());
    int scanTunes = 0;
    for (const auto& t : cardsim::test::i2cLog())
        if (isTuner(t) && isDividerWrite(t) && (t.bytes[0] << 8 | t.bytes[1]) == 3536) ++scanTunes;
    EXPECT_GE(scanTunes, 1);
    EXPECT_EQ(progress()->value(), 6);
    EXPECT_EQ(progress()->minimum(), 6);
    EXPECT_GT(progress()->maximum(), progress()->minimum());  // a range, not a busy bar
    EXPECT_EQ(boxesSaying("Do you want to register the scanned channels?"), 1);
    // No: the old list is back.
    EXPECT_EQ(rows(), (std::vector<QString>{"CH6", "CH7", "CH9", "CH11", "CH12"}));
    EXPECT_EQ(list(ChannelBand::Broadcast), (std::vector<int>{6, 7, 9, 11, 12}));
}

TEST_F(AutoScanTest, NothingFoundAndNoShowsNoMessageAndTheOldList) {
    open();
    setBounds(ChannelBand::Broadcast, 3, 5);  // no station there
    openPage();
    answer = framework::IDNO;
    click(Page::kAutoScan);
    ASSERT_TRUE(runScan());
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(rows(), (std::vector<QString>{"CH6", "CH7", "CH9", "CH11", "CH12"}));
    EXPECT_EQ(text(Page::kScanStatus), "Channel Scan Progress");
    EXPECT_EQ(progress()->value(), 2);
}

TEST_F(AutoScanTest, NothingFoundAndYesSaysTheChannelCannotBeProgrammed) {
    open();
    setBounds(ChannelBand::Broadcast, 3, 5);
    openPage();
    click(Page::kAutoScan);
    ASSERT_TRUE(runScan());
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "The channel cannot be programmed.");
    EXPECT_EQ(boxes[1].caption, "Kelto Scan Channel");
    EXPECT_EQ(boxes[1].icon, framework::MessageIcon::Stop);
    EXPECT_EQ(list(ChannelBand::Broadcast), (std::vector<int>{6, 7, 9, 11, 12}));
    EXPECT_EQ(rows().size(), 5u);
}

TEST_F(AutoScanTest, CurrentStatusSaveAsksForWhatWasFoundSoFar) {
    cardsim::test::buildCard({}, {cardsim::test::tvStation(61'250'000, "CATV 3"), cardsim::test::tvStation(175'250'000, "CATV 7"),
                                  cardsim::test::tvStation(319'250'000, "CATV 40")});
    openCable({20}, 20);
    // The cable scan tunes the viewer at every channel, so the button lands after channel 8 was
    // tested and takes effect after the channel then being tested, 9.
    onProgress([&](int value) {
        if (value == 7) click(Page::kStopAndKeep);
    });
    click(Page::kAutoScan);
    ASSERT_TRUE(runScan());
    EXPECT_EQ(boxesSaying("Do you want to register the scanned channels?"), 1);
    EXPECT_EQ(list(ChannelBand::Cable), (std::vector<int>{3, 7}));
    EXPECT_EQ(rows(), (std::vector<QString>{"CH3", "CH7"}));
    EXPECT_EQ(listCtrl()->rowImage(0), 5);
    EXPECT_EQ(tunedChannel(), 3);
    EXPECT_EQ(progress()->value(), 0);
}

TEST_F(AutoScanTest, CancelRestoresTheListFineTuningAndRows) {
    cardsim::test::buildCard({}, {cardsim::test::tvStation(61'250'000, "CATV 3"), cardsim::test::tvStation(175'250'000, "CATV 7")});
    open();
    registered().setFineTune(ChannelBand::Cable, 7, 4);
    viewer->session()->SetVideoMode(VideoMode::CATV);
    setList(ChannelBand::Cable, {7, 20});
    viewer->session()->TuneChannel(7, false);
    openPage();
    int viewerChannelDuringScan = 0;
    onProgress([&](int value) {
        if (value == 9) {
            viewerChannelDuringScan = viewer->session()->catvChannel();
            click(Page::kStopScan);
        }
    });
    click(Page::kAutoScan);
    ASSERT_TRUE(runScan());
    EXPECT_EQ(viewerChannelDuringScan, 10);  // the cable scan moves the viewer along
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(list(ChannelBand::Cable), (std::vector<int>{7, 20}));
    EXPECT_EQ(registered().fineTune(ChannelBand::Cable, 7), 4);
    EXPECT_EQ(registered().fineTune(ChannelBand::Cable, 3), 0);
    EXPECT_EQ(rows(), (std::vector<QString>{"CH7", "CH20"}));
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(tunedChannel(), 7);  // the page's channel tuned again
    EXPECT_EQ(progress()->value(), 0);
    EXPECT_EQ(text(Page::kScanStatus), "Channel Scan Progress");
    EXPECT_TRUE(enabled(Page::kAutoScan));
    EXPECT_TRUE(enabled(Page::kFineSlider));
    EXPECT_FALSE(enabled(Page::kStopScan));
    EXPECT_FALSE(enabled(Page::kStopAndKeep));
    EXPECT_EQ(closeButton, (std::vector<bool>{false, true}));
    EXPECT_FALSE(sheet().scanInProgress());
    EXPECT_EQ(page->scanning(), 0);
}

TEST_F(AutoScanTest, FineTuningOneAfterAScanShowsOneSixteenthMore) {
    open();
    setBounds(ChannelBand::Broadcast, 7, 9);
    openPage();
    click(Page::kAutoScan);
    ASSERT_TRUE(runScan());
    EXPECT_EQ(list(ChannelBand::Broadcast), std::vector<int>{7});
    EXPECT_EQ(text(Page::kFrequencyField), "175.3125");
    EXPECT_EQ(slider()->value(), 1);
}

TEST_F(AutoScanTest, ClosingThePageWhileTheScanWaitsForTheViewerStopsItCleanly) {
    openCable({20}, 20);
    click(Page::kAutoScan);
    page.reset();  // nothing served: the worker waits for its first queued call
    QCoreApplication::processEvents();
    EXPECT_FALSE(sheet().scanInProgress());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(AutoScanTest, ClosingThePageMidScanGivesTheViewerItsSoundAndTuningBack) {
    openCable({20}, 20);
    bool scanningAtClose = false;
    onProgress([&](int value) {
        if (value != 5) return;
        scanningAtClose = sheet().scanInProgress();
        // The sheet goes away at the next turn of the event loop, in the middle of the scan.
        QMetaObject::invokeMethod(qApp, [this] { page.reset(); }, Qt::QueuedConnection);
    });
    click(Page::kAutoScan);
    QElapsedTimer waited;
    waited.start();
    while (page && waited.elapsed() < 10'000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_FALSE(page);
    QCoreApplication::processEvents();
    EXPECT_TRUE(scanningAtClose);
    EXPECT_FALSE(sheet().scanInProgress());
    EXPECT_TRUE(boxes.empty());
    // The viewer still tunes.
    viewer->session()->TuneChannel(20, false);
    EXPECT_EQ(viewer->session()->catvChannel(), 20);
}

TEST_F(AutoScanTest, ClosingThePageWhileTheRegistrationQuestionIsUpEndsTheScan) {
    open();
    setBounds(ChannelBand::Broadcast, 6, 8);
    openPage();
    onBox = [this](const framework::MessageBoxRequest&) {
        page.reset();  // the viewer closes the sheet under the box
        return framework::IDNO;
    };
    click(Page::kAutoScan);
    QElapsedTimer waited;
    waited.start();
    while (page && waited.elapsed() < 10'000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_FALSE(page);
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_FALSE(sheet().scanInProgress());
    EXPECT_EQ(list(ChannelBand::Broadcast), (std::vector<int>{6, 7, 9, 11, 12}));
}

TEST_F(AutoScanTest, ARowOfTheScanChoosesNothingWhileTheScanRuns) {
    cardsim::test::buildCard({}, {cardsim::test::tvStation(61'250'000, "CATV 3")});
    openCable({20, 30}, 20);
    int viewerChannelAfterClick = 0;
    onProgress([&](int value) {
        if (value != 5) return;
        listCtrl()->setRowState(0, true, true);  // the row of the found channel 3
        viewerChannelAfterClick = viewer->session()->catvChannel();
    });
    answer = framework::IDNO;
    click(Page::kAutoScan);
    ASSERT_TRUE(runScan());
    EXPECT_EQ(viewerChannelAfterClick, 6);  // where the scan had the viewer, not the list's channel 20
}

TEST_F(AutoScanTest, AutoScanIsRefusedWhileAScanRuns) {
    openCable({20}, 20);
    int clicks = 0;
    onProgress([&](int) {
        // Even a command that reaches the page while the button is disabled starts nothing.
        if (clicks++ == 2) page->wiring().sendCommand(Page::kAutoScan);
    });
    answer = framework::IDNO;
    click(Page::kAutoScan);
    ASSERT_TRUE(runScan());
    EXPECT_EQ(boxesSaying("Do you want to register the scanned channels?"), 1);
}

}  // namespace
}  // namespace kelto::test
