// What the capture driver delivers: the station's test card versus snow versus the external
// inputs, the picture controls, pause, formats, and the sound with its routes.
#include "tests/cardsim/CardFixture.h"

#include "cardsim/BrooktreeCaptureDriver.h"
#include "drivers/CaptureDriver.h"
#include "cardsim/SoundSynthesizer.h"

#include <cmath>
#include <cstdlib>

namespace kelto::cardsim::test {
namespace {

class PictureAndSoundTest : public CardFixture {
protected:
    void SetUp() override {
        CardFixture::SetUp();
        buildCard({.chip = ChipKind::Bt848, .tuner = TunerKind::Philips},
                  {tvStation(55'250'000, "WKEL 2", SoundMode::Stereo, 440), tvStation(67'250'000, "KVIZ 4")});
        loadBtVid();
        ASSERT_EQ(registerCaptureDriver(), 0u);
        driver = CaptureDriverList::create(0);
        ASSERT_NE(driver, nullptr);
        ASSERT_TRUE(driver->open());
        ASSERT_TRUE(driver->setFrameFormat({320, 240, 32}));
    }
    void TearDown() override {
        driver.reset();
        CaptureDriverList::clear();
        CardFixture::TearDown();
    }

    std::vector<std::uint32_t> grab() {
        std::vector<std::uint32_t> pixels(320 * 240);
        EXPECT_TRUE(driver->grabFrame(std::span(reinterpret_cast<std::uint8_t*>(pixels.data()), pixels.size() * 4)));
        return pixels;
    }
    void tuneTo(double mhz, int fine = 0) {
        tune(0xC0, dividerFor(45.75, mhz, fine));
        clock.advanceMs(PllTuner::kTvSettleMs);
    }
    static double meanLuma(const std::vector<std::uint32_t>& pixels) {
        double sum = 0;
        for (auto p : pixels) sum += 0.299 * (p >> 16 & 0xFF) + 0.587 * (p >> 8 & 0xFF) + 0.114 * (p & 0xFF);
        return sum / double(pixels.size());
    }
    static double meanChroma(const std::vector<std::uint32_t>& pixels) {
        double sum = 0;
        for (auto p : pixels) {
            const int r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF;
            sum += std::max({r, g, b}) - std::min({r, g, b});
        }
        return sum / double(pixels.size());
    }
    // Share of horizontally neighbouring pixels that differ: near 1 for snow, small for a test card.
    static double roughness(const std::vector<std::uint32_t>& pixels) {
        std::size_t differ = 0;
        for (std::size_t i = 1; i < pixels.size(); ++i) differ += pixels[i] != pixels[i - 1];
        return double(differ) / double(pixels.size());
    }

