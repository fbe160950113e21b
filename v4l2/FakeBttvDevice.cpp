#include "v4l2/FakeBttvDevice.h"

#include "platform/Clock.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace kelto::v4l2 {

namespace {

constexpr std::uint32_t kUnitHz = 62'500;
constexpr std::uint32_t kLowestUnits = 44 * 16;   // 44 MHz
constexpr std::uint32_t kHighestUnits = 958 * 16; // 958 MHz
constexpr std::uint32_t kMaxWidth = 768, kMaxHeight = 576, kMinWidth = 48, kMinHeight = 32;
constexpr std::uint32_t kPageBytes = 4096;

struct InputMade {
    const char* name;
    std::uint32_t type;
};

std::vector<InputMade> inputsOf(const FakeBttvCard& card) {
    std::vector<InputMade> list;
    if (card.radio) return list;
    if (card.hasTuner) list.push_back({"Television", V4L2_INPUT_TYPE_TUNER});
    list.push_back({"Composite1", V4L2_INPUT_TYPE_CAMERA});
    list.push_back({"S-Video", V4L2_INPUT_TYPE_CAMERA});
    return list;
}

const char* const kAudioInputs[] = {"Television", "Line"};

struct StandardMade {
    v4l2_std_id id;
    const char* name;
    std::uint32_t lines;
};
constexpr StandardMade kStandards[] = {
    {V4L2_STD_NTSC_M, "NTSC", 525},   {V4L2_STD_NTSC_M_JP, "NTSC-JP", 525}, {V4L2_STD_PAL_BG, "PAL-BG", 625},
    {V4L2_STD_PAL_I, "PAL-I", 625},   {V4L2_STD_PAL_DK, "PAL-DK", 625},     {V4L2_STD_PAL_M, "PAL-M", 525},
    {V4L2_STD_PAL_N, "PAL-N", 625},   {V4L2_STD_PAL_Nc, "PAL-Nc", 625},     {V4L2_STD_SECAM_L, "SECAM-L", 625},
    {V4L2_STD_SECAM_DK, "SECAM-DK", 625}};

std::uint32_t bytesPerPixel(std::uint32_t pixelFormat) {
    switch (pixelFormat) {
    case V4L2_PIX_FMT_BGR24: return 3;
    case V4L2_PIX_FMT_BGR32: return 4;
    case V4L2_PIX_FMT_YUYV: return 2;
    default: return 0;
    }
}

constexpr std::uint32_t kFormats[] = {V4L2_PIX_FMT_BGR24, V4L2_PIX_FMT_BGR32, V4L2_PIX_FMT_YUYV};

void copyName(std::uint8_t* field, std::size_t size, const std::string& text) {
    std::memset(field, 0, size);
    std::memcpy(field, text.data(), std::min(size - 1, text.size()));
}

std::uint8_t clampByte(int v) { return std::uint8_t(std::clamp(v, 0, 255)); }

}  // namespace

FakeBttvCard::FakeBttvCard() {
    controls[V4L2_CID_BRIGHTNESS] = {"Brightness"};
    controls[V4L2_CID_CONTRAST] = {"Contrast", V4L2_CTRL_TYPE_INTEGER, 0, 65535, 256, 27648, 27648};
    controls[V4L2_CID_SATURATION] = {"Saturation"};
    controls[V4L2_CID_HUE] = {"Hue"};
    controls[V4L2_CID_AUDIO_MUTE] = {"Mute", V4L2_CTRL_TYPE_BOOLEAN, 0, 1, 1, 0, 0};
    format.width = 320;
    format.height = 240;
    format.pixelformat = V4L2_PIX_FMT_BGR24;
    format.field = V4L2_FIELD_INTERLACED;
    format.bytesperline = 320 * 3;
    format.sizeimage = 320 * 3 * 240;
    format.colorspace = V4L2_COLORSPACE_SMPTE170M;
}

