// The ALSA backend. On a machine with a sound card it is checked against that card; without one
// those checks are reported as skipped. The mapping itself is checked everywhere against a sound
// card made of an ALSA control plugin (FakeSoundCard.cpp) that alsa-lib loads through a
// configuration written here.
#include "platform/mixer/AlsaMixer.h"

#include "mixer/CMixerVolume.h"
#include "tests/mixer/MixerRig.h"
#include "tests/support/TestRoot.h"

#include <alsa/asoundlib.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <poll.h>
#include <thread>

namespace kelto::mixer::test {
namespace {

using Values = std::vector<std::uint32_t>;
using pm::AlsaMixer;
using pm::MixerResult;

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

// Waits (at most 100 ms) until one of the descriptors is readable.
bool readableSoon(std::vector<pollfd> fds) {
    return !fds.empty() && ::poll(fds.data(), fds.size(), 100) > 0;
}

// --- a real sound card, where there is one ---

class AlsaRealCardTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("ALSA_CONFIG_PATH")) GTEST_SKIP() << "ALSA_CONFIG_PATH is set; the real card is not in use";
        if (alsa.deviceCount() == 0) GTEST_SKIP() << "no sound card: ALSA finds no card and no default control device";
    }
    AlsaMixer alsa;
};

TEST_F(AlsaRealCardTest, TheDefaultCardOffersASpeakerOutputWithAVolume) {
    pm::MixerHandle handle = pm::kNoMixerHandle;
    const MixerResult opened = alsa.open(0, nullptr, 0, handle);
    if (opened != MixerResult::NoError) GTEST_SKIP() << "the sound card has no playback volume";
    pm::MixerLine destination;
    ASSERT_EQ(alsa.getLineInfo(handle, pm::LineInfoQuery::ByDestination, destination), MixerResult::NoError);
    EXPECT_EQ(destination.componentType, CT::DstSpeakers);
    EXPECT_GE(destination.channelCount, 1u);
    pm::MixerControl volume;
    ASSERT_EQ(alsa.getLineControl(handle, destination.lineId, pm::LineControlsQuery::OneByType, CtlT::Volume, volume),
              MixerResult::NoError);
    EXPECT_LE(volume.minimum, volume.maximum);

    // Read the volume and write the same values back: the user's level stays as it was.
    std::vector<std::uint32_t> values(destination.channelCount);
    pm::MixerControlDetails details;
    details.controlId = volume.controlId;
    details.channelCount = destination.channelCount;
    details.values = values;
    ASSERT_EQ(alsa.getControlDetails(handle, details), MixerResult::NoError);
    for (std::uint32_t value : values) {
        EXPECT_GE(value, volume.minimum);
        EXPECT_LE(value, volume.maximum);
    }
    EXPECT_EQ(alsa.setControlDetails(handle, details), MixerResult::NoError);
    EXPECT_EQ(alsa.close(handle), MixerResult::NoError);
}

TEST(AlsaWithoutCardTest, WithoutASoundCardTheVolumeObjectDoesNotOpen) {
    if (std::getenv("ALSA_CONFIG_PATH")) GTEST_SKIP() << "ALSA_CONFIG_PATH is set";
    AlsaMixer alsa;
    if (alsa.deviceCount() > 0) GTEST_SKIP() << "this machine has a sound card";
    std::vector<Diagnostic> diagnostics;
    setMixerDiagnosticHook([&](std::string_view caption, std::string_view message) {
        diagnostics.push_back({std::string(caption), std::string(message)});
    });
    pm::setMixerService(&alsa);
    CMixerVolume volume;
    EXPECT_FALSE(volume.Open(nullptr));
    pm::setMixerService(nullptr);
    setMixerDiagnosticHook({});
    EXPECT_EQ(diagnostics.front(), (Diagnostic{"CMixerBase::Init", "No mixer device present"}));
}

// --- the test card ---

class AlsaTestCardTest : public ::testing::Test {
protected:
    void useCard(const char* variant) {
        const auto plugin = kelto::test::binaryFolder() / "libkelto_fake_soundcard.so";
        ASSERT_TRUE(std::filesystem::exists(plugin)) << plugin;
        kelto::test::writeFile(folder / "asound.conf",
                               "ctl_type.keltofake { lib \"" + plugin.string() + "\" }\n"
                               "ctl.default { type keltofake variant \"" + variant + "\" }\n");
        ::setenv("ALSA_CONFIG_PATH", (folder / "asound.conf").c_str(), 1);
        snd_config_update_free_global();
    }
    void SetUp() override { useCard("full"); }
    void TearDown() override {
        for (pm::MixerHandle handle : opened) alsa.close(handle);
        ::unsetenv("ALSA_CONFIG_PATH");
        snd_config_update_free_global();
    }

