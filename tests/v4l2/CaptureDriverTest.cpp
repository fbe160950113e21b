// The V4L2 capture driver over the in-memory bttv card: formats, streaming and conversion, the
// standard from the country, a recording FFmpeg decodes, and a card that vanishes mid-stream.
#include "v4l2/FakeBttvDevice.h"
#include "v4l2/V4l2Card.h"
#include "v4l2/V4l2CaptureDriver.h"

#include "capture/SequenceCapture.h"
#include "platform/Clock.h"
#include "platform/SystemInfo.h"
#include "tests/capture/MediaProbe.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

namespace kelto::v4l2 {
namespace {

struct CaptureDriverTest : ::testing::Test {
    void SetUp() override {
        platform::setClock(&clock);
        platform::setUserLocaleCountryOverride(std::string("49"));
        useCardNow();
    }
    void TearDown() override {
        driver.close();
        kelto::v4l2::test::resetCard();
        platform::clearUserLocaleCountryOverride();
        platform::setClock(nullptr);
    }
    void useCardNow() {
        V4l2CardConfig config;
        config.useV4l2 = true;
        kelto::v4l2::test::useCard(config, opener);
    }
    std::vector<std::uint8_t> grab() {
        std::vector<std::uint8_t> picture(driver.frameFormat().imageBytes());
        EXPECT_TRUE(driver.grabFrame(picture, std::nullopt)) << driver.lastError();
        return picture;
    }
    // B, G, R of the pixel at (x, y).
    std::vector<int> pixel(const std::vector<std::uint8_t>& picture, std::uint32_t x, std::uint32_t y) const {
        const auto f = driver.frameFormat();
        const std::uint8_t* p = picture.data() + std::size_t(y) * f.bytesPerRow() + std::size_t(x) * (f.bitsPerPixel / 8);
        return {p[0], p[1], p[2]};
    }

    platform::VirtualClock clock{std::chrono::system_clock::time_point(std::chrono::hours(24 * 365 * 30))};
    FakeBttvCard card;
    FakeDeviceOpener opener{{&card}};
    V4l2CaptureDriver driver;
    kelto::test::TemporaryFolder folder;
};

TEST_F(CaptureDriverTest, TheStandardComesFromTheCountry) {
    struct Case {
        const char* country;
        v4l2_std_id standard;
        double framesPerSecond;
    } cases[] = {{"49", V4L2_STD_PAL_BG, 25.0}, {"44", V4L2_STD_PAL_I, 25.0}, {"33", V4L2_STD_SECAM_L, 25.0},
                 {"1", V4L2_STD_NTSC_M, 30000.0 / 1001.0}, {"55", V4L2_STD_PAL_M, 30000.0 / 1001.0}};
    for (const Case& c : cases) {
        platform::setUserLocaleCountryOverride(std::string(c.country));
        ASSERT_TRUE(driver.open()) << driver.lastError();
        EXPECT_EQ(card.standard, c.standard) << c.country;
        EXPECT_DOUBLE_EQ(driver.framesPerSecond(), c.framesPerSecond) << c.country;
        driver.close();
    }
    EXPECT_EQ(driver.description().name, drivers::kBrooktreeCaptureDriverName);
}

TEST_F(CaptureDriverTest, PicturesArriveInTheAskedSizeAndDepthWhateverTheDeviceDelivers) {
    ASSERT_TRUE(driver.open()) << driver.lastError();
    ASSERT_TRUE(driver.setFrameFormat({320, 240, 24}));
    EXPECT_EQ(driver.deviceFormat().pixelformat, std::uint32_t(V4L2_PIX_FMT_BGR24));
    auto picture = grab();
    EXPECT_EQ(pixel(picture, 0, 10), (std::vector<int>{255, 255, 255})) << "white";
    EXPECT_EQ(pixel(picture, 50, 10), (std::vector<int>{0, 255, 255})) << "yellow";
    EXPECT_EQ(pixel(picture, 319, 239), (std::vector<int>{0, 0, 0})) << "black";

    ASSERT_TRUE(driver.setFrameFormat({160, 120, 32}));
    EXPECT_EQ(driver.deviceFormat().pixelformat, std::uint32_t(V4L2_PIX_FMT_BGR32));
    clock.advanceMs(40);
    picture = grab();
    EXPECT_EQ(pixel(picture, 70, 60), (std::vector<int>{0, 255, 0})) << "green";
    EXPECT_EQ(picture[3], 0xFF);

    EXPECT_FALSE(driver.setFrameFormat({800, 600, 24}));
    EXPECT_FALSE(driver.setFrameFormat({320, 240, 16}));
    EXPECT_EQ(driver.frameFormat(), (drivers::FrameFormat{160, 120, 32}));
}

// A card that offers only YUYV.
class YuyvOnlyCard final : public DeviceOpener {
public:
    explicit YuyvOnlyCard(FakeBttvCard& card) : inner_({&card}) {}
    std::unique_ptr<VideoDevice> open(const std::string& path, int& error) override {
        auto device = inner_.open(path, error);
        return device ? std::make_unique<Filter>(std::move(device)) : nullptr;
    }
    std::vector<std::string> devicePaths(DeviceKind kind) override { return inner_.devicePaths(kind); }

private:
    struct Filter final : VideoDevice {
        explicit Filter(std::unique_ptr<VideoDevice> d) : inner(std::move(d)) {}
        int ioctl(unsigned long request, void* argument) override {
            if (request == VIDIOC_ENUM_FMT) {
                auto& d = *static_cast<v4l2_fmtdesc*>(argument);
                if (d.index > 0) return -EINVAL;
                d.index = 2;
                const int r = inner->ioctl(request, argument);
                d.index = 0;
                return r;
            }
            return inner->ioctl(request, argument);
        }
        void* mmap(std::size_t l, std::int64_t o) override { return inner->mmap(l, o); }
        int munmap(void* a, std::size_t l) override { return inner->munmap(a, l); }
        int poll(int t) override { return inner->poll(t); }
        std::unique_ptr<VideoDevice> inner;
    };
    FakeDeviceOpener inner_;
};

TEST_F(CaptureDriverTest, YuyvPicturesAreConvertedToColour) {
    YuyvOnlyCard yuyv(card);
    V4l2CardConfig config;
    config.useV4l2 = true;
    kelto::v4l2::test::useCard(config, yuyv);
    ASSERT_TRUE(driver.setFrameFormat({640, 480, 24}));
    ASSERT_TRUE(driver.open()) << driver.lastError();
    EXPECT_EQ(driver.deviceFormat().pixelformat, std::uint32_t(V4L2_PIX_FMT_YUYV));
    const auto picture = grab();
    auto near = [](std::vector<int> got, std::vector<int> want) {
        for (std::size_t i = 0; i < 3; ++i)
            if (std::abs(got[i] - want[i]) > 3) return false;
        return true;
    };
    EXPECT_TRUE(near(pixel(picture, 10, 10), {255, 255, 255}));
    EXPECT_TRUE(near(pixel(picture, 250, 10), {0, 255, 0})) << "green";
    EXPECT_TRUE(near(pixel(picture, 440, 10), {0, 0, 255})) << "red";
    EXPECT_TRUE(near(pixel(picture, 500, 10), {255, 0, 0})) << "blue";
}

TEST_F(CaptureDriverTest, AFrozenPictureIsKeptWhileNewOnesArrive) {
    ASSERT_TRUE(driver.open());
    grab();
    const std::uint32_t taken = card.sequence;
    CardLock()->frozen = true;
    clock.advanceMs(200);
    grab();
    EXPECT_EQ(card.sequence, taken) << "nothing new taken while frozen";
    CardLock()->frozen = false;
    grab();
    EXPECT_GT(card.sequence, taken);
}

TEST_F(CaptureDriverTest, StreamedPicturesMakeARecordingThatFfmpegDecodes) {
    platform::setUserLocaleCountryOverride(std::string("1"));
    ASSERT_TRUE(driver.setFrameFormat({320, 240, 24}));
    ASSERT_TRUE(driver.open()) << driver.lastError();
    capture::SequenceRequest request;
    request.file = folder / "card.avi";
    request.setup.requestMicroSecPerFrame = capture::framePeriodUsFromRate(30);
    request.setup.limitEnabled = 1;
    request.setup.timeLimitSeconds = 1;
    const capture::SequenceResult result = capture::runSequenceCapture(driver, request);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.pictures, 31u);  // the moments 0 .. 30 x 33333 us lie before 1 s
    EXPECT_GE(card.sequence, 29u) << "pictures came from the stream";

