#pragma once
// The viewer's hardware facade. It loads the hardware-control library (video input, picture
// levels, audio route, mute) and the card's video driver library, over whose I2C functions it
// programs the tuner itself with the dividers the channel model computes and control words
// chosen here.
//
// Threads: every operation may be called from the user-interface thread and from the scan
// thread. Hardware access is serialised by one lock inside the controller; a caller that needs
// several operations in a row without another thread's tuning in between (scan-tune, then poll
// lock) holds lockTuner() across them. Loading and unloading happen on the user-interface thread
// while no other thread uses the controller.
#include "settings/VideoMode.h"
#include "channels/CBtVidLink.h"
#include "channels/CRuroriziLink.h"
#include "settings/ChannelTypes.h"
#include "channels/HardwareMessageSink.h"
#include "channels/TunerBandTables.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

namespace kelto::platform {
class Registry;
}

namespace kelto {

// Registry keys shared with the hardware-control library (HKEY_LOCAL_MACHINE, default values).
constexpr const char* kRiscEnabledKey = "SOFTWARE\\Brooktree\\Audio\\RiscEnabled";
constexpr const char* kTunerTypeKey = "SOFTWARE\\Brooktree\\Audio\\TunerType";

class CTunerController {
public:
    explicit CTunerController(HardwareMessageSink* messages = nullptr);
    // Tests name another registry or other libraries (a recording stand-in of the hardware library).
    CTunerController(HardwareMessageSink* messages, platform::Registry& registry,
                     std::string ruroriziName = CRuroriziLink::kLibraryName,
                     std::string btVidName = CBtVidLink::kLibraryName);
    ~CTunerController();
    CTunerController(const CTunerController&) = delete;
    CTunerController& operator=(const CTunerController&) = delete;

    int Open() { return 1; }
    void Close() {}

    // 1 when the library and its required entry points are there; otherwise 0 after message 186
    // (no library) or 187 (an entry point missing; the library then stays loaded).
    int LoadRurorizi();
    int LoadBtVid();
    void UnloadRurorizi();
    void UnloadBtVid();

    // "RiscEnabled": the value formatted "%X"; read back as 1 for a leading "1", else 0 (also for
    // an absent value or one longer than 9 characters).
    void SetRiscAudioFlag(std::uint32_t value);
    int ReadRiscAudioFlag() const;
    // Sets the tuner type and I2C address from "TunerType" (an absent value, or one longer than
    // 127 characters, counts as Philips).
    void ReadTunerType();

    TunerType tunerType() const { return tunerType_; }
    std::uint8_t tunerAddress() const { return tunerAddress_; }
    int lastTuneResult() const { return lastTuneResult_; }

    // Tune: ends a freeze, programs the tuner (plan 0 broadcast, 1 cable), always returns 1.
    // value is the channel number (or, above 10000, a frequency in the band limits' units).
    int TuneBroadcast(std::int32_t value, std::uint8_t dividerHigh, std::uint8_t dividerLow);
    int TuneCable(std::int32_t value, std::uint8_t dividerHigh, std::uint8_t dividerLow);
    // Scan-tune: programs the tuner regardless of a freeze; returns and keeps the result
    // (0 done, -1 the tuner did not take the words).
    int ScanTuneBroadcast(std::int32_t value, std::uint8_t dividerHigh, std::uint8_t dividerLow);
    int ScanTuneCable(std::int32_t value, std::uint8_t dividerHigh, std::uint8_t dividerLow);
    // 1 when the tuner reports a usable lock, else 0 (at once after a failed scan-tune).
    int PollLock();

    // Picture levels 0..127 as the viewer keeps them; the library gets twice the value. The
    // library's answer, nullopt when it is not bound.
    std::optional<int> SetBrightness(int value);
    std::optional<int> SetContrast(int value);
    std::optional<int> SetSaturation(int value);
    std::optional<int> SetHue(int value);
    // The library's video source for a mode (5 TV, 4 CATV, 0 VIDEO, 1 SVHS); no call for others.
    std::optional<int> SetInput(VideoMode mode);
    // Route 0, 1, 2 (no route call for others), then the audio path is started; the last answer
    // (1, "not served", when the library is not bound).
    int AudioRoute(int mode);
    std::optional<int> Mute(bool muted);
    // 1 pauses the picture, anything else lets it run.
    void Freeze(int flag);
    int freezeFlag() const { return freezeFlag_; }

    // The frequency tables, indexed by channel - 1 (0..255); other indexes read 0 and are not
    // stored. Fine tuning is not kept here: the channel model's registered channels hold it and
    // the controller is handed finished dividers.
    std::int32_t frequencyHz(ChannelBand band, int index) const;
    void setFrequencyHz(ChannelBand band, int index, std::int32_t hz);

    TunerBandConfig& bandConfig() { return btVid_.bandConfig(); }
    CBtVidLink& btVid() { return btVid_; }
    CRuroriziLink& rurorizi() { return rurorizi_; }

    std::unique_lock<std::recursive_mutex> lockTuner() { return std::unique_lock(mutex_); }

private:
    int reportLoad(LinkLoadResult result);
    void endFreeze();
    bool programTuner(int plan, std::int32_t value, std::uint8_t dividerHigh, std::uint8_t dividerLow);
    int tune(int plan, std::int32_t value, std::uint8_t dividerHigh, std::uint8_t dividerLow);
    int scanTune(int plan, std::int32_t value, std::uint8_t dividerHigh, std::uint8_t dividerLow);
    std::optional<int> setPictureLevel(unsigned code, int value);

    HardwareMessageSink* messages_;
    platform::Registry& registry_;
    CRuroriziLink rurorizi_;
    CBtVidLink btVid_;
    mutable std::recursive_mutex mutex_;

    int freezeFlag_ = 0;
    TunerType tunerType_ = TunerType::Philips;
    std::uint8_t tunerAddress_ = kDefaultTunerAddress;
    int lastTuneResult_ = 0;
    std::array<std::int32_t, kMaxChannel> broadcastFrequencyHz_{};
    std::array<std::int32_t, kMaxChannel> cableFrequencyHz_{};
};

}  // namespace kelto
