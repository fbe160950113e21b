#include "mixer/CMixerVolume.h"

#include "platform/Trace.h"
#include "tests/mixer/MixerRig.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <thread>

namespace kelto::mixer::test {
namespace {

using Values = std::vector<std::uint32_t>;

// Stands for the main window: records the messages and the thread they arrived on.
struct RecordingWindow : pm::MixerNotificationTarget {
    struct Received {
        std::uint32_t message;
        std::uintptr_t deviceHandle;
        std::uintptr_t id;
        std::thread::id thread;
    };
    void onMixerMessage(std::uint32_t message, std::uintptr_t deviceHandle, std::uintptr_t id) override {
        received.push_back({message, deviceHandle, id, std::this_thread::get_id()});
    }
    std::vector<Received> received;
};

bool readable(const std::vector<pollfd>& watched) {
    auto fds = watched;
    return !fds.empty() && ::poll(fds.data(), fds.size(), 0) > 0;
}

class CMixerVolumeTest : public ::testing::Test {
protected:
    MixerRig rig;
    RecordingWindow window;
};

TEST_F(CMixerVolumeTest, OpensTheMasterOutputAndListsItsLines) {
    rig.buildSoundCard({0x8000, 0x4000});
    CMixerVolume volume;
    ASSERT_TRUE(volume.Open(&window));
    EXPECT_EQ(volume.GetLineCount(), 3);  // master, Wave, CD Audio
    EXPECT_EQ(volume.GetLineNames(), (std::vector<std::string>{"Volume Control", "Wave", "CD Audio"}));
    EXPECT_EQ(volume.GetLineName(), "Volume Control");
    EXPECT_EQ(volume.GetSelectedLine(), 0);
    EXPECT_EQ(volume.GetMaximum(), 0xFFFFu);
    EXPECT_EQ(volume.GetMinimum(), 0u);
    EXPECT_EQ(volume.GetVolume(), 0x8000u);

    // Open again while open: the remembered result, no new handle.
    const auto handles = rig.mixer.openHandleCount();
    EXPECT_TRUE(volume.Open(&window));
    EXPECT_EQ(rig.mixer.openHandleCount(), handles);

    volume.Close();
    EXPECT_FALSE(volume.IsOpen());
    EXPECT_EQ(rig.mixer.openHandleCount(), 0u);
}

TEST_F(CMixerVolumeTest, NoSourceLineWithAVolumeGivesNoLinesYetTheMasterWorks) {
    const auto speakers = rig.mixer.addDestination(CT::DstSpeakers, 2, "Speakers");
    const auto master = rig.mixer.addControl(speakers, MixerRig::volume({0x100, 0x100}));
    const auto mic = rig.mixer.addSource(0, CT::SrcMicrophone, 1, "Mic");
    rig.mixer.addControl(mic, MixerRig::mute());
    CMixerVolume volume;
    ASSERT_TRUE(volume.Open(&window));
    EXPECT_EQ(volume.GetLineCount(), 0);
    EXPECT_TRUE(volume.GetLineNames().empty());
    EXPECT_EQ(volume.GetVolume(), 0x100u);
    EXPECT_TRUE(volume.SetVolume(0x2000));
    EXPECT_EQ(rig.mixer.values(master), (Values{0x2000, 0x2000}));
}

TEST_F(CMixerVolumeTest, SelectingALineRebindsVolumeAndMuteToIt) {
    rig.buildSoundCard();
    CMixerVolume volume;
    ASSERT_TRUE(volume.Open(&window));

    ASSERT_TRUE(volume.SelectLine(1));  // Wave
    EXPECT_EQ(volume.GetSelectedLine(), 1);
    EXPECT_EQ(volume.GetLineName(), "Wave");
    EXPECT_EQ(MixerLibs()[0].GetComponentType(), CT::SrcWaveOut);
    EXPECT_EQ(volume.GetVolume(), 0x2000u);
    EXPECT_TRUE(volume.SetVolume(0x1000));  // balance 0.5 kept: right carries the level
    EXPECT_EQ(rig.mixer.values(rig.waveVolume), (Values{0x800, 0x1000}));
    EXPECT_TRUE(volume.SetMute(1));
    EXPECT_EQ(rig.mixer.values(rig.waveMute), (Values{1, 1}));
    EXPECT_TRUE(volume.GetMute());
    EXPECT_EQ(rig.mixer.values(rig.masterVolume), (Values{0x8000, 0x8000}));

    ASSERT_TRUE(volume.SelectLine(2));  // CD Audio, which has no mute switch
    EXPECT_EQ(volume.GetLineName(), "CD Audio");
    EXPECT_FALSE(volume.GetMute());
    EXPECT_FALSE(volume.SetMute(1));

    ASSERT_TRUE(volume.SelectLine(0));
    EXPECT_EQ(volume.GetSelectedLine(), 0);
    EXPECT_EQ(volume.GetLineName(), "Volume Control");

    // A line that is not in the list (a stale saved choice) is refused; the binding stays.
    EXPECT_FALSE(volume.SelectLine(3));
    EXPECT_FALSE(volume.SelectLine(-1));
    EXPECT_TRUE(volume.IsOpen());
    EXPECT_EQ(volume.GetSelectedLine(), 0);
    EXPECT_EQ(volume.GetLineName(), "Volume Control");

    // The binding itself fails (the mixer no longer opens): the mixer ends closed.
    ASSERT_TRUE(volume.SelectLine(1));
    rig.mixer.setOpenFails(true);
    EXPECT_FALSE(volume.SelectLine(2));
    EXPECT_FALSE(volume.IsOpen());
    EXPECT_EQ(volume.GetSelectedLine(), 1);
    EXPECT_EQ(rig.mixer.openHandleCount(), 0u);
}

TEST_F(CMixerVolumeTest, MuteWritesOneValueForOneChannel) {
    rig.buildSoundCard();
    CMixerVolume volume;
    ASSERT_TRUE(volume.Open(&window));
    EXPECT_FALSE(volume.GetMute());
    rig.mixer.clearWrites();
    EXPECT_TRUE(volume.SetMute(1));
    const auto writes = rig.mixer.writes();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].controlId, rig.masterMute);
    EXPECT_EQ(writes[0].channelCount, 1u);
    EXPECT_EQ(writes[0].itemCount, 0u);
    EXPECT_EQ(writes[0].values, Values{1});
    EXPECT_TRUE(volume.GetMute());