const FakeStation* FakeBttvCard::receivedStation() const {
    if (radio) {
        for (const FakeStation& station : stations)
            if (std::llabs(std::int64_t(frequencyUnits) * 125 / 2 - std::int64_t(station.carrierHz)) <= kRadioReceptionHz)
                return &station;
        return nullptr;
    }
    if (!hasTuner || inputsOf(*this)[input].type != V4L2_INPUT_TYPE_TUNER) return nullptr;
    for (const FakeStation& station : stations) {
        const std::int64_t distance = std::int64_t(frequencyUnits) * kUnitHz - std::int64_t(station.carrierHz);
        if (std::llabs(distance) <= std::int64_t(kReceptionUnits) * kUnitHz) return &station;
    }
    return nullptr;
}

std::uint16_t FakeBttvCard::signal() const {
    const FakeStation* station = receivedStation();
    return station ? station->signal : 0;
}

void FakeBttvCard::barColour(std::uint32_t x, std::uint32_t width, std::uint8_t rgb[3]) {
    const std::uint32_t bar = width ? std::min<std::uint32_t>(7, x * 8 / width) : 0;
    // White, yellow, cyan, green, magenta, red, blue, black.
    rgb[0] = (bar == 0 || bar == 1 || bar == 4 || bar == 5) ? 255 : 0;
    rgb[1] = bar <= 3 ? 255 : 0;
    rgb[2] = (bar % 2 == 0 && bar != 7) ? 255 : 0;
    if (bar == 7) rgb[0] = rgb[1] = rgb[2] = 0;
}

std::uint64_t FakeBttvCard::picturesDue() const {
    if (!streaming) return 0;
    const std::uint64_t elapsedUs = std::uint64_t(std::uint32_t(platform::tickCountMs() - streamStartTickMs_)) * 1000;
    const std::uint64_t periodUs = (standard & V4L2_STD_525_60) ? 33'367 : 40'000;
    return elapsedUs / periodUs + 1;
}

int FakeBttvCard::pollReady() const {
    if (gone_) return -ENODEV;
    return streaming && !queue_.empty() && sequence < picturesDue() ? 1 : 0;
}

void* FakeBttvCard::map(std::size_t length, std::int64_t offset) {
    if (gone_) return nullptr;
    for (Buffer& buffer : buffers_)
        if (buffer.offset == offset && length <= buffer.bytes.size()) return buffer.bytes.data();
    return nullptr;
}

int FakeBttvCard::setFormat(v4l2_format& f, bool apply) {
    if (f.type != V4L2_BUF_TYPE_VIDEO_CAPTURE) return -EINVAL;
    v4l2_pix_format& p = f.fmt.pix;
    if (bytesPerPixel(p.pixelformat) == 0) p.pixelformat = V4L2_PIX_FMT_BGR24;
    p.width = std::clamp(p.width, kMinWidth, kMaxWidth) & ~1u;
    p.height = std::clamp(p.height, kMinHeight, kMaxHeight);
    p.field = p.height > kMaxHeight / 2 ? V4L2_FIELD_INTERLACED : V4L2_FIELD_BOTTOM;
    p.bytesperline = p.width * bytesPerPixel(p.pixelformat);
    p.sizeimage = p.bytesperline * p.height;
    p.colorspace = V4L2_COLORSPACE_SMPTE170M;
    if (apply) {
        if (!buffers_.empty()) return -EBUSY;
        format = p;
    }
    return 0;
}

