// The viewer's start-up refusals through the real window: each shows its message with its icon
// and the caption "Kelto TV", then the window closes through its close path, and the user's saved
// state stays as it was. Without a mixer the viewer says so and goes on.
#include "tests/viewer/window/ViewerWindowRig.h"

#include "cardsim/Card.h"
#include "platform/SystemInfo.h"
#include "viewer/ViewerOpening.h"

namespace kelto::test {
namespace {

using framework::MessageIcon;

// A capture driver that writes its overlay into video memory (it cannot be opened: the check
// that refuses it comes first).
class VideoMemoryOverlayDriver final : public drivers::CaptureDriver {
public:
    drivers::CaptureDriverDescription description() const override { return {"Overlay capture driver", "1.0", true}; }
    bool open() override { return false; }
    void close() override {}
    bool isOpen() const override { return false; }
    drivers::FrameFormat frameFormat() const override { return {}; }
    bool setFrameFormat(const drivers::FrameFormat&) override { return false; }
    double framesPerSecond() const override { return 29.97; }
    std::uint32_t microsecondsPerFrame() const override { return 33367; }
    bool grabFrame(std::span<std::uint8_t>, std::optional<std::chrono::system_clock::time_point>) override { return false; }
    bool hasAudio() const override { return false; }
    drivers::SoundFormat soundFormat() const override { return {}; }
    bool setSoundFormat(const drivers::SoundFormat&) override { return false; }
    bool readSound(std::chrono::system_clock::time_point, std::span<std::int16_t>) override { return false; }
};

struct RefusalCase {
    const char* name;
    void (*arrange)();
    int stringId;
    MessageIcon icon;
};

void PrintTo(const RefusalCase& refusal, std::ostream* out) { *out << refusal.name; }

const RefusalCase kRefusals[] = {
    {"BothVersionQueriesFail", [] { platform::setOsVersionAnswer(platform::OsVersionAnswer::AllFail); }, 138,
     MessageIcon::Stop},
    {"NtFamily", [] { platform::setOsVersionAnswer(platform::OsVersionAnswer::NtFamily); }, 140,
     MessageIcon::Information},
    {"NoCountryFile", [] { std::filesystem::remove(platform::windowsFolder() / "Zududaz2000.ini"); }, 137,
     MessageIcon::Information},
    {"DisplayTooLargeForAVideoMemoryOverlay",
     [] {
         drivers::CaptureDriverList::clear();
         drivers::CaptureDriverList::add([] { return std::make_unique<VideoMemoryOverlayDriver>(); });
         setDisplayModeAnswer(DisplayMode{32, 1280, 960});
     },
     141, MessageIcon::Stop},
    {"CaptureDriverCannotBeOpened", [] { cardsim::lockCard()->faults.captureOpenFails = true; }, 142,
     MessageIcon::Information},
};

class OpeningRefusalTest : public ViewerWindowRig, public ::testing::WithParamInterface<RefusalCase> {
protected:
    void TearDown() override {
        platform::setOsVersionAnswer(std::nullopt);
        setDisplayModeAnswer(std::nullopt);
        ViewerWindowRig::TearDown();
    }
    // Saved state to keep: channel 11, a window at (40, 50), channels 6, 7, 9, 11, 12 registered,
    // cable channel 23 with fine tuning.
    void saveUserState() {
        saveState(11, QRect(40, 50, 484, 424));
        store.writeInt("user", "s_ctchannel", 23);
        store.writeInt("tvfinetune", "s_ch11", 4);
    }
    void expectUserStateKept() {
        EXPECT_EQ(store.readInt("user", "s_flag", 0), 1);
        EXPECT_EQ(store.readInt("user", "s_channel", 0), 11);
        EXPECT_EQ(store.readInt("user", "s_ctchannel", 0), 23);
        EXPECT_EQ(store.readInt("user", "s_windowx", 0), 40);
        EXPECT_EQ(store.readInt("user", "s_windowy", 0), 50);
        EXPECT_EQ(store.readInt("user", "s_windowwidth", 0), 484);
        EXPECT_EQ(store.readInt("user", "s_windowheight", 0), 424);
        EXPECT_EQ(store.readInt("tvchannel", "tv_count", 0), 5);
        EXPECT_EQ(store.readInt("tvchannel", "s_ch4", 0), 11);
        EXPECT_EQ(store.readInt("tvfinetune", "s_ch11", 0), 4);
    }
};

TEST_P(OpeningRefusalTest, ShowsItsMessageClosesThroughTheClosePathAndKeepsTheSavedState) {
    saveUserState();
    GetParam().arrange();
    ASSERT_TRUE(open());
    EXPECT_TRUE(viewer->refused());
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(viewer) << "the refused viewer is still open";
    EXPECT_EQ(closedCount, 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, LoadMessage(GetParam().stringId));
    EXPECT_EQ(boxes[0].caption, LoadMessage(157));
    EXPECT_EQ(boxes[0].icon, GetParam().icon);
    expectUserStateKept();
}

INSTANTIATE_TEST_SUITE_P(Refusals, OpeningRefusalTest, ::testing::ValuesIn(kRefusals),
                         [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

class WithoutMixerTest : public ViewerWindowRig {
protected:
    void SetUp() override {
        withSoundCard = false;
        ViewerWindowRig::SetUp();
    }
};

// The last check only tells: the viewer opens, and mute and volume change its state and display.
TEST_F(WithoutMixerTest, TheViewerSaysSoAndGoesOnWithoutVolumeControl) {
    saveState(7, QRect(40, 50, 484, 424));
    ASSERT_TRUE(open());
    EXPECT_FALSE(viewer->refused());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, LoadMessage(149));
    EXPECT_EQ(boxes[0].caption, LoadMessage(157));
    EXPECT_EQ(boxes[0].icon, MessageIcon::Information);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->currentChannel(), 7);

    QTest::keyClick(viewer, Qt::Key_Left);
    EXPECT_EQ(viewer->session()->volumeStep(), 15);
    EXPECT_EQ(viewer->onScreenText(), "VOL 15 : IIIIIIIIIIIIIII");
    QTest::keyClick(viewer, Qt::Key_M, Qt::ShiftModifier);
    EXPECT_TRUE(viewer->session()->muted());
    EXPECT_EQ(viewer->onScreenText(), "MUTE ON");
    QTest::keyClick(viewer, Qt::Key_Up);
    EXPECT_EQ(viewer->currentChannel(), 9);
    close();
    EXPECT_EQ(closedCount, 1);
    EXPECT_EQ(store.readInt("user", "s_channel", 0), 9);  // an ordinary close saves
}

}  // namespace
}  // namespace kelto::test
