// The sound output: the in-memory one keeps and drops as a full buffer would; the ALSA one
// delivers exactly the frames written, checked through ALSA's file device.
#include "platform/sound/PcmOutput.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace kelto::platform::sound {
namespace {

TEST(InMemoryPcmOutputTest, KeepsWholeFramesAndDropsWhatDoesNotFit) {
    InMemoryPcmOutput out;
    const std::vector<std::int16_t> samples{1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(out.write(samples), 0u) << "a closed output takes nothing";
    ASSERT_TRUE(out.open({8000, 2}));
    out.setCapacity(2);
    EXPECT_EQ(out.write(samples), 2u);
    EXPECT_EQ(out.samples(), (std::vector<std::int16_t>{1, 2, 3, 4}));
    out.play(1);
    EXPECT_EQ(out.queuedFrames(), 1u);
    EXPECT_EQ(out.write(samples), 1u);
    out.close();
    EXPECT_EQ(out.queuedFrames(), 0u);
}

// A private ALSA configuration whose device writes the raw stream to a file.
std::string fileDevice(const std::filesystem::path& file) {
    return "pcm.kelto_test { type file slave.pcm { type null } file \"" + file.string() +
           "\" format \"raw\" }\n";
}

TEST(AlsaPcmOutputTest, DeliversTheFramesWrittenThroughAFileDevice) {
    test::TemporaryFolder folder;
    const auto file = folder / "played.raw";
    auto out = makeAlsaPcmOutput("kelto_test", fileDevice(file));
    if (!out->open({48000, 2})) GTEST_SKIP() << "ALSA cannot open its file device here: " << out->lastError();

    std::vector<std::int16_t> tone(2 * 2400);
    for (std::size_t i = 0; i < tone.size(); ++i) tone[i] = std::int16_t((i * 37) % 20000 - 10000);
    std::size_t written = 0;
    for (int round = 0; round < 20 && written < 2400; ++round)
        written += out->write(std::span(tone).subspan(written * 2));
    ASSERT_EQ(written, 2400u);
    out->close();

    const std::string raw = test::readFile(file);
    ASSERT_EQ(raw.size(), tone.size() * 2);
    EXPECT_EQ(std::memcmp(raw.data(), tone.data(), raw.size()), 0);
}

TEST(AlsaPcmOutputTest, AnUnknownDeviceIsRefusedWithAReason) {
    auto out = makeAlsaPcmOutput("kelto_no_such_device", "pcm.other { type null }\n");
    EXPECT_FALSE(out->open({48000, 2}));
    EXPECT_FALSE(out->isOpen());
    EXPECT_NE(out->lastError().find("kelto_no_such_device"), std::string::npos);
    EXPECT_EQ(out->write(std::vector<std::int16_t>(4)), 0u);
}

}  // namespace
}  // namespace kelto::platform::sound
