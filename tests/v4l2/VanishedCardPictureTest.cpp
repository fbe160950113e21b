// A card that vanishes while the live picture runs: the capture window says so over its last
// picture, once, the trace log keeps its line, nothing crashes, and pictures come back with the card.
#include "v4l2/FakeBttvDevice.h"
#include "v4l2/V4l2Card.h"
#include "v4l2/V4l2CaptureDriver.h"

#include "capture/CaptureWindowWidget.h"
#include "platform/Clock.h"
#include "platform/SystemInfo.h"
#include "platform/Trace.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

namespace kelto::v4l2 {
namespace {

struct VanishedCardPictureTest : ::testing::Test {
    void SetUp() override {
        platform::setClock(&clock);
        platform::setUserLocaleCountryOverride(std::string("49"));
        V4l2CardConfig config;
        config.useV4l2 = true;
        kelto::v4l2::test::useCard(config, opener);
        drivers::CaptureDriverList::clear();
        registerCaptureDriver();
    }
    void TearDown() override {
        widget.reset();
        drivers::CaptureDriverList::clear();
        kelto::v4l2::test::resetCard();
        platform::clearUserLocaleCountryOverride();
        platform::setClock(nullptr);
    }
    void nextFrame() {
        clock.advanceMs(40);
        widget->service().deliverLiveFrame();
    }
    static std::size_t count(const std::string& text, const std::string& part) {
        std::size_t n = 0;
        for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
        return n;
    }

    platform::VirtualClock clock{std::chrono::system_clock::time_point(std::chrono::hours(24 * 365 * 30))};
    FakeBttvCard card;
    FakeDeviceOpener opener{{&card}};
    std::unique_ptr<capture::CaptureWindowWidget> widget = std::make_unique<capture::CaptureWindowWidget>();
};

TEST_F(VanishedCardPictureTest, TheLivePictureSaysTheCardIsGoneOnce) {
    capture::CaptureService& service = widget->service();
    service.setFrameSink(widget.get());
    widget->resize(320, 240);
    ASSERT_EQ(service.driverConnect(0), 1);
    ASSERT_EQ(service.setOverlay(true), 1);
    nextFrame();
    ASSERT_FALSE(widget->currentPicture().isNull());
    EXPECT_TRUE(widget->troubleText().isEmpty());
    const std::uint64_t shown = widget->picturesPresented();

    card.vanish();
    for (int i = 0; i < 5; ++i) nextFrame();
    EXPECT_EQ(widget->picturesPresented(), shown);
    EXPECT_EQ(widget->troubleText().toStdString(), "the card's video device /dev/video0 is gone (no such device)");
    EXPECT_FALSE(widget->currentPicture().isNull()) << "the last picture stays under the message";
    const QImage painted = widget->grab().toImage();  // the message paints without trouble
    EXPECT_FALSE(painted.isNull());
    const std::string log = kelto::test::readFile(platform::traceLogPath());
    EXPECT_EQ(count(log, "capture: the live picture stops: the card's video device /dev/video0 is gone"), 1u) << log;
    EXPECT_GE(count(log, "/dev/video0"), 2u) << "the driver's own line stays";

    // Connected again with the card back, pictures return and the message goes.
    card.vanish(false);
    ASSERT_EQ(service.driverConnect(0), 1);
    ASSERT_EQ(service.setOverlay(true), 1);
    nextFrame();
    EXPECT_GT(widget->picturesPresented(), shown);
    EXPECT_TRUE(widget->troubleText().isEmpty());
}

}  // namespace
}  // namespace kelto::v4l2
