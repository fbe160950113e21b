#include "tests/capture/CaptureFixture.h"

#include "settings/ViewerSettings.h"
#include "cardsim/BrooktreeCaptureDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>

namespace kelto::capture::test {
namespace {

using M = CaptureMessage;

// A driver that only has a name.
class NamedDriver final : public drivers::CaptureDriver {
public:
    explicit NamedDriver(std::string name) : name_(std::move(name)) {}
    drivers::CaptureDriverDescription description() const override { return {name_, "1.0"}; }
    bool open() override { return false; }
    void close() override {}
    bool isOpen() const override { return false; }
    drivers::FrameFormat frameFormat() const override { return {}; }
    bool setFrameFormat(const drivers::FrameFormat&) override { return false; }
    double framesPerSecond() const override { return 25; }
    std::uint32_t microsecondsPerFrame() const override { return 40000; }
    bool grabFrame(std::span<std::uint8_t>, std::optional<std::chrono::system_clock::time_point>) override {
        return false;
    }
    bool hasAudio() const override { return false; }
    drivers::SoundFormat soundFormat() const override { return {}; }
    bool setSoundFormat(const drivers::SoundFormat&) override { return false; }
    bool readSound(std::chrono::system_clock::time_point, std::span<std::int16_t>) override { return false; }

private:
    std::string name_;
};

// Registers other drivers (one named like ours but in lower case, and gaps), then the card's
// driver at `index` (where the list has room for it).
void registerOthersThenBrooktreeAt(std::size_t index) {
    std::vector<drivers::CaptureDriverList::Factory> list;
    for (std::size_t i = 0; i < index; ++i) {
        if (i % 3 == 1) {
            list.emplace_back();
            continue;
        }
        list.emplace_back([i] {
            return std::make_unique<NamedDriver>(i == 0 ? "msvideo: brooktree pci video capture driver" : "Other driver");
        });
    }
    list.emplace_back([] { return std::make_unique<cardsim::BrooktreeCaptureDriver>(); });
    drivers::CaptureDriverList::clear();
    for (std::size_t i = 0; i < list.size(); ++i) drivers::CaptureDriverList::addAt(i, list[i]);
}

TEST_F(CaptureFixture, DriverIsFoundByExactNameAtIndexNineButNotTen) {
    registerOthersThenBrooktreeAt(9);
    ASSERT_EQ(window->Create(CCaptureWindow::WS_CHILD, 0, 0, 320, 240, &viewer), 1);
    EXPECT_EQ(window->DriverIndex(), 9u);
    EXPECT_EQ(window->Connect(), 1);
    EXPECT_EQ(CCaptureWindow::DriverCaps().deviceIndex, 9u);
    EXPECT_EQ(CCaptureWindow::Status().imageWidth, 320u);

    CCaptureWindow other(store);
    registerOthersThenBrooktreeAt(10);
    EXPECT_EQ(other.Create(CCaptureWindow::WS_CHILD, 0, 0, 320, 240, &viewer), 0);
}

TEST_F(CaptureFixture, ConnectAndDisconnectSendTheirMessagesInOrder) {
    createAndConnect();
    EXPECT_EQ(messages, (std::vector{M::DriverConnect, M::DriverGetCaps, M::GetStatus}));
    EXPECT_TRUE(window->IsConnected());
    EXPECT_EQ(CCaptureWindow::DriverCaps().hasOverlay, 1);
    messages.clear();
    EXPECT_EQ(window->Disconnect(), 1);
    EXPECT_EQ(messages, (std::vector{M::DriverDisconnect}));
    EXPECT_FALSE(window->IsConnected());

    // A connect that fails still counts as connected, and still reads caps and status.
    drivers::CaptureDriver* blocker = nullptr;
    auto held = std::make_unique<cardsim::BrooktreeCaptureDriver>();  // the card has one capture engine
    ASSERT_TRUE(held->open());
    blocker = held.get();
    messages.clear();
    EXPECT_EQ(window->Connect(), 0);
    EXPECT_TRUE(window->IsConnected());
    EXPECT_EQ(messages, (std::vector{M::DriverConnect, M::DriverGetCaps, M::GetStatus}));
    EXPECT_EQ(window->SetOverlay(true), 0);
    blocker->close();
}

TEST_F(CaptureFixture, WrappersSendTheirMessagesInOrder) {
    createAndConnect();
    const std::string still = (folder / "Kelto.BMP").string();

    struct Case {
        const char* name;
        std::function<void()> call;
        std::vector<M> expected;
    };
    const std::vector<Case> cases = {
        {"overlay", [&] { window->SetOverlay(true); }, {M::SetOverlay}},
        {"preview", [&] { window->SetPreview(false); }, {M::SetPreview}},
        {"save", [&] { window->SaveFrameAsBitmapFile(still); }, {M::GetStatus, M::FileSaveDib}},
        {"refresh", [&] { window->RefreshSize(); }, {M::GetStatus}},
        {"width", [&] { window->GetImageWidth(); }, {M::GetStatus}},
        {"height", [&] { window->GetImageHeight(); }, {M::GetStatus}},
        {"audio hardware", [&] { window->HasAudioHardware(); }, {M::GetStatus}},
        {"frame size", [&] { window->SetFrameSize(320, 240); }, {M::GetVideoFormat, M::GetVideoFormat, M::SetVideoFormat}},
        {"grab", [&] { window->GrabFrameImage(160, 120); },
         {M::GetVideoFormat, M::GetVideoFormat, M::SetVideoFormat, M::GrabFrame}},
        {"audio size", [&] { window->GetAudioFormatSize(); }, {M::GetAudioFormat}},
        {"setup", [&] {
             CaptureSequenceSetup setup;
             window->GetSequenceSetup(setup);
             window->SetSequenceSetup(setup);
         }, {M::GetSequenceSetup, M::SetSequenceSetup}},
    };
    for (const Case& c : cases) {
        messages.clear();
        c.call();
        EXPECT_EQ(messages, c.expected) << c.name;
    }

    messages.clear();
    answerNextDialog([](QDialog& dialog) { dialog.reject(); });
    window->VideoFormatDialog();
    EXPECT_EQ(messages, (std::vector{M::DlgVideoFormat, M::GetStatus}));
    messages.clear();
    answerNextDialog([](QDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(window->VideoDisplayDialog(), 1);
    EXPECT_EQ(messages, (std::vector{M::DlgVideoDisplay, M::GetStatus}));
    messages.clear();
    answerNextDialog([](QDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(window->VideoCompressionDialog(), 1);
    EXPECT_EQ(messages, (std::vector{M::DlgVideoCompression}));
}

TEST_F(CaptureFixture, CaptureVideoStreamSendsItsMessagesAndTracesInOrder) {
    createAndConnect();
    CaptureSequenceSetup setup;
    window->GetSequenceSetup(setup);
    setup.limitEnabled = 1;
    setup.timeLimitSeconds = 1;
    setup.captureAudio = 0;
    window->SetSequenceSetup(setup);
    window->SetFrameSize(80, 60);
    window->SetOverlay(true);
    messages.clear();

    EXPECT_EQ(window->CaptureVideoStream((folder / "Kelto.AVI").string(), 0), 1);
    EXPECT_EQ(messages, (std::vector{M::GetStatus, M::FileSetCaptureFile, M::SetOverlay, M::GetStatus,
                                     M::SetPreviewRate, M::SetPreview, M::Sequence, M::GetStatus, M::SetPreview,
                                     M::SetOverlay}));
    EXPECT_EQ(service().previewRateMs(), 66u);
    EXPECT_TRUE(service().overlayOn());
    EXPECT_FALSE(service().previewOn());
    const std::string log = traceLog();
    const auto first = log.find("CaptureVideoStream:before capGetStatus\n");
    const auto second = log.find("CaptureVideoStream:before capFileSetCaptureFile\n");
    const auto third = log.find("CaptureVideoStream:before capCaptureSequence\n");
    ASSERT_NE(first, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);
    EXPECT_NE(third, std::string::npos);
}

TEST_F(CaptureFixture, DeadWindowAnswersZeroAndSendsNothing) {
    // Never created.
    EXPECT_FALSE(window->IsWindow());
    EXPECT_EQ(window->Connect(), 0);
    EXPECT_FALSE(window->IsConnected());

    // Created, then destroyed with its parent's child list.
    createAndConnect();
    delete window->GetWindow();
    EXPECT_FALSE(window->IsWindow());
    CaptureSequenceSetup setup;
    std::byte buffer[18];
    EXPECT_EQ(window->Connect(), 0);
    EXPECT_EQ(window->Disconnect(), 0);
    EXPECT_EQ(window->SetOverlay(true), 0);
    EXPECT_EQ(window->SetPreview(true), 0);
    EXPECT_EQ(window->SaveFrameAsBitmapFile((folder / "dead.BMP").string()), 0);
    EXPECT_FALSE(std::filesystem::exists(folder / "dead.BMP"));
    EXPECT_EQ(window->VideoCompressionDialog(), 0);
    EXPECT_EQ(window->VideoDisplayDialog(), 0);
    EXPECT_EQ(window->GetImageWidth(), 0u);
    EXPECT_EQ(window->GetImageHeight(), 0u);
    EXPECT_FALSE(window->HasAudioHardware());
    EXPECT_EQ(window->SetFrameSize(640, 480), 0);
    EXPECT_TRUE(window->GrabFrameImage(160, 120).isNull());
    EXPECT_EQ(window->CaptureVideoStream((folder / "dead.AVI").string(), 0), 0);
    EXPECT_FALSE(std::filesystem::exists(folder / "dead.AVI"));
    EXPECT_EQ(window->GetAudioFormatSize(), 0);
    EXPECT_EQ(window->GetAudioFormat(buffer), 0);
    EXPECT_EQ(window->SetAudioFormat(buffer), 0);
    EXPECT_EQ(window->GetSequenceSetup(setup), 0);
    EXPECT_EQ(window->SetSequenceSetup(setup), 0);
    bool told = false;
    window->SetSizeListener([&](std::uint32_t, std::uint32_t) { told = true; });
    window->RefreshSize();
    window->VideoFormatDialog();
    EXPECT_FALSE(told);
}

TEST_F(CaptureFixture, FrameSizeIsSetThroughTheFormatRecordAndRefused) {
    createAndConnect();
    EXPECT_EQ(window->SetFrameSize(640, 480), 1);
    EXPECT_EQ(window->GetImageWidth(), 640u);
    EXPECT_EQ(window->GetImageHeight(), 480u);
    EXPECT_EQ(window->SetFrameSize(1000, 1000), 0);  // more than the card delivers
    EXPECT_EQ(window->SetFrameSize(0, 240), 0);
    EXPECT_EQ(window->GetImageWidth(), 640u);

    std::uint32_t toldWidth = 0, toldHeight = 0;
    window->SetSizeListener([&](std::uint32_t w, std::uint32_t h) { toldWidth = w, toldHeight = h; });
    window->RefreshSize();
    EXPECT_EQ(toldWidth, 640u);
    EXPECT_EQ(toldHeight, 480u);
    EXPECT_EQ(window->ImageWidth(), 640u);
}

TEST_F(CaptureFixture, DriverDialogsChangeSizeCompressorAndDisplay) {
    createAndConnect();
    std::uint32_t toldWidth = 0;
    window->SetSizeListener([&](std::uint32_t w, std::uint32_t) { toldWidth = w; });
    answerNextDialog([](QDialog& dialog) {
        dialog.findChild<QRadioButton*>("size160x120")->setChecked(true);
        dialog.accept();
    });
    window->VideoFormatDialog();
    EXPECT_EQ(toldWidth, 160u);
    EXPECT_EQ(window->ImageHeight(), 120u);

    answerNextDialog([](QDialog& dialog) {
        dialog.findChild<QComboBox*>("compressor")->setCurrentIndex(1);
        dialog.accept();
    });
    window->VideoCompressionDialog();
    EXPECT_EQ(service().compressor(), VideoCompressor::Uncompressed);

    answerNextDialog([](QDialog& dialog) {
        dialog.findChild<QCheckBox*>("scale")->setChecked(false);
        dialog.findChild<QCheckBox*>("caption")->setChecked(true);
        dialog.accept();
    });
    window->VideoDisplayDialog();
    EXPECT_EQ(service().displayOptions(), (DisplayOptions{false, true}));
    EXPECT_EQ(CCaptureWindow::Status().scale, 0);
}

TEST_F(CaptureFixture, StillSizeSettingsAreReadAndWrittenBack) {
    store.writeInt(section::kUser, "capimagewidth", 640);
    window = std::make_unique<CCaptureWindow>(store);
    EXPECT_EQ(window->StillWidth(), 640);
    EXPECT_EQ(window->StillHeight(), 240);
    window->SetStillSize(160, 120);
    window.reset();
    EXPECT_EQ(store.readInt(section::kUser, "capimagewidth", 0), 160);
    EXPECT_EQ(store.readInt(section::kUser, "capimageheight", 0), 120);
}

TEST_F(CaptureFixture, GrabGivesASmallCopyAndKeepsThePaletteOnFailure) {
    createAndConnect();
    const QImage grabbed = window->GrabFrameImage(160, 120);
    ASSERT_FALSE(grabbed.isNull());
    EXPECT_EQ(grabbed.size(), QSize(160, 120));
    EXPECT_TRUE(window->ClipboardPalette().isEmpty());  // a true-colour frame has no palette
    const QImage copy = CCaptureWindow::CopyBitmap(grabbed);
    EXPECT_EQ(copy, grabbed);
    EXPECT_TRUE(CCaptureWindow::CopyBitmap(QImage()).isNull());
    QImage released = copy;
    CCaptureWindow::DeleteBitmap(released);
    EXPECT_TRUE(released.isNull());

    window->Disconnect();
    EXPECT_TRUE(window->GrabFrameImage(160, 120).isNull());
}

TEST_F(CaptureFixture, WorkerThreadsQueueTheirCallsAndSynchronousCallsRefuse) {
    createAndConnect();
    std::thread::id observedOn;
    service().setMessageObserver([&](CaptureMessage) { observedOn = std::this_thread::get_id(); });
    std::future<int> queued;
    int refused = -1;
    std::thread worker([&] {
        refused = window->SaveFrameAsBitmapFile((folder / "refused.BMP").string());
        queued = window->Queue([this](CCaptureWindow& w) { return w.SaveFrameAsBitmapFile((folder / "worker.BMP").string()); });
    });
    worker.join();  // the worker never waits for this thread
    EXPECT_EQ(refused, 0);
    EXPECT_FALSE(std::filesystem::exists(folder / "refused.BMP"));
    while (queued.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(queued.get(), 1);
    EXPECT_TRUE(observedOn == std::this_thread::get_id());
    EXPECT_TRUE(std::filesystem::exists(folder / "worker.BMP"));
    EXPECT_NE(traceLog().find("off the user-interface thread"), std::string::npos);
}

// A worker that grabs a frame while it holds the tuner lock, and the user-interface thread
// wanting that lock at the same moment (a channel change): the worker must not wait for the
// user-interface thread. Bounded: a worker that waits makes the lock attempt time out.
TEST_F(CaptureFixture, AWorkerHoldingTheTunerLockNeverWaitsForTheWindowThread) {
    createAndConnect();
    std::mutex tunerLock;
    std::promise<void> lockTaken;
    std::future<QImage> picture;
    std::atomic<bool> workerDone = false;
    std::thread worker([&] {
        {
            std::lock_guard hold(tunerLock);
            lockTaken.set_value();
            picture = window->Queue([](CCaptureWindow& w) { return w.GrabFrameImage(160, 120); });
        }
        workerDone = true;
    });
    lockTaken.get_future().wait();
    // Polled rather than a timed lock: ThreadSanitizer does not follow timed locks.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    bool uiThreadGotTheLock = tunerLock.try_lock();
    while (!uiThreadGotTheLock && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        uiThreadGotTheLock = tunerLock.try_lock();
    }
    if (uiThreadGotTheLock) tunerLock.unlock();
    // Let a worker stuck on this thread finish, so a failure ends the test instead of hanging it.
    while (!workerDone) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    while (picture.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(uiThreadGotTheLock);
    EXPECT_EQ(picture.get().size(), QSize(160, 120));
}

TEST_F(CaptureFixture, AQueuedCallOfAWindowThatIsGoneAnswersTheDefault) {
    createAndConnect();
    std::future<int> queued;
    std::thread worker([&] { queued = window->Queue([](CCaptureWindow& w) { return w.SetPreview(true); }); });
    worker.join();
    window.reset();  // before the call ran
    QCoreApplication::processEvents();
    ASSERT_EQ(queued.wait_for(std::chrono::seconds(0)), std::future_status::ready);
    EXPECT_EQ(queued.get(), 0);
}

// From the driver to the painted window. A sanitizer's instrumentation slows painting several
// times over, so its builds get a looser bound; the ordinary build keeps the real one.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr std::chrono::milliseconds kPictureDelayBudget{2000};
#else
constexpr std::chrono::milliseconds kPictureDelayBudget{100};
#endif

TEST_F(CaptureFixture, LivePictureShowsTheCardScaledToTheWindow) {
    createAndConnect();
    viewer.show();
    cardsim::lockCard()->video().selectInput(3);  // the composite input's picture
    service().setDisplayOptions({true, true});
    window->SetOverlay(true);
    service().deliverLiveFrame();
    CaptureWindowWidget& live = *window->GetWindow();
    ASSERT_FALSE(live.currentPicture().isNull());
    EXPECT_EQ(live.currentPicture().size(), QSize(320, 240));
    const QImage shown = live.grab().toImage();
    EXPECT_EQ(shown.size(), QSize(400, 300));
    EXPECT_GE(live.picturesPainted(), 1u);
    EXPECT_LT(live.lastPictureDelay(), kPictureDelayBudget);
    if (const char* out = std::getenv("KELTO_CAPTURE_PNG")) shown.save(out);

    // Overlay runs at the frame rate, preview at the preview rate; they exclude each other.
    EXPECT_TRUE(service().overlayOn());
    window->SetPreview(true);
    EXPECT_FALSE(service().overlayOn());
    EXPECT_TRUE(service().previewOn());
}

// The driver's 24-bit pictures (B, G, R bytes, rows padded to 4 bytes) are shown with their own
// colours, kept as 32-bit pixels that paint without a conversion.
TEST_F(CaptureFixture, ATwentyFourBitPictureIsShownWithItsColours) {
    createAndConnect();
    ASSERT_EQ(service().frameFormat().bitsPerPixel, 24);
    ASSERT_TRUE(service().applyFrameFormat({161, 121, 24}));  // rows of 483 bytes, padded to 484
    cardsim::lockCard()->video().selectInput(3);
    window->SetOverlay(true);
    service().deliverLiveFrame();
    ASSERT_EQ(service().grabFrame(), 1);  // the same moment: the same picture
    const GrabbedFrame& frame = service().grabbedFrame();
    const QImage& shown = window->GetWindow()->currentPicture();
    ASSERT_EQ(shown.size(), QSize(161, 121));
    EXPECT_EQ(shown.format(), QImage::Format_RGB32);
    int different = 0;
    for (int y = 0; y < 121; ++y)
        for (int x = 0; x < 161; ++x) {
            const std::uint8_t* bgr = frame.pixels.data() + std::size_t(y) * frame.format.bytesPerRow() + std::size_t(3 * x);
            if (shown.pixel(x, y) != qRgb(bgr[2], bgr[1], bgr[0])) ++different;
        }
    EXPECT_EQ(different, 0);
}

// A picture shown larger than it was taken is filtered: the edges between the colour bars get
// colours in between, where blocks would repeat the picture's own colours only.
TEST_F(CaptureFixture, APictureShownLargerIsScaledSmoothlyNotInBlocks) {
    createAndConnect();
    ASSERT_TRUE(service().applyFrameFormat({160, 120, 24}));
    cardsim::lockCard()->video().selectInput(3);
    window->SetOverlay(true);
    CaptureWindowWidget& live = *window->GetWindow();
    live.resize(640, 480);
    service().deliverLiveFrame();
    const QImage source = live.currentPicture();
    ASSERT_EQ(source.size(), QSize(160, 120));
    const QImage shown = live.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(640, 480));
    std::set<QRgb> taken;
    for (int x = 0; x < source.width(); ++x) taken.insert(source.pixel(x, 20));
    int inBetween = 0;
    for (int x = 0; x < shown.width(); ++x) inBetween += taken.count(shown.pixel(x, 80)) == 0 ? 1 : 0;
    EXPECT_GT(inBetween, 0);
}

// The first picture painted is noted once in the trace log, with the moment it was painted; a
// paint before any picture (black) is not it.
TEST_F(CaptureFixture, TheFirstPaintedPictureIsNotedOnceAtItsMoment) {
    createAndConnect();
    viewer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    CaptureWindowWidget& live = *window->GetWindow();
    const std::string before = traceLog();
    live.repaint();
    EXPECT_EQ(traceLog(), before);

    clock.advanceMs(1234);
    service().deliverLiveFrame();
    live.repaint();
    clock.advanceMs(1000);
    service().deliverLiveFrame();
    live.repaint();

    const std::string log = traceLog().substr(before.size());
    const std::string line = "capture: first picture painted (320x240)\n";
    ASSERT_NE(log.find(line), std::string::npos) << log;
    EXPECT_EQ(log.find(line), log.rfind(line));
    const auto paintedAt = clock.now() - std::chrono::milliseconds(1000);
    const std::time_t seconds = std::chrono::system_clock::to_time_t(paintedAt);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(paintedAt.time_since_epoch()).count() % 1000;
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d.%03d ", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, int(ms));
    EXPECT_NE(log.find(stamp + line), std::string::npos) << log;
}

}  // namespace
}  // namespace kelto::capture::test