    pm::MixerHandle open(pm::MixerNotificationTarget* target = nullptr) {
        pm::MixerHandle handle = pm::kNoMixerHandle;
        EXPECT_EQ(alsa.open(0, target, target ? pm::kOpenCallbackWindow : 0, handle), MixerResult::NoError);
        if (handle != pm::kNoMixerHandle) opened.push_back(handle);
        return handle;
    }
    Values read(pm::MixerHandle handle, std::uint32_t controlId, std::uint32_t channels) {
        Values values(channels);
        pm::MixerControlDetails details;
        details.controlId = controlId;
        details.channelCount = channels;
        details.values = values;
        EXPECT_EQ(alsa.getControlDetails(handle, details), MixerResult::NoError);
        return values;
    }
    MixerResult write(pm::MixerHandle handle, std::uint32_t controlId, Values values) {
        pm::MixerControlDetails details;
        details.controlId = controlId;
        details.channelCount = static_cast<std::uint32_t>(values.size());
        details.values = values;
        return alsa.setControlDetails(handle, details);
    }
    // Another program sets a control of the card directly.
    void writeFromOutside(const char* elementName, std::vector<long> values) {
        snd_ctl_t* ctl = nullptr;
        ASSERT_EQ(snd_ctl_open(&ctl, "default", 0), 0);
        snd_ctl_elem_value_t* value = nullptr;
        snd_ctl_elem_value_malloc(&value);
        snd_ctl_elem_value_set_interface(value, SND_CTL_ELEM_IFACE_MIXER);
        snd_ctl_elem_value_set_name(value, elementName);
        for (std::size_t i = 0; i < values.size(); ++i)
            snd_ctl_elem_value_set_integer(value, static_cast<unsigned>(i), values[i]);
        EXPECT_GE(snd_ctl_elem_write(ctl, value), 0);
        snd_ctl_elem_value_free(value);
        snd_ctl_close(ctl);
    }
    std::vector<long> readFromOutside(const char* elementName, unsigned count) {
        snd_ctl_t* ctl = nullptr;
        std::vector<long> out(count, -1);
        if (snd_ctl_open(&ctl, "default", 0) < 0) return out;
        snd_ctl_elem_value_t* value = nullptr;
        snd_ctl_elem_value_malloc(&value);
        snd_ctl_elem_value_set_interface(value, SND_CTL_ELEM_IFACE_MIXER);
        snd_ctl_elem_value_set_name(value, elementName);
        if (snd_ctl_elem_read(ctl, value) >= 0)
            for (unsigned i = 0; i < count; ++i) out[i] = snd_ctl_elem_value_get_integer(value, i);
        snd_ctl_elem_value_free(value);
        snd_ctl_close(ctl);
        return out;
    }

    kelto::test::TemporaryFolder folder{"kelto-alsa"};
    AlsaMixer alsa;
    std::vector<pm::MixerHandle> opened;
};