    std::unique_ptr<CaptureDriver> driver;
};

TEST_F(PictureAndSoundTest, TunedStationShowsItsCardAndEmptyChannelsShowSnow) {
    tuneTo(55.25);
    const auto station = grab();
    EXPECT_LT(roughness(station), 0.2);  // the grey ramp differs pixel to pixel

    tuneTo(61.25);  // between the stations, 6 MHz off
    const auto snow = grab();
    EXPECT_GT(roughness(snow), 0.9);
    EXPECT_LT(meanChroma(snow), 1.0);

    tuneTo(55.25, 8);  // 500 kHz off: the card, with noise
    const auto detuned = grab();
    EXPECT_GT(roughness(detuned), roughness(station) + 0.05);
    EXPECT_LT(roughness(detuned), 0.9);

    tuneTo(67.25);  // another station: another name on the card
    EXPECT_NE(grab(), station);

    // Straight after a change the loop has not settled: snow.
    tune(0xC0, dividerFor(45.75, 55.25));
    EXPECT_GT(roughness(grab()), 0.9);
}

TEST_F(PictureAndSoundTest, ExternalInputsShowTheirOwnSourcesWhateverIsTuned) {
    tuneTo(61.25);
    ASSERT_EQ(btvid.Bt848SetVideoSource(3), 0);
    const auto composite = grab();
    ASSERT_EQ(btvid.Bt848SetVideoSource(1), 0);
    const auto svideo = grab();
    EXPECT_LT(roughness(composite), 0.05);
    EXPECT_LT(roughness(svideo), 0.05);
    EXPECT_NE(composite, svideo);
    ASSERT_EQ(btvid.Bt848SetVideoSource(2), 0);
    EXPECT_GT(roughness(grab()), 0.9);
}

TEST_F(PictureAndSoundTest, PictureControlsChangeThePixels) {
    tuneTo(55.25);
    const auto neutral = grab();
    ASSERT_EQ(btvid.Bt848SetBrightness(200), 0);
    EXPECT_GT(meanLuma(grab()), meanLuma(neutral) + 30);
    ASSERT_EQ(btvid.Bt848SetBrightness(128), 0);
    ASSERT_EQ(btvid.Bt848SetSaturation(0), 0);
    EXPECT_LT(meanChroma(grab()), 2.0);
    ASSERT_EQ(btvid.Bt848SetSaturation(128), 0);
    ASSERT_EQ(btvid.Bt848SetContrast(32), 0);
    const auto flat = grab();
    EXPECT_LT(meanChroma(flat), meanChroma(neutral) / 2);
    ASSERT_EQ(btvid.Bt848SetContrast(128), 0);
    ASSERT_EQ(btvid.Bt848SetHue(220), 0);
    const auto turned = grab();
    EXPECT_NE(turned, neutral);
    EXPECT_NEAR(meanLuma(turned), meanLuma(neutral), 25);
    ASSERT_EQ(btvid.Bt848SetHue(128), 0);
    EXPECT_EQ(grab(), neutral);
}

TEST_F(PictureAndSoundTest, PauseFreezesThePictureUntilContinue) {
    tuneTo(55.25);
    const auto before = grab();
    clock.advanceMs(1500);
    const auto later = grab();
    EXPECT_NE(later, before);  // the clock and the moving elements moved
    ASSERT_EQ(btvid.Bt848Pause(), 0);
    clock.advanceMs(2000);
    EXPECT_EQ(grab(), later);
    clock.advanceMs(2000);
    EXPECT_EQ(grab(), later);
    ASSERT_EQ(btvid.Bt848Continue(), 0);
    EXPECT_NE(grab(), later);
}

TEST_F(PictureAndSoundTest, FormatsAndTheDriverList) {
    EXPECT_EQ(CaptureDriverList::describe(0)->name, "MSVIDEO: Brooktree PCI Video Capture Driver");
    EXPECT_FALSE(CaptureDriverList::describe(1).has_value());
    EXPECT_NEAR(driver->framesPerSecond(), 29.97, 0.001);
    EXPECT_EQ(driver->microsecondsPerFrame(), 33367u);

    EXPECT_FALSE(driver->setFrameFormat({640, 481, 24}));
    EXPECT_FALSE(driver->setFrameFormat({79, 60, 24}));
    EXPECT_FALSE(driver->setFrameFormat({320, 240, 16}));
    EXPECT_EQ(driver->frameFormat(), (FrameFormat{320, 240, 32}));

    // 24 bits: B, G, R with rows padded to four bytes; the same picture as 32 bits.
    tuneTo(55.25);
    const auto wide = grab();
    ASSERT_TRUE(driver->setFrameFormat({322, 240, 24}));
    EXPECT_EQ(driver->frameFormat().bytesPerRow(), 968u);
    std::vector<std::uint8_t> bytes(driver->frameFormat().imageBytes());
    EXPECT_FALSE(driver->grabFrame(std::span(bytes.data(), bytes.size() - 1)));
    ASSERT_TRUE(driver->grabFrame(bytes));
    ASSERT_TRUE(driver->setFrameFormat({80, 60, 24}));
    std::vector<std::uint8_t> small(driver->frameFormat().imageBytes());
    EXPECT_TRUE(driver->grabFrame(small));

    // One capture engine: a second open fails until the first closes.
    auto second = CaptureDriverList::create(0);
    EXPECT_FALSE(second->open());
    driver->close();
    EXPECT_FALSE(driver->grabFrame(bytes));
    EXPECT_TRUE(second->open());

    // PAL cards run at 25 frames per second.
    buildCard({.standard = VideoStandard::Pal});
    EXPECT_EQ(second->microsecondsPerFrame(), 40000u);
    (void)wide;
}

TEST_F(PictureAndSoundTest, SoundIsTheStationsUnlessMutedOrNothingIsTuned) {
    ASSERT_TRUE(driver->setSoundFormat({32000, 2, 16}));
    EXPECT_FALSE(driver->setSoundFormat({96000, 2, 16}));
    std::vector<std::int16_t> samples(3200 * 2);
    const auto energy = [&](int channel) {
        double sum = 0;
        for (std::size_t i = std::size_t(channel); i < samples.size(); i += 2) sum += std::abs(double(samples[i]));
        return sum / double(samples.size() / 2);
    };
    for (int bit = 0; bit < 4; ++bit) ASSERT_EQ(btvid.SetGPOEBit(bit, 1), 0);
    ASSERT_EQ(btvid.SetGPDATABits(0, 3, 1, 0), 0);  // the tuner's sound

    tuneTo(55.25);
    ASSERT_TRUE(driver->readSound(clock.now(), samples));
    EXPECT_GT(energy(0), 1000);
    // Stereo: the right channel carries a fifth above, so the channels differ.
    EXPECT_NE(std::vector(samples.begin(), samples.begin() + 20), std::vector<std::int16_t>(20, 0));
    bool channelsDiffer = false;
    for (std::size_t i = 0; i + 1 < samples.size(); i += 2) channelsDiffer |= samples[i] != samples[i + 1];
    EXPECT_TRUE(channelsDiffer);

    // The same moment gives the same samples.
    std::vector<std::int16_t> again(samples.size());
    ASSERT_TRUE(driver->readSound(clock.now(), again));
    EXPECT_EQ(again, samples);

    ASSERT_EQ(btvid.SetGPDATABits(0, 1, 3, 0), 0);  // muted
    ASSERT_TRUE(driver->readSound(clock.now(), samples));
    EXPECT_EQ(energy(0) + energy(1), 0);

    ASSERT_EQ(btvid.SetGPDATABits(0, 3, 1, 0), 0);
    tuneTo(61.25);  // nothing there
    ASSERT_TRUE(driver->readSound(clock.now(), samples));
    EXPECT_EQ(energy(0) + energy(1), 0);

    ASSERT_EQ(btvid.SetGPDATABits(0, 3, 0, 0), 0);  // the external input's own sound
    ASSERT_TRUE(driver->readSound(clock.now(), samples));
    EXPECT_GT(energy(0), 1000);
}

TEST_F(PictureAndSoundTest, DriversRegisterIntoTenSlots) {
    const CaptureDriverList::Factory brooktree = [] { return std::make_unique<BrooktreeCaptureDriver>(); };
    CaptureDriverList::clear();
    EXPECT_TRUE(CaptureDriverList::addAt(9, brooktree));
    EXPECT_FALSE(CaptureDriverList::describe(0).has_value());
    EXPECT_EQ(CaptureDriverList::describe(9)->name, kBrooktreeCaptureDriverName);
    EXPECT_FALSE(CaptureDriverList::addAt(10, brooktree));
    EXPECT_EQ(CaptureDriverList::create(10), nullptr);

    // The card's driver takes the first free slot; a full list takes no more.
    EXPECT_EQ(registerCaptureDriver(), 0u);
    EXPECT_EQ(CaptureDriverList::add(CaptureDriverList::Factory{}), std::nullopt);
    for (std::size_t slot = 1; slot < 9; ++slot) EXPECT_EQ(CaptureDriverList::add(brooktree), slot);
    EXPECT_EQ(registerCaptureDriver(), std::nullopt);
    CaptureDriverList::remove(4);
    EXPECT_FALSE(CaptureDriverList::describe(4).has_value());
    EXPECT_EQ(registerCaptureDriver(), 4u);
}

}  // namespace
}  // namespace kelto::cardsim::test

namespace kelto::cardsim::test {
namespace {

// Sound read in two blocks equals the same stretch read in one, also at present-day dates,
// where microseconds since 1970 times the sample rate no longer fit 64 bits.
TEST(SoundTimingTest, BlocksJoinWithoutASlipAtPresentDates) {
    const auto start = std::chrono::system_clock::time_point(std::chrono::seconds(1'796'000'000)) +
                       std::chrono::microseconds(123'457);
    const SoundScene scene{false, 440, SoundMode::Stereo, 0.0, nullptr};
    std::vector<std::int16_t> whole(2 * 4800), first(2 * 2400), second(2 * 2400);
    ASSERT_TRUE(SoundSynthesizer::render(scene, start, 48000, 2, whole));
    ASSERT_TRUE(SoundSynthesizer::render(scene, start, 48000, 2, first));
    ASSERT_TRUE(SoundSynthesizer::render(scene, start + std::chrono::milliseconds(50), 48000, 2, second));
    first.insert(first.end(), second.begin(), second.end());
    EXPECT_EQ(first, whole);
    EXPECT_EQ(SoundSynthesizer::sampleIndexAt(start, 48000), 86'208'000'005'925ull);
}

}  // namespace
}  // namespace kelto::cardsim::test
