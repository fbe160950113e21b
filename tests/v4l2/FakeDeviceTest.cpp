// The device interface: the in-memory bttv card that the other tests stand on, and the system
// implementation where it can be tried without a card.
#include "v4l2/FakeBttvDevice.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace kelto::v4l2 {
namespace {

struct FakeDeviceTest : ::testing::Test {
    FakeBttvCard card;
    FakeDeviceOpener opener{{&card}};
    std::unique_ptr<VideoDevice> device;

    void SetUp() override {
        int error = -1;
        device = opener.open("/dev/video0", error);
        ASSERT_NE(device, nullptr);
        EXPECT_EQ(error, 0);
    }
    template <typename T>
    int call(unsigned long request, T& argument) { return device->ioctl(request, &argument); }
};

TEST_F(FakeDeviceTest, AnswersAsBttvWithTunerCompositeAndSVideoInputs) {
    v4l2_capability caps{};
    ASSERT_EQ(call(VIDIOC_QUERYCAP, caps), 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(caps.driver), "bttv");
    EXPECT_TRUE(caps.device_caps & V4L2_CAP_TUNER);
    EXPECT_TRUE(caps.device_caps & V4L2_CAP_STREAMING);

    std::vector<std::pair<std::string, std::uint32_t>> inputs;
    for (v4l2_input in{}; call(VIDIOC_ENUMINPUT, in) == 0; in = v4l2_input{}, in.index = std::uint32_t(inputs.size()))
        inputs.emplace_back(reinterpret_cast<const char*>(in.name), in.type);
    ASSERT_EQ(inputs.size(), 3u);
    EXPECT_EQ(inputs[0], std::make_pair(std::string("Television"), std::uint32_t(V4L2_INPUT_TYPE_TUNER)));
    EXPECT_EQ(inputs[1], std::make_pair(std::string("Composite1"), std::uint32_t(V4L2_INPUT_TYPE_CAMERA)));
    EXPECT_EQ(inputs[2], std::make_pair(std::string("S-Video"), std::uint32_t(V4L2_INPUT_TYPE_CAMERA)));

    int input = 3;
    EXPECT_EQ(call(VIDIOC_S_INPUT, input), -EINVAL);
    input = 2;
    EXPECT_EQ(call(VIDIOC_S_INPUT, input), 0);
    EXPECT_EQ(card.input, 2u);

    v4l2_std_id pal = V4L2_STD_PAL_B;
    EXPECT_EQ(call(VIDIOC_S_STD, pal), 0);
    EXPECT_EQ(card.standard, V4L2_STD_PAL_BG);
}

TEST_F(FakeDeviceTest, ControlsAreClampedAndRoundedToTheirStepUnknownOnesRefused) {
    v4l2_queryctrl range{};
    range.id = V4L2_CID_CONTRAST;
    ASSERT_EQ(call(VIDIOC_QUERYCTRL, range), 0);
    EXPECT_EQ(range.maximum, 65535);
    EXPECT_EQ(range.step, 256);
    v4l2_control set{V4L2_CID_CONTRAST, 70000};
    EXPECT_EQ(call(VIDIOC_S_CTRL, set), 0);
    EXPECT_EQ(card.control(V4L2_CID_CONTRAST), 65535);
    set = {V4L2_CID_BRIGHTNESS, 1000};
    EXPECT_EQ(call(VIDIOC_S_CTRL, set), 0);
    EXPECT_EQ(card.control(V4L2_CID_BRIGHTNESS), 1024);
    v4l2_control unknown{V4L2_CID_GAMMA, 1};
    EXPECT_EQ(call(VIDIOC_S_CTRL, unknown), -EINVAL);
}

TEST_F(FakeDeviceTest, TheSignalFollowsTheTunedFrequencyAndTheTunerInput) {
    card.stations = {{55'250'000, 0xFFFF, V4L2_TUNER_SUB_STEREO}};
    v4l2_frequency f{};
    f.type = V4L2_TUNER_ANALOG_TV;
    f.frequency = 884;  // 55.25 MHz in 62.5 kHz units
    ASSERT_EQ(call(VIDIOC_S_FREQUENCY, f), 0);
    v4l2_tuner t{};
    ASSERT_EQ(call(VIDIOC_G_TUNER, t), 0);
    EXPECT_EQ(t.signal, 0xFFFF);
    EXPECT_EQ(t.rxsubchans, std::uint32_t(V4L2_TUNER_SUB_STEREO));

    f.frequency = 884 + FakeBttvCard::kReceptionUnits + 1;
    ASSERT_EQ(call(VIDIOC_S_FREQUENCY, f), 0);
    t = {};
    ASSERT_EQ(call(VIDIOC_G_TUNER, t), 0);
    EXPECT_EQ(t.signal, 0);

    f.frequency = 884;
    call(VIDIOC_S_FREQUENCY, f);
    int composite = 1;
    call(VIDIOC_S_INPUT, composite);
    t = {};
    call(VIDIOC_G_TUNER, t);
    EXPECT_EQ(t.signal, 0) << "the tuner is not the input shown";
}

struct Mapped {
    void* address;
    std::size_t length;
};

TEST_F(FakeDeviceTest, StreamingBuffersCarryTheColourBars) {
    for (const std::uint32_t pixelFormat : {V4L2_PIX_FMT_BGR24, V4L2_PIX_FMT_YUYV}) {
        v4l2_format format{};
        format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        format.fmt.pix.width = 640;
        format.fmt.pix.height = 480;
        format.fmt.pix.pixelformat = pixelFormat;
        ASSERT_EQ(call(VIDIOC_S_FMT, format), 0);
        v4l2_requestbuffers request{};
        request.count = 4;
        request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        request.memory = V4L2_MEMORY_MMAP;
        ASSERT_EQ(call(VIDIOC_REQBUFS, request), 0);
        ASSERT_EQ(request.count, 4u);
        std::vector<Mapped> buffers;
        for (std::uint32_t i = 0; i < request.count; ++i) {
            v4l2_buffer b{};
            b.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
            b.memory = V4L2_MEMORY_MMAP;
            b.index = i;
            ASSERT_EQ(call(VIDIOC_QUERYBUF, b), 0);
            buffers.push_back({device->mmap(b.length, b.m.offset), b.length});
            ASSERT_NE(buffers.back().address, nullptr);
            ASSERT_EQ(call(VIDIOC_QBUF, b), 0);
        }
        int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        ASSERT_EQ(call(VIDIOC_STREAMON, type), 0);
        EXPECT_EQ(device->poll(0), 1);
        v4l2_buffer b{};
        b.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        b.memory = V4L2_MEMORY_MMAP;
        ASSERT_EQ(call(VIDIOC_DQBUF, b), 0);
        EXPECT_EQ(b.bytesused, format.fmt.pix.sizeimage);
        const auto* bytes = static_cast<const std::uint8_t*>(buffers[b.index].address);
        const std::size_t row = std::size_t(format.fmt.pix.bytesperline) * 100;
        if (pixelFormat == V4L2_PIX_FMT_BGR24) {
            // Second bar yellow, third cyan: B, G, R bytes.
            const std::uint8_t* yellow = bytes + row + 100 * 3;
            EXPECT_EQ(std::vector<int>(yellow, yellow + 3), (std::vector<int>{0, 255, 255}));
            const std::uint8_t* cyan = bytes + row + 200 * 3;
            EXPECT_EQ(std::vector<int>(cyan, cyan + 3), (std::vector<int>{255, 255, 0}));
        } else {
            EXPECT_EQ(bytes[row], 235) << "white luma";
            EXPECT_EQ(bytes[row + 639 * 2], 16) << "black luma";
        }
        EXPECT_EQ(call(VIDIOC_STREAMOFF, type), 0);
        for (const Mapped& m : buffers) EXPECT_EQ(device->munmap(m.address, m.length), 0);
        request.count = 0;
        ASSERT_EQ(call(VIDIOC_REQBUFS, request), 0);
    }
}

TEST_F(FakeDeviceTest, AVanishedCardFailsEveryCallWithNoDevice) {
    card.vanish();
    v4l2_capability caps{};
    EXPECT_EQ(call(VIDIOC_QUERYCAP, caps), -ENODEV);
    EXPECT_EQ(device->poll(0), -ENODEV);
    int error = 0;
    EXPECT_EQ(opener.open("/dev/video0", error), nullptr);
    EXPECT_EQ(error, ENODEV);
    EXPECT_TRUE(opener.devicePaths(DeviceKind::Video).empty());
    card.vanish(false);
    EXPECT_EQ(call(VIDIOC_QUERYCAP, caps), 0);
}

TEST(SystemDeviceTest, AMissingDeviceIsAnErrorNotACrash) {
    int error = 0;
    EXPECT_EQ(systemDeviceOpener().open("/nonexistent/video77", error), nullptr);
    EXPECT_EQ(error, ENOENT);
    for (const std::string& path : systemDeviceOpener().devicePaths(DeviceKind::Video)) EXPECT_TRUE(path.starts_with("/dev/video"));
    for (const std::string& path : systemDeviceOpener().devicePaths(DeviceKind::Radio)) EXPECT_TRUE(path.starts_with("/dev/radio"));
}

}  // namespace
}  // namespace kelto::v4l2