    const auto probe = capture::test::probeMedia(request.file);
    ASSERT_TRUE(probe.opened);
    EXPECT_EQ(probe.width, 320);
    EXPECT_EQ(probe.height, 240);
    EXPECT_EQ(probe.decodedFrames, 31);
    // White at the top left, within what JPEG compression changes.
    EXPECT_GE(probe.topLeftRgb & 0xFF, 0xF0u);
    EXPECT_GE((probe.topLeftRgb >> 16) & 0xFF, 0xF0u);
}

TEST_F(CaptureDriverTest, ACardThatVanishesMidStreamEndsTheRecordingWithAClearMessage) {
    ASSERT_TRUE(driver.setFrameFormat({160, 120, 24}));
    ASSERT_TRUE(driver.open()) << driver.lastError();
    capture::SequenceRequest request;
    request.file = folder / "gone.avi";
    request.setup.requestMicroSecPerFrame = capture::framePeriodUsFromRate(25);
    request.setup.limitEnabled = 1;
    request.setup.timeLimitSeconds = 2;
    request.pictureObserver = [this](std::uint32_t index) {
        if (index == 5) card.vanish();
    };
    const capture::SequenceResult result = capture::runSequenceCapture(driver, request);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.pictures, 6u);
    EXPECT_EQ(result.error, "the card's video device /dev/video0 is gone (no such device)");
    EXPECT_FALSE(driver.isOpen());
    std::vector<std::uint8_t> picture(driver.frameFormat().imageBytes());
    EXPECT_FALSE(driver.grabFrame(picture, std::nullopt));
    // The card back: the driver opens again.
    card.vanish(false);
    ASSERT_TRUE(driver.open()) << driver.lastError();
    grab();

    card.vanish();
    driver.close();
    EXPECT_FALSE(driver.open());
    EXPECT_NE(driver.lastError().find("cannot be opened"), std::string::npos) << driver.lastError();
}

}  // namespace
}  // namespace kelto::v4l2