TEST_F(AlsaTestCardTest, PlaybackControlsBecomeTheSpeakerOutputAndItsSourceLines) {
    EXPECT_GE(alsa.deviceCount(), 1u);
    const auto handle = open();
    ASSERT_NE(handle, pm::kNoMixerHandle);
    pm::MixerCaps caps;
    ASSERT_EQ(alsa.getCaps(handle, caps), MixerResult::NoError);
    EXPECT_EQ(caps.destinationCount, 1u);

    pm::MixerLine speakers;
    ASSERT_EQ(alsa.getLineInfo(handle, pm::LineInfoQuery::ByDestination, speakers), MixerResult::NoError);
    EXPECT_EQ(speakers.componentType, CT::DstSpeakers);
    EXPECT_EQ(speakers.name, "Master");
    EXPECT_EQ(speakers.channelCount, 2u);
    EXPECT_EQ(speakers.controlCount, 2u);
    ASSERT_EQ(speakers.connectionCount, 5u);  // the capture control is no source of the output

    struct Expected {
        const char* name;
        std::uint32_t type;
        std::uint32_t channels;
        std::uint32_t controls;
    };
    const Expected expected[] = {{"PCM", CT::SrcWaveOut, 2, 1},   {"Line", CT::SrcLine, 2, 2},
                                 {"CD", CT::SrcCompactDisc, 2, 1}, {"Mic", CT::SrcMicrophone, 1, 2},
                                 {"Beep", CT::SrcPcSpeaker, 1, 1}};
    for (std::uint32_t source = 0; source < 5; ++source) {
        pm::MixerLine line;
        line.source = source;
        ASSERT_EQ(alsa.getLineInfo(handle, pm::LineInfoQuery::BySource, line), MixerResult::NoError);
        EXPECT_EQ(line.name, expected[source].name);
        EXPECT_EQ(line.componentType, expected[source].type) << line.name;
        EXPECT_EQ(line.channelCount, expected[source].channels) << line.name;
        EXPECT_EQ(line.controlCount, expected[source].controls) << line.name;
        pm::MixerLine byId;
        byId.lineId = line.lineId;
        ASSERT_EQ(alsa.getLineInfo(handle, pm::LineInfoQuery::ByLineId, byId), MixerResult::NoError);
        EXPECT_EQ(byId.name, line.name);
    }
    pm::MixerLine beyond;
    beyond.source = 5;
    EXPECT_EQ(alsa.getLineInfo(handle, pm::LineInfoQuery::BySource, beyond), MixerResult::InvalidLine);

    pm::MixerControl volume, mute;
    ASSERT_EQ(alsa.getLineControl(handle, speakers.lineId, pm::LineControlsQuery::OneByType, CtlT::Volume, volume),
              MixerResult::NoError);
    EXPECT_EQ(volume.minimum, 0u);
    EXPECT_EQ(volume.maximum, 87u);
    EXPECT_EQ(volume.controlFlags & pm::ControlFlag::Uniform, 0u);
    ASSERT_EQ(alsa.getLineControl(handle, speakers.lineId, pm::LineControlsQuery::OneByType, CtlT::Mute, mute),
              MixerResult::NoError);
    EXPECT_EQ(read(handle, volume.controlId, 2), (Values{60, 30}));
    EXPECT_EQ(read(handle, mute.controlId, 2), (Values{0, 0}));  // switch on = not muted

    pm::MixerLine pcm;
    pcm.source = 0;
    ASSERT_EQ(alsa.getLineInfo(handle, pm::LineInfoQuery::BySource, pcm), MixerResult::NoError);
    pm::MixerControl none;
    EXPECT_EQ(alsa.getLineControl(handle, pcm.lineId, pm::LineControlsQuery::OneByType, CtlT::Mute, none),
              MixerResult::InvalidControl);
}

TEST_F(AlsaTestCardTest, WritesReachTheCardPerChannelAndClamped) {
    const auto handle = open();
    pm::MixerLine speakers;
    ASSERT_EQ(alsa.getLineInfo(handle, pm::LineInfoQuery::ByDestination, speakers), MixerResult::NoError);
    pm::MixerControl volume, mute;
    alsa.getLineControl(handle, speakers.lineId, pm::LineControlsQuery::OneByType, CtlT::Volume, volume);
    alsa.getLineControl(handle, speakers.lineId, pm::LineControlsQuery::OneByType, CtlT::Mute, mute);

    EXPECT_EQ(write(handle, volume.controlId, {40, 20}), MixerResult::NoError);
    EXPECT_EQ(readFromOutside("Master Playback Volume", 2), (std::vector<long>{40, 20}));
    EXPECT_EQ(write(handle, volume.controlId, {500}), MixerResult::NoError);  // one value: every channel, clamped
    EXPECT_EQ(readFromOutside("Master Playback Volume", 2), (std::vector<long>{87, 87}));
    EXPECT_EQ(write(handle, mute.controlId, {1}), MixerResult::NoError);
    EXPECT_EQ(readFromOutside("Master Playback Switch", 2), (std::vector<long>{0, 0}));
    EXPECT_EQ(write(handle, volume.controlId, {1, 2, 3}), MixerResult::InvalidParam);
    EXPECT_EQ(write(handle, 999, {1}), MixerResult::InvalidControl);
}

