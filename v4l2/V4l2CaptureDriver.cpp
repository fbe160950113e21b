#include "v4l2/V4l2CaptureDriver.h"

#include "v4l2/V4l2Card.h"

#include "platform/SystemInfo.h"
#include "platform/Trace.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace kelto::v4l2 {

namespace {

constexpr std::uint32_t kMinWidth = 80, kMaxWidth = 640, kMinHeight = 60, kMaxHeight = 480;

struct CountryStandard {
    int country;
    v4l2_std_id standard;
};
// Countries whose standard is not PAL B/G (by dialling code); others with 625 lines use PAL B/G.
constexpr CountryStandard kCountryStandards[] = {
    {1, V4L2_STD_NTSC_M},     {52, V4L2_STD_NTSC_M},    {82, V4L2_STD_NTSC_M},     {886, V4L2_STD_NTSC_M},
    {63, V4L2_STD_NTSC_M},    {95, V4L2_STD_NTSC_M},    {57, V4L2_STD_NTSC_M},     {56, V4L2_STD_NTSC_M},
    {51, V4L2_STD_NTSC_M},    {58, V4L2_STD_NTSC_M},    {81, V4L2_STD_NTSC_M_JP},  {55, V4L2_STD_PAL_M},
    {54, V4L2_STD_PAL_Nc},    {595, V4L2_STD_PAL_N},    {598, V4L2_STD_PAL_N},     {44, V4L2_STD_PAL_I},
    {353, V4L2_STD_PAL_I},    {852, V4L2_STD_PAL_I},    {853, V4L2_STD_PAL_I},     {27, V4L2_STD_PAL_I},
    {33, V4L2_STD_SECAM_L},   {7, V4L2_STD_SECAM_DK},   {380, V4L2_STD_SECAM_DK},  {375, V4L2_STD_SECAM_DK},
    {86, V4L2_STD_PAL_DK},    {48, V4L2_STD_PAL_DK},    {420, V4L2_STD_PAL_DK},    {421, V4L2_STD_PAL_DK},
    {36, V4L2_STD_PAL_DK},    {40, V4L2_STD_PAL_DK},    {359, V4L2_STD_PAL_DK},
};

std::uint8_t clampByte(int value) { return std::uint8_t(std::clamp(value, 0, 255)); }

// Studio-range BT.601 to RGB.
void yuvToRgb(int y, int u, int v, std::uint8_t rgb[3]) {
    const int c = 298 * (y - 16), d = u - 128, e = v - 128;
    rgb[0] = clampByte((c + 409 * e + 128) >> 8);
    rgb[1] = clampByte((c - 100 * d - 208 * e + 128) >> 8);
    rgb[2] = clampByte((c + 516 * d + 128) >> 8);
}

bool readable(std::uint32_t pixelFormat) {
    return pixelFormat == V4L2_PIX_FMT_BGR24 || pixelFormat == V4L2_PIX_FMT_BGR32 || pixelFormat == V4L2_PIX_FMT_RGB24 ||
           pixelFormat == V4L2_PIX_FMT_YUYV;
}

}  // namespace

std::optional<std::size_t> registerCaptureDriver() {
    return drivers::CaptureDriverList::add([] { return std::make_unique<V4l2CaptureDriver>(); });
}

v4l2_std_id standardForCountry(int countryCode) {
    for (const CountryStandard& entry : kCountryStandards)
        if (entry.country == countryCode) return entry.standard;
    return V4L2_STD_PAL_BG;
}

V4l2CaptureDriver::~V4l2CaptureDriver() { close(); }

drivers::CaptureDriverDescription V4l2CaptureDriver::description() const {
    return {drivers::kBrooktreeCaptureDriverName, kVersion};
}

int V4l2CaptureDriver::call(unsigned long request, void* argument) {
    if (!device_) return -ENODEV;
    const int r = device_->ioctl(request, argument);
    if (r == -ENODEV) fail("the card's video device " + devicePath_ + " is gone (no such device)");
    return r;
}

bool V4l2CaptureDriver::fail(std::string why) {
    if (!why.empty() && why != lastError_) platform::tracef("video capture: %s", why.c_str());
    lastError_ = std::move(why);
    stopStreaming();
    device_.reset();
    sound_.reset();
    return false;
}

