#include "channels/CTunerController.h"

#include "platform/Clock.h"
#include "platform/Registry.h"
#include "platform/Text.h"
#include "platform/Trace.h"
#include "resources/StringTable.h"

namespace kelto {

namespace {

using platform::RegHive;

// Codes of the hardware-control library.
constexpr unsigned kTvVideoSource = 1;
constexpr unsigned kTvBrightness = 3;
constexpr unsigned kTvContrast = 4;
constexpr unsigned kTvHue = 5;
constexpr unsigned kTvSaturation = 6;
constexpr unsigned kAudioRoute = 1;
constexpr unsigned kAudioStart = 2;
constexpr unsigned kRadioMute = 6;
constexpr int kAudioNotServed = 1;

constexpr int kI2CFailed = 1;
constexpr std::uint8_t kLockBit = 0x40;
// The longest values the registry reads take (their buffers less the terminator); a longer value
// counts as unreadable.
constexpr std::size_t kRiscEnabledMaxChars = 9;
constexpr std::size_t kTunerTypeMaxChars = 127;
constexpr std::uint32_t kLockPollPeriodMs = 10;
constexpr int kUnlockedReadsLimit = 5;
constexpr int kPoorLockReadsLimit = 10;

std::array<std::int32_t, kMaxChannel>* tableFor(ChannelBand band, std::array<std::int32_t, kMaxChannel>& broadcast,
                                                std::array<std::int32_t, kMaxChannel>& cable) {
    return band == ChannelBand::Broadcast ? &broadcast : &cable;
}

bool validIndex(int index) { return index >= 0 && index < kMaxChannel; }

}  // namespace

CTunerController::CTunerController(HardwareMessageSink* messages)
    : CTunerController(messages, platform::Registry::instance()) {}

CTunerController::CTunerController(HardwareMessageSink* messages, platform::Registry& registry,
                                   std::string ruroriziName, std::string btVidName)
    : messages_(messages), registry_(registry), rurorizi_(std::move(ruroriziName)), btVid_(std::move(btVidName)) {}

CTunerController::~CTunerController() = default;

int CTunerController::reportLoad(LinkLoadResult result) {
    int stringId = 0;
    if (result == LinkLoadResult::LibraryMissing) stringId = kDriversMissingStringId;
    else if (result == LinkLoadResult::EntryMissing) stringId = kDriversMismatchStringId;
    else return 1;
    const std::string text = LoadMessage(stringId);
    if (messages_) messages_->showHardwareMessage(stringId, text, LoadMessage(kCaptionStringId));
    else platform::tracef("Tuner controller: %s", text.c_str());
    return 0;
}

// The message is shown after the lock is released: a message box waits for the user.
int CTunerController::LoadRurorizi() {
    std::unique_lock lock(mutex_);
    const LinkLoadResult result = rurorizi_.load();
    lock.unlock();
    return reportLoad(result);
}

int CTunerController::LoadBtVid() {
    std::unique_lock lock(mutex_);
    const LinkLoadResult result = btVid_.load();
    lock.unlock();
    return reportLoad(result);
}

void CTunerController::UnloadRurorizi() {
    std::lock_guard lock(mutex_);
    rurorizi_.unload();
}

void CTunerController::UnloadBtVid() {
    std::lock_guard lock(mutex_);
    btVid_.unload();
}

void CTunerController::SetRiscAudioFlag(std::uint32_t value) {
    registry_.setString(RegHive::LocalMachine, kRiscEnabledKey, "", platform::formatText("%X", value));
}

int CTunerController::ReadRiscAudioFlag() const {
    const auto text = registry_.queryString(RegHive::LocalMachine, kRiscEnabledKey, "");
    if (!text || text->size() > kRiscEnabledMaxChars) return 0;
    return !text->empty() && (*text)[0] == '1' ? 1 : 0;
}

void CTunerController::ReadTunerType() {
    const auto text = registry_.queryString(RegHive::LocalMachine, kTunerTypeKey, "");
    std::lock_guard lock(mutex_);
    tunerType_ = text && text->size() <= kTunerTypeMaxChars ? tunerTypeFromText(*text) : TunerType::Philips;
    tunerAddress_ = tunerAddressFor(tunerType_, tunerAddress_);
}

void CTunerController::endFreeze() {
    if (freezeFlag_) Freeze(0);
}

void CTunerController::Freeze(int flag) {
    std::lock_guard lock(mutex_);
    freezeFlag_ = flag;
    if (flag == 1) btVid_.Bt848Pause();
    else btVid_.Bt848Continue();
}

bool CTunerController::programTuner(int plan, std::int32_t value, std::uint8_t dividerHigh, std::uint8_t dividerLow) {
    const std::uint16_t control = controlWordFor(plan, tunerType_, value, btVid_.bandConfig());
    if (btVid_.I2CHWWrite3(tunerAddress_, dividerHigh, dividerLow) == kI2CFailed) return false;
    return btVid_.I2CHWWrite3(tunerAddress_, control >> 8, control & 0xFF) != kI2CFailed;
}

int CTunerController::tune(int plan, std::int32_t value, std::uint8_t dividerHigh, std::uint8_t dividerLow) {
    std::lock_guard lock(mutex_);
    endFreeze();
    programTuner(plan, value, dividerHigh, dividerLow);
    return 1;
}

int CTunerController::scanTune(int plan, std::int32_t value, std::uint8_t dividerHigh, std::uint8_t dividerLow) {
    std::lock_guard lock(mutex_);
    lastTuneResult_ = programTuner(plan, value, dividerHigh, dividerLow) ? 0 : -1;
    return lastTuneResult_;
}

int CTunerController::TuneBroadcast(std::int32_t value, std::uint8_t high, std::uint8_t low) { return tune(0, value, high, low); }
int CTunerController::TuneCable(std::int32_t value, std::uint8_t high, std::uint8_t low) { return tune(1, value, high, low); }
int CTunerController::ScanTuneBroadcast(std::int32_t value, std::uint8_t high, std::uint8_t low) {
    return scanTune(0, value, high, low);
}
int CTunerController::ScanTuneCable(std::int32_t value, std::uint8_t high, std::uint8_t low) {
    return scanTune(1, value, high, low);
}

int CTunerController::PollLock() {
    std::lock_guard lock(mutex_);
    if (lastTuneResult_ != 0) return 0;
    int unlockedReads = 0;
    int poorLockReads = 0;
    while (unlockedReads < kUnlockedReadsLimit) {
        platform::busyWaitMs(kLockPollPeriodMs);
        std::uint8_t status = 0;
        if (btVid_.I2CHWRead(tunerAddress_, &status) == kI2CFailed) return 0;
        if (status & kLockBit) {
            // Levels 0..3 are near enough to a carrier for a picture.
            if ((status & 7) < 4) return 1;
            unlockedReads = 0;
            if (++poorLockReads >= kPoorLockReadsLimit) return 0;
        } else {
            ++unlockedReads;
        }
    }
    return 0;
}

std::optional<int> CTunerController::setPictureLevel(unsigned code, int value) {
    std::lock_guard lock(mutex_);
    endFreeze();
    return rurorizi_.SetTVParam(code, value * 2);
}

std::optional<int> CTunerController::SetBrightness(int value) { return setPictureLevel(kTvBrightness, value); }
std::optional<int> CTunerController::SetContrast(int value) { return setPictureLevel(kTvContrast, value); }
std::optional<int> CTunerController::SetSaturation(int value) { return setPictureLevel(kTvSaturation, value); }
std::optional<int> CTunerController::SetHue(int value) { return setPictureLevel(kTvHue, value); }

std::optional<int> CTunerController::SetInput(VideoMode mode) {
    std::lock_guard lock(mutex_);
    endFreeze();
    switch (mode) {
    case VideoMode::TV: return rurorizi_.SetTVParam(kTvVideoSource, 5);
    case VideoMode::CATV: return rurorizi_.SetTVParam(kTvVideoSource, 4);
    case VideoMode::VIDEO: return rurorizi_.SetTVParam(kTvVideoSource, 0);
    case VideoMode::SVHS: return rurorizi_.SetTVParam(kTvVideoSource, 1);
    }
    return std::nullopt;
}

int CTunerController::AudioRoute(int mode) {
    std::lock_guard lock(mutex_);
    std::optional<int> result;
    static constexpr int kRouteForMode[] = {3, 1, 2};
    if (mode >= 0 && mode <= 2) result = rurorizi_.SetAudioParam(kAudioRoute, kRouteForMode[mode]);
    if (const auto started = rurorizi_.SetAudioParam(kAudioStart, 0)) result = started;
    return result.value_or(kAudioNotServed);
}

std::optional<int> CTunerController::Mute(bool muted) {
    std::lock_guard lock(mutex_);
    return rurorizi_.SetRadioParam(kRadioMute, muted ? 1 : 0);
}

std::int32_t CTunerController::frequencyHz(ChannelBand band, int index) const {
    std::lock_guard lock(mutex_);
    const auto& table = band == ChannelBand::Broadcast ? broadcastFrequencyHz_ : cableFrequencyHz_;
    return validIndex(index) ? table[std::size_t(index)] : 0;
}

void CTunerController::setFrequencyHz(ChannelBand band, int index, std::int32_t hz) {
    std::lock_guard lock(mutex_);
    if (validIndex(index)) (*tableFor(band, broadcastFrequencyHz_, cableFrequencyHz_))[std::size_t(index)] = hz;
}

}  // namespace kelto