TEST_F(AlsaTestCardTest, ChangesByAnotherProgramArriveOnlyWhenTheWindowDispatches) {
    RecordingWindow window;
    const auto handle = open(&window);
    pm::MixerLine speakers;
    ASSERT_EQ(alsa.getLineInfo(handle, pm::LineInfoQuery::ByDestination, speakers), MixerResult::NoError);
    pm::MixerControl volume, mute;
    alsa.getLineControl(handle, speakers.lineId, pm::LineControlsQuery::OneByType, CtlT::Volume, volume);
    alsa.getLineControl(handle, speakers.lineId, pm::LineControlsQuery::OneByType, CtlT::Mute, mute);

    writeFromOutside("Master Playback Volume", {10, 10});
    writeFromOutside("Master Playback Switch", {0, 0});
    ASSERT_TRUE(readableSoon(alsa.pollDescriptors(handle)));
    EXPECT_TRUE(window.received.empty());

    alsa.dispatchPending(handle);
    ASSERT_EQ(window.received.size(), 3u);
    EXPECT_EQ(window.received[0].message, pm::kMessageControlChange);
    EXPECT_EQ(window.received[0].id, volume.controlId);
    EXPECT_EQ(window.received[1].message, pm::kMessageLineChange);
    EXPECT_EQ(window.received[1].id, speakers.lineId);
    EXPECT_EQ(window.received[2].message, pm::kMessageControlChange);
    EXPECT_EQ(window.received[2].id, mute.controlId);
    for (const auto& received : window.received) {
        EXPECT_EQ(received.deviceHandle, handle);
        EXPECT_EQ(received.thread, std::this_thread::get_id());
    }
    EXPECT_EQ(read(handle, volume.controlId, 2), (Values{10, 10}));
    EXPECT_EQ(read(handle, mute.controlId, 1), (Values{1}));

    // Values read before dispatching are current, and the message still follows.
    window.received.clear();
    writeFromOutside("Master Playback Volume", {11, 12});
    EXPECT_EQ(read(handle, volume.controlId, 2), (Values{11, 12}));
    ASSERT_TRUE(readableSoon(alsa.pollDescriptors(handle)));
    alsa.dispatchPending(handle);
    ASSERT_EQ(window.received.size(), 1u);
    EXPECT_EQ(window.received[0].id, volume.controlId);
}

TEST_F(AlsaTestCardTest, TheVolumeObjectWorksOverTheCard) {
    pm::setMixerService(&alsa);
    CMixerVolume volume;
    RecordingWindow window;
    ASSERT_TRUE(volume.Open(&window));
    EXPECT_EQ(volume.GetLineNames(), (std::vector<std::string>{"Master", "PCM", "Line", "CD", "Mic"}));
    EXPECT_EQ(volume.GetMaximum(), 87u);
    EXPECT_EQ(volume.GetVolume(), 60u);
    EXPECT_TRUE(volume.SetVolume(40));  // balance -0.5 kept
    EXPECT_EQ(readFromOutside("Master Playback Volume", 2), (std::vector<long>{40, 20}));
    EXPECT_TRUE(volume.SetMute(1));
    EXPECT_TRUE(volume.GetMute());

    ASSERT_TRUE(volume.SelectLine(4));  // Mic: mono
    EXPECT_EQ(volume.GetLineName(), "Mic");
    EXPECT_EQ(volume.GetVolume(), 5u);
    EXPECT_TRUE(volume.SetVolume(100));
    EXPECT_EQ(readFromOutside("Mic Playback Volume", 1), (std::vector<long>{31}));
    EXPECT_TRUE(volume.GetMute());  // its switch is off
    volume.Close();
    pm::setMixerService(nullptr);
}

TEST_F(AlsaTestCardTest, ACardWithoutPlaybackVolumeDoesNotOpen) {
    useCard("captureonly");
    pm::MixerHandle handle = pm::kNoMixerHandle;
    EXPECT_EQ(alsa.open(0, nullptr, 0, handle), MixerResult::NoDriver);
    EXPECT_EQ(handle, pm::kNoMixerHandle);

    MixerRig rig;  // for its diagnostics capture; the service is ALSA again below
    pm::setMixerService(&alsa);
    CMixerVolume volume;
    EXPECT_FALSE(volume.Open(nullptr));
    pm::setMixerService(nullptr);
    ASSERT_FALSE(rig.diagnostics.empty());
    EXPECT_EQ(rig.diagnostics.back(), (Diagnostic{"CMixerBase::Init", "Could not open mixer device"}));
}

TEST(AlsaElementNamesTest, NamesChooseTheSourceType) {
    EXPECT_EQ(AlsaMixer::sourceTypeForElementName("PCM"), CT::SrcWaveOut);
    EXPECT_EQ(AlsaMixer::sourceTypeForElementName("Line Boost"), CT::SrcLine);
    EXPECT_EQ(AlsaMixer::sourceTypeForElementName("mic"), CT::SrcMicrophone);
    EXPECT_EQ(AlsaMixer::sourceTypeForElementName("PC Speaker"), CT::SrcPcSpeaker);
    EXPECT_EQ(AlsaMixer::sourceTypeForElementName("IEC958"), CT::SrcDigital);
    EXPECT_EQ(AlsaMixer::sourceTypeForElementName("Headphone"), CT::SrcUndefined);
}

}  // namespace
}  // namespace kelto::mixer::test