    // A switch that cannot be read reads as not muted.
    rig.mixer.setControlFails(rig.masterMute, true, true);
    EXPECT_FALSE(volume.GetMute());
    EXPECT_FALSE(volume.SetMute(0));
}

TEST_F(CMixerVolumeTest, AClosedMixerDoesNothing) {
    rig.buildSoundCard();
    rig.mixer.setOpenFails(true);
    CMixerVolume volume;
    EXPECT_FALSE(volume.Open(&window));
    EXPECT_FALSE(volume.GetOpenResult());
    EXPECT_EQ(volume.GetLineCount(), 0);
    EXPECT_EQ(volume.GetLineName(), "");
    EXPECT_EQ(volume.GetVolume(), 0u);
    EXPECT_FALSE(volume.SetVolume(10));
    EXPECT_FALSE(volume.GetMute());
    EXPECT_FALSE(volume.SetMute(1));
    EXPECT_FALSE(volume.SelectLine(1));
    EXPECT_TRUE(volume.PollDescriptors().empty());
    volume.DispatchPending();
    volume.Close();
    EXPECT_TRUE(rig.mixer.writes().empty());
}

TEST_F(CMixerVolumeTest, ChangesByAnotherProgramReachTheWindowOnItsOwnThread) {
    rig.buildSoundCard();
    CMixerVolume volume;
    ASSERT_TRUE(volume.Open(&window));
    const auto handle = MixerLibs()[0].handle();
    const auto watched = volume.PollDescriptors();
    ASSERT_FALSE(watched.empty());
    EXPECT_FALSE(readable(watched));

    // The other program runs on a thread of its own; nothing arrives until the window dispatches.
    std::thread other([&] {
        rig.mixer.changeFromOutside(rig.masterVolume, {0x1000, 0x1000});
        rig.mixer.changeFromOutside(rig.masterMute, {1});
    });
    other.join();
    EXPECT_TRUE(window.received.empty());
    EXPECT_TRUE(readable(watched));

    volume.DispatchPending();
    ASSERT_EQ(window.received.size(), 3u);  // one handle carries them: no duplicates from the mute switch
    EXPECT_EQ(window.received[0].message, pm::kMessageControlChange);
    EXPECT_EQ(window.received[0].id, rig.masterVolume);
    EXPECT_EQ(window.received[1].message, pm::kMessageLineChange);
    EXPECT_EQ(window.received[1].id, rig.speakers);
    EXPECT_EQ(window.received[2].message, pm::kMessageControlChange);
    EXPECT_EQ(window.received[2].id, rig.masterMute);
    for (const auto& received : window.received) {
        EXPECT_EQ(received.deviceHandle, handle);
        EXPECT_EQ(received.thread, std::this_thread::get_id());
    }
    EXPECT_FALSE(readable(watched));

    // What the window then reads is what the other program left.
    EXPECT_EQ(volume.GetVolume(), 0x1000u);
    EXPECT_TRUE(volume.GetMute());
}

TEST_F(CMixerVolumeTest, OwnChangesAreAnnouncedOnlyWhenSomethingChanged) {
    rig.buildSoundCard({0x8000, 0x8000});
    CMixerVolume volume;
    ASSERT_TRUE(volume.Open(&window));
    volume.GetVolume();
    volume.SetVolume(0x8000);  // the same level: no change, no message
    volume.DispatchPending();
    EXPECT_TRUE(window.received.empty());
    volume.SetVolume(0x9000);
    volume.DispatchPending();
    ASSERT_EQ(window.received.size(), 1u);
    EXPECT_EQ(window.received[0].message, pm::kMessageControlChange);
}

TEST_F(CMixerVolumeTest, NoMessagesAfterClose) {
    rig.buildSoundCard();
    CMixerVolume volume;
    ASSERT_TRUE(volume.Open(&window));
    rig.mixer.changeFromOutside(rig.masterVolume, {1, 1});
    volume.Close();
    volume.DispatchPending();
    rig.mixer.changeFromOutside(rig.masterVolume, {2, 2});
    EXPECT_TRUE(window.received.empty());
}

TEST(MixerDiagnosticsTest, GoToTheTraceLogByDefault) {
    pm::InMemoryMixer mixer;
    mixer.setDeviceCount(0);
    pm::setMixerService(&mixer);
    CMixerVolume volume;
    EXPECT_FALSE(volume.Open(nullptr));
    pm::setMixerService(nullptr);
    EXPECT_NE(kelto::test::readFile(platform::traceLogPath()).find("CMixerBase::Init: No mixer device present\n"),
              std::string::npos);
}

}  // namespace
}  // namespace kelto::mixer::test