bool V4l2CaptureDriver::open() {
    if (device_) return true;
    DeviceOpener* opener = nullptr;
    V4l2CardConfig config;
    {
        CardLock card;
        config = card->config();
        devicePath_ = config.devicePath;
        opener = &card->opener();
    }
    int error = 0;
    device_ = opener->open(devicePath_, error);
    if (!device_) return fail("the card's video device " + devicePath_ + " cannot be opened: " + std::strerror(error));
    v4l2_capability caps{};
    if (call(VIDIOC_QUERYCAP, &caps) != 0) return fail(lastError_.empty() ? devicePath_ + " is not a video device" : lastError_);
    const std::uint32_t deviceCaps = (caps.capabilities & V4L2_CAP_DEVICE_CAPS) ? caps.device_caps : caps.capabilities;
    if (!(deviceCaps & V4L2_CAP_VIDEO_CAPTURE) || !(deviceCaps & V4L2_CAP_STREAMING))
        return fail(devicePath_ + " cannot stream pictures");
    v4l2_std_id standard = standardForCountry(platform::userCountryCode());
    if (call(VIDIOC_S_STD, &standard) != 0 && !device_) return false;
    v4l2_std_id now = 0;
    if (call(VIDIOC_G_STD, &now) == 0) fiveTwentyFiveLines_ = (now & V4L2_STD_525_60) != 0;
    lastError_.clear();
    havePicture_ = false;
    if (!startStreaming(format_)) return false;
    // The card's sound: without its device (or when it cannot be opened) the pictures come alone.
    if (const std::string soundDevice = cardSoundDevice(config); !soundDevice.empty()) {
        sound_ = std::make_unique<CardSound>(soundDevice);
        if (!sound_->start(soundFormat_)) sound_.reset();
    }
    return true;
}

void V4l2CaptureDriver::close() {
    stopStreaming();
    device_.reset();
    sound_.reset();
}

bool V4l2CaptureDriver::setSoundFormat(const drivers::SoundFormat& format) {
    if (format.sampleRateHz < 8000 || format.sampleRateHz > 48000 || (format.channels != 1 && format.channels != 2) ||
        format.bitsPerSample != 16)
        return false;
    if (sound_ && format != soundFormat_ && !sound_->start(format)) {
        sound_->start(soundFormat_);
        return false;
    }
    soundFormat_ = format;
    return true;
}

bool V4l2CaptureDriver::readSound(std::chrono::system_clock::time_point start, std::span<std::int16_t> buffer) {
    if (!device_ || !sound_) return false;
    sound_->read(start, buffer);
    return true;
}

void V4l2CaptureDriver::stopStreaming() {
    if (device_ && !buffers_.empty()) {
        int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        device_->ioctl(VIDIOC_STREAMOFF, &type);
    }
    for (const Mapped& m : buffers_)
        if (device_ && m.address) device_->munmap(m.address, m.length);
    buffers_.clear();
    if (device_) {
        v4l2_requestbuffers none{};
        none.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        none.memory = V4L2_MEMORY_MMAP;
        device_->ioctl(VIDIOC_REQBUFS, &none);
    }
}

bool V4l2CaptureDriver::startStreaming(const drivers::FrameFormat& format) {
    // The offered formats, ours in order of preference.
    std::vector<std::uint32_t> offered;
    for (std::uint32_t i = 0; i < 64; ++i) {
        v4l2_fmtdesc d{};
        d.index = i;
        d.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        if (call(VIDIOC_ENUM_FMT, &d) != 0) break;
        offered.push_back(d.pixelformat);
    }
    if (!device_) return false;
    const std::uint32_t sameDepth = format.bitsPerPixel == 32 ? V4L2_PIX_FMT_BGR32 : V4L2_PIX_FMT_BGR24;
    std::optional<std::uint32_t> chosen;
    for (const std::uint32_t wanted : {sameDepth, V4L2_PIX_FMT_BGR24, V4L2_PIX_FMT_BGR32, V4L2_PIX_FMT_RGB24, V4L2_PIX_FMT_YUYV})
        if (!chosen && std::find(offered.begin(), offered.end(), wanted) != offered.end()) chosen = wanted;
    if (!chosen) return fail(devicePath_ + " offers no picture format KeltoTV reads (BGR24, BGR32, RGB24, YUYV)");

    v4l2_format f{};
    f.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    f.fmt.pix.width = format.width;
    f.fmt.pix.height = format.height;
    f.fmt.pix.pixelformat = *chosen;
    f.fmt.pix.field = V4L2_FIELD_ANY;
    if (call(VIDIOC_S_FMT, &f) != 0 || !readable(f.fmt.pix.pixelformat) || f.fmt.pix.width == 0 || f.fmt.pix.height == 0)
        return fail(lastError_.empty() ? devicePath_ + " refuses the picture format" : lastError_);
    source_ = f.fmt.pix;
    const std::uint32_t bytesPerPixel = source_.pixelformat == V4L2_PIX_FMT_BGR32 ? 4 : source_.pixelformat == V4L2_PIX_FMT_YUYV ? 2 : 3;
    if (source_.bytesperline < source_.width * bytesPerPixel) source_.bytesperline = source_.width * bytesPerPixel;

    v4l2_requestbuffers request{};
    request.count = kBufferCount;
    request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    request.memory = V4L2_MEMORY_MMAP;
    if (call(VIDIOC_REQBUFS, &request) != 0 || request.count == 0)
        return fail(lastError_.empty() ? devicePath_ + " gives no streaming buffers" : lastError_);
    for (std::uint32_t i = 0; i < request.count; ++i) {
        v4l2_buffer b{};
        b.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        b.memory = V4L2_MEMORY_MMAP;
        b.index = i;
        if (call(VIDIOC_QUERYBUF, &b) != 0) return fail(lastError_.empty() ? devicePath_ + ": a buffer cannot be had" : lastError_);
        void* address = device_->mmap(b.length, b.m.offset);
        if (!address) return fail(devicePath_ + ": a buffer cannot be mapped");
        buffers_.push_back({address, b.length});
        if (std::size_t(source_.bytesperline) * source_.height > b.length) return fail(devicePath_ + ": buffers too small");
        if (call(VIDIOC_QBUF, &b) != 0) return fail(lastError_.empty() ? devicePath_ + ": a buffer cannot be queued" : lastError_);
    }
    int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (call(VIDIOC_STREAMON, &type) != 0) return fail(lastError_.empty() ? devicePath_ + " does not start streaming" : lastError_);
    format_ = format;
    picture_.assign(format_.imageBytes(), 0);
    havePicture_ = false;
    return true;
}