void FakeBttvCard::fillPicture(Buffer& buffer) const {
    const std::uint32_t bpp = bytesPerPixel(format.pixelformat);
    for (std::uint32_t y = 0; y < format.height; ++y) {
        std::uint8_t* row = buffer.bytes.data() + std::size_t(y) * format.bytesperline;
        for (std::uint32_t x = 0; x < format.width; ++x) {
            std::uint8_t rgb[3];
            barColour(x, format.width, rgb);
            if (format.pixelformat == V4L2_PIX_FMT_YUYV) {
                // Studio-range BT.601: Y for every pixel, U and V shared by each pair.
                const int r = rgb[0], g = rgb[1], b = rgb[2];
                row[x * 2] = clampByte(16 + (66 * r + 129 * g + 25 * b + 128) / 256);
                row[x * 2 + 1] = x % 2 == 0 ? clampByte(128 + (-38 * r - 74 * g + 112 * b + 128) / 256)
                                            : clampByte(128 + (112 * r - 94 * g - 18 * b + 128) / 256);
                continue;
            }
            std::uint8_t* pixel = row + std::size_t(x) * bpp;
            pixel[0] = rgb[2];
            pixel[1] = rgb[1];
            pixel[2] = rgb[0];
            if (bpp == 4) pixel[3] = 0;
        }
    }
}

int FakeBttvCard::dequeue(v4l2_buffer& b) {
    if (b.type != V4L2_BUF_TYPE_VIDEO_CAPTURE || b.memory != V4L2_MEMORY_MMAP || !streaming) return -EINVAL;
    if (queue_.empty() || sequence >= picturesDue()) return -EAGAIN;
    const std::uint32_t index = queue_.front();
    queue_.pop_front();
    Buffer& buffer = buffers_[index];
    buffer.queued = false;
    fillPicture(buffer);
    b.index = index;
    b.bytesused = format.sizeimage;
    b.length = std::uint32_t(buffer.bytes.size());
    b.m.offset = buffer.offset;
    b.flags = V4L2_BUF_FLAG_MAPPED | V4L2_BUF_FLAG_DONE;
    b.field = format.field;
    b.sequence = sequence++;
    return 0;
}

int FakeBttvCard::handle(unsigned long request, void* argument) {
    if (gone_) return -ENODEV;
    const auto inputs = inputsOf(*this);
    switch (request) {
    case VIDIOC_QUERYCAP: {
        auto& c = *static_cast<v4l2_capability*>(argument);
        std::memset(&c, 0, sizeof c);
        copyName(c.driver, sizeof c.driver, "bttv");
        copyName(c.card, sizeof c.card, cardName);
        copyName(c.bus_info, sizeof c.bus_info, "PCI:0000:05:00.0");
        c.version = 0x00060100;
        c.device_caps = radio ? V4L2_CAP_RADIO | V4L2_CAP_TUNER : V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_READWRITE | V4L2_CAP_STREAMING |
                        (hasAudioInputs ? V4L2_CAP_AUDIO : 0) | (hasTuner ? V4L2_CAP_TUNER : 0);
        c.capabilities = c.device_caps | V4L2_CAP_DEVICE_CAPS;
        return 0;
    }
    case VIDIOC_ENUMINPUT: {
        auto& in = *static_cast<v4l2_input*>(argument);
        if (in.index >= inputs.size()) return -EINVAL;
        const std::uint32_t index = in.index;
        std::memset(&in, 0, sizeof in);
        in.index = index;
        copyName(in.name, sizeof in.name, inputs[index].name);
        in.type = inputs[index].type;
        in.audioset = hasAudioInputs ? 3 : 0;
        in.std = V4L2_STD_ALL;
        if (index == input && in.type == V4L2_INPUT_TYPE_TUNER && signal() == 0) in.status = V4L2_IN_ST_NO_SIGNAL;
        return 0;
    }
    case VIDIOC_G_INPUT: *static_cast<int*>(argument) = int(input); return 0;
    case VIDIOC_S_INPUT: {
        const int wanted = *static_cast<int*>(argument);
        if (wanted < 0 || std::size_t(wanted) >= inputs.size()) return -EINVAL;
        input = std::uint32_t(wanted);
        return 0;
    }
    case VIDIOC_ENUMSTD: {
        auto& s = *static_cast<v4l2_standard*>(argument);
        if (s.index >= std::size(kStandards)) return -EINVAL;
        const StandardMade& made = kStandards[s.index];
        const std::uint32_t index = s.index;
        std::memset(&s, 0, sizeof s);
        s.index = index;
        s.id = made.id;
        copyName(s.name, sizeof s.name, made.name);
        s.framelines = made.lines;
        s.frameperiod = made.lines == 525 ? v4l2_fract{1001, 30000} : v4l2_fract{1, 25};
        return 0;
    }
    case VIDIOC_G_STD: *static_cast<v4l2_std_id*>(argument) = standard; return 0;
    case VIDIOC_S_STD: {
        const v4l2_std_id wanted = *static_cast<v4l2_std_id*>(argument);
        for (const StandardMade& made : kStandards)
            if (wanted & made.id) {
                standard = made.id;
                return 0;
            }
        return -EINVAL;
    }
    case VIDIOC_QUERYCTRL: {
        auto& q = *static_cast<v4l2_queryctrl*>(argument);
        const auto found = controls.find(q.id);
        if (found == controls.end()) return -EINVAL;
        const std::uint32_t id = q.id;
        std::memset(&q, 0, sizeof q);
        q.id = id;
        q.type = found->second.type;
        copyName(q.name, sizeof q.name, found->second.name);
        q.minimum = found->second.minimum;
        q.maximum = found->second.maximum;
        q.step = found->second.step;
        q.default_value = found->second.defaultValue;
        return 0;
    }
    case VIDIOC_G_CTRL: {
        auto& c = *static_cast<v4l2_control*>(argument);
        const auto found = controls.find(c.id);
        if (found == controls.end()) return -EINVAL;
        c.value = found->second.value;
        return 0;
    }
    case VIDIOC_S_CTRL: {
        auto& c = *static_cast<v4l2_control*>(argument);
        const auto found = controls.find(c.id);
        if (found == controls.end()) return -EINVAL;
        Control& k = found->second;
        // As the kernel does: clamp into the range, then round to the step.
        std::int32_t v = std::clamp(c.value, k.minimum, k.maximum);
        v = k.minimum + (v - k.minimum + k.step / 2) / k.step * k.step;
        k.value = c.value = std::min(v, k.maximum);
        return 0;
    }
    case VIDIOC_G_TUNER: {
        auto& t = *static_cast<v4l2_tuner*>(argument);
        if (!hasTuner || t.index != 0) return -EINVAL;
        std::memset(&t, 0, sizeof t);
        if (radio) {
            copyName(t.name, sizeof t.name, "Radio");
            t.type = V4L2_TUNER_RADIO;
            t.capability = V4L2_TUNER_CAP_LOW | V4L2_TUNER_CAP_STEREO;
            t.rangelow = 87'500'000 / 125 * 2;
            t.rangehigh = 108'000'000 / 125 * 2;
            t.signal = signal();
            t.rxsubchans = t.signal ? V4L2_TUNER_SUB_STEREO : V4L2_TUNER_SUB_MONO;
            t.audmode = audioMode;
            return 0;
        }
        copyName(t.name, sizeof t.name, "Television");
        t.type = V4L2_TUNER_ANALOG_TV;
        t.capability = V4L2_TUNER_CAP_NORM | V4L2_TUNER_CAP_STEREO | V4L2_TUNER_CAP_LANG1 | V4L2_TUNER_CAP_LANG2;
        t.rangelow = kLowestUnits;
        t.rangehigh = kHighestUnits;
        const FakeStation* station = receivedStation();
        t.rxsubchans = station ? station->soundChannels : V4L2_TUNER_SUB_MONO;
        t.audmode = audioMode;
        t.signal = signal();
        return 0;
    }
    case VIDIOC_S_TUNER: {
        const auto& t = *static_cast<const v4l2_tuner*>(argument);
        if (!hasTuner || t.index != 0 || t.audmode > V4L2_TUNER_MODE_LANG1_LANG2) return -EINVAL;
        audioMode = t.audmode;
        return 0;
    }
    case VIDIOC_G_FREQUENCY: {
        auto& f = *static_cast<v4l2_frequency*>(argument);
        if (!hasTuner || f.tuner != 0) return -EINVAL;
        f.type = radio ? V4L2_TUNER_RADIO : V4L2_TUNER_ANALOG_TV;
        f.frequency = frequencyUnits;
        return 0;
    }
    case VIDIOC_S_FREQUENCY: {
        const auto& f = *static_cast<const v4l2_frequency*>(argument);
        if (!hasTuner || f.tuner != 0 || f.type != (radio ? V4L2_TUNER_RADIO : V4L2_TUNER_ANALOG_TV)) return -EINVAL;
        frequencyUnits = radio ? std::clamp(f.frequency, 87'500'000u / 125 * 2, 108'000'000u / 125 * 2)
                               : std::clamp(f.frequency, kLowestUnits, kHighestUnits);
        frequencyLog.push_back(f.frequency);
        return 0;
    }
    case VIDIOC_ENUMAUDIO:
    case VIDIOC_G_AUDIO: {
        auto& a = *static_cast<v4l2_audio*>(argument);
        if (!hasAudioInputs) return -ENOTTY;
        const std::uint32_t index = request == VIDIOC_G_AUDIO ? audioInput : a.index;
        if (index >= std::size(kAudioInputs)) return -EINVAL;
        std::memset(&a, 0, sizeof a);
        a.index = index;
        copyName(a.name, sizeof a.name, kAudioInputs[index]);
        a.capability = index == 0 ? V4L2_AUDCAP_STEREO : 0;
        return 0;
    }
    case VIDIOC_S_AUDIO: {
        const auto& a = *static_cast<const v4l2_audio*>(argument);
        if (!hasAudioInputs) return -ENOTTY;
        if (a.index >= std::size(kAudioInputs)) return -EINVAL;
        audioInput = a.index;
        return 0;
    }
    case VIDIOC_ENUM_FMT: {
        auto& d = *static_cast<v4l2_fmtdesc*>(argument);
        if (d.type != V4L2_BUF_TYPE_VIDEO_CAPTURE || d.index >= std::size(kFormats)) return -EINVAL;
        const std::uint32_t index = d.index;
        std::memset(&d, 0, sizeof d);
        d.index = index;
        d.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        d.pixelformat = kFormats[index];
        copyName(d.description, sizeof d.description, index == 0 ? "24 bpp RGB, le" : index == 1 ? "32 bpp RGB, le" : "4:2:2, packed, YUYV");
        return 0;
    }
    case VIDIOC_ENUM_FRAMESIZES: {
        auto& s = *static_cast<v4l2_frmsizeenum*>(argument);
        if (s.index != 0 || bytesPerPixel(s.pixel_format) == 0) return -EINVAL;
        s.type = V4L2_FRMSIZE_TYPE_STEPWISE;
        s.stepwise = {kMinWidth, kMaxWidth, 2, kMinHeight, kMaxHeight, 1};
        return 0;
    }
    case VIDIOC_G_FMT: {
        auto& f = *static_cast<v4l2_format*>(argument);
        if (f.type != V4L2_BUF_TYPE_VIDEO_CAPTURE) return -EINVAL;
        f.fmt.pix = format;
        return 0;
    }
    case VIDIOC_TRY_FMT: return setFormat(*static_cast<v4l2_format*>(argument), false);
    case VIDIOC_S_FMT: return streaming ? -EBUSY : setFormat(*static_cast<v4l2_format*>(argument), true);
    case VIDIOC_REQBUFS: {
        auto& r = *static_cast<v4l2_requestbuffers*>(argument);
        if (r.type != V4L2_BUF_TYPE_VIDEO_CAPTURE || r.memory != V4L2_MEMORY_MMAP) return -EINVAL;
        if (streaming) return -EBUSY;
        buffers_.clear();
        queue_.clear();
        r.count = std::min(r.count, kMaxBuffers);
        const std::uint32_t stride = (format.sizeimage + kPageBytes - 1) / kPageBytes * kPageBytes;
        for (std::uint32_t i = 0; i < r.count; ++i) buffers_.push_back({std::vector<std::uint8_t>(format.sizeimage), i * stride});
        return 0;
    }
    case VIDIOC_QUERYBUF:
    case VIDIOC_QBUF: {
        auto& b = *static_cast<v4l2_buffer*>(argument);
        if (b.type != V4L2_BUF_TYPE_VIDEO_CAPTURE || b.memory != V4L2_MEMORY_MMAP || b.index >= buffers_.size())
            return -EINVAL;
        Buffer& buffer = buffers_[b.index];
        if (request == VIDIOC_QBUF) {
            if (buffer.queued) return -EINVAL;
            buffer.queued = true;
            queue_.push_back(b.index);
        }
        b.length = std::uint32_t(buffer.bytes.size());
        b.m.offset = buffer.offset;
        b.flags = V4L2_BUF_FLAG_MAPPED | (buffer.queued ? V4L2_BUF_FLAG_QUEUED : 0);
        return 0;
    }
    case VIDIOC_DQBUF: return dequeue(*static_cast<v4l2_buffer*>(argument));
    case VIDIOC_STREAMON:
    case VIDIOC_STREAMOFF: {
        if (*static_cast<int*>(argument) != V4L2_BUF_TYPE_VIDEO_CAPTURE) return -EINVAL;
        if (request == VIDIOC_STREAMON && !streaming) {
            streamStartTickMs_ = platform::tickCountMs();
            sequence = 0;
        }
        streaming = request == VIDIOC_STREAMON;
        if (!streaming) {
            for (Buffer& buffer : buffers_) buffer.queued = false;
            queue_.clear();
        }
        return 0;
    }
    default: return -ENOTTY;
    }
}