bool V4l2CaptureDriver::setFrameFormat(const drivers::FrameFormat& format) {
    if (format.width < kMinWidth || format.width > kMaxWidth || format.height < kMinHeight || format.height > kMaxHeight ||
        (format.bitsPerPixel != 24 && format.bitsPerPixel != 32))
        return false;
    if (!device_) {
        format_ = format;
        return true;
    }
    stopStreaming();
    return startStreaming(format);
}

double V4l2CaptureDriver::framesPerSecond() const { return fiveTwentyFiveLines_ ? 30000.0 / 1001.0 : 25.0; }

std::uint32_t V4l2CaptureDriver::microsecondsPerFrame() const {
    return std::uint32_t(std::lround(1'000'000.0 / framesPerSecond()));
}

void V4l2CaptureDriver::convert(const std::uint8_t* source) {
    const std::uint32_t width = format_.width, height = format_.height;
    const std::uint32_t outBytes = format_.bitsPerPixel / 8, stride = format_.bytesPerRow();
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* row = source + std::size_t(y * source_.height / height) * source_.bytesperline;
        std::uint8_t* out = picture_.data() + std::size_t(y) * stride;
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint32_t sx = x * source_.width / width;
            std::uint8_t rgb[3];
            switch (source_.pixelformat) {
            case V4L2_PIX_FMT_BGR24: rgb[0] = row[sx * 3 + 2], rgb[1] = row[sx * 3 + 1], rgb[2] = row[sx * 3]; break;
            case V4L2_PIX_FMT_BGR32: rgb[0] = row[sx * 4 + 2], rgb[1] = row[sx * 4 + 1], rgb[2] = row[sx * 4]; break;
            case V4L2_PIX_FMT_RGB24: rgb[0] = row[sx * 3], rgb[1] = row[sx * 3 + 1], rgb[2] = row[sx * 3 + 2]; break;
            default: {
                const std::uint8_t* pair = row + (sx & ~1u) * 2;
                yuvToRgb(pair[(sx & 1) ? 2 : 0], pair[1], pair[3], rgb);
            }
            }
            std::uint8_t* pixel = out + std::size_t(x) * outBytes;
            pixel[0] = rgb[2];
            pixel[1] = rgb[1];
            pixel[2] = rgb[0];
            if (outBytes == 4) pixel[3] = 0xFF;
        }
    }
}

bool V4l2CaptureDriver::takeFilledPictures(bool wait) {
    bool took = false;
    // Never more than the buffers hold, so a device that always says "ready" cannot keep us here.
    for (std::size_t taken = 0; taken <= buffers_.size(); ++taken) {
        const int ready = device_->poll(wait && !took ? kFirstPictureWaitMs : 0);
        if (ready == -ENODEV) return fail("the card's video device " + devicePath_ + " is gone (no such device)");
        if (ready <= 0) return true;
        v4l2_buffer b{};
        b.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        b.memory = V4L2_MEMORY_MMAP;
        const int r = call(VIDIOC_DQBUF, &b);
        if (r == -EAGAIN) return true;
        if (r != 0) return device_ ? fail(devicePath_ + ": a picture cannot be taken: " + std::strerror(-r)) : false;
        if (b.index < buffers_.size() && !(b.flags & V4L2_BUF_FLAG_ERROR)) {
            convert(static_cast<const std::uint8_t*>(buffers_[b.index].address));
            havePicture_ = took = true;
        }
        if (call(VIDIOC_QBUF, &b) != 0) return device_ ? fail(devicePath_ + ": a buffer cannot be queued again") : false;
    }
    return true;
}

bool V4l2CaptureDriver::grabFrame(std::span<std::uint8_t> buffer, std::optional<std::chrono::system_clock::time_point>) {
    if (!device_ || buffer.size() < format_.imageBytes()) return false;
    // A frozen picture stays as it is.
    const bool frozen = CardLock()->frozen;
    if (!(frozen && havePicture_)) {
        if (!takeFilledPictures(!havePicture_)) return false;
        if (!havePicture_) {
            lastError_ = "the card's video device " + devicePath_ + " delivers no pictures";
            return false;
        }
    }
    std::memcpy(buffer.data(), picture_.data(), picture_.size());
    return true;
}

}  // namespace kelto::v4l2