void FakeBttvCard::dropBuffers() {
    streaming = false;
    buffers_.clear();
    queue_.clear();
}

namespace {

class FakeDevice final : public VideoDevice {
public:
    explicit FakeDevice(FakeBttvCard& card) : card_(card) {}
    ~FakeDevice() override {
        if (ownsBuffers_) card_.dropBuffers();
    }
    FakeDevice(const FakeDevice&) = delete;
    FakeDevice& operator=(const FakeDevice&) = delete;
    int ioctl(unsigned long request, void* argument) override {
        const int r = card_.handle(request, argument);
        if (request == VIDIOC_REQBUFS && r == 0) ownsBuffers_ = static_cast<v4l2_requestbuffers*>(argument)->count > 0;
        return r;
    }
    void* mmap(std::size_t length, std::int64_t offset) override { return card_.map(length, offset); }
    int munmap(void*, std::size_t) override { return 0; }
    int poll(int) override { return card_.pollReady(); }

private:
    FakeBttvCard& card_;
    bool ownsBuffers_ = false;
};

}  // namespace

std::unique_ptr<VideoDevice> FakeDeviceOpener::open(const std::string& path, int& error) {
    for (FakeBttvCard* card : cards_)
        if (card->path == path) {
            if (card->gone()) {
                error = ENODEV;
                return nullptr;
            }
            error = 0;
            ++card->openCount;
            return std::make_unique<FakeDevice>(*card);
        }
    error = ENOENT;
    return nullptr;
}

std::vector<std::string> FakeDeviceOpener::devicePaths(DeviceKind kind) {
    std::vector<std::string> paths;
    for (FakeBttvCard* card : cards_)
        if (!card->gone() && card->radio == (kind == DeviceKind::Radio)) paths.push_back(card->path);
    return paths;
}

}  // namespace kelto::v4l2
