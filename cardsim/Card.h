#pragma once
// The one simulated capture card of the process and everything on it: the I2C bus with the
// tuner and the sound decoder, GPIO, the register block, the video decoder and, on a Bt878 with
// it, the digital audio path. The driver pieces (the video driver library, the audio command
// library, the two devices and the capture driver) all work on this one card.
//
// Access goes through lockCard(), which holds the card's lock for as long as the returned
// object lives; every driver entry point takes it, so calls from several threads serialise.
// The card is built from the card file on first use; tests build one in code (CardTestHook.h).
#include "cardsim/BroadcastWorld.h"
#include "cardsim/CardConfig.h"
#include "cardsim/DigitalAudioPath.h"
#include "cardsim/FrameSynthesizer.h"
#include "cardsim/Gpio.h"
#include "cardsim/I2cBus.h"
#include "cardsim/PllTuner.h"
#include "cardsim/RegisterBlock.h"
#include "cardsim/SoundDecoderType1.h"
#include "cardsim/SoundDecoderType2.h"
#include "cardsim/SoundSynthesizer.h"
#include "cardsim/VideoDecoder.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>

namespace kelto::cardsim {

enum class AudioSource { Silent, ExternalInput, Tuner, SecondInput };

// Failures a test can make the card's pieces show.
struct CardFaults {
    bool i2cNotReady = false;   // I2CIsInitOK answers 0
    bool gpioNotReady = false;  // GPIOIsInitOK answers 0
    // Video driver functions (by export name) that answer their failure value.
    std::set<std::string> failingFunctions;
    // Device names ("\\.\BT848") that cannot be opened, or whose control requests return nothing.
    std::set<std::string> unopenableDevices;
    std::set<std::string> silentDevices;
    // Driver libraries ("BtVid_32.dll", "BtAud.dll") whose load fails.
    std::set<std::string> failingLibraries;
    bool captureOpenFails = false;

    bool functionFails(const char* exportName) const { return failingFunctions.contains(exportName); }
};

class Card {
public:
    Card(CardConfig config, BroadcastWorld world);
    ~Card();
    Card(const Card&) = delete;
    Card& operator=(const Card&) = delete;

    const CardConfig& config() const { return config_; }
    const BroadcastWorld& world() const { return world_; }
    bool isBt878() const { return config_.chip == ChipKind::Bt878; }

    I2cBus& i2c() { return i2c_; }
    PllTuner* tuner() { return tuner_.get(); }
    const PllTuner* tuner() const { return tuner_.get(); }
    SoundDecoderType1* soundDecoder1() { return decoder1_.get(); }
    SoundDecoderType2* soundDecoder2() { return decoder2_.get(); }
    Gpio& gpio() { return gpio_; }
    const Gpio& gpio() const { return gpio_; }
    RegisterBlock& registers() { return RegisterBlock::process(); }
    const RegisterBlock& registers() const { return RegisterBlock::process(); }
    VideoDecoder& video() { return video_; }
    const VideoDecoder& video() const { return video_; }
    // Null unless the card is a Bt878 with the digital audio path.
    DigitalAudioPath* digitalAudio() { return digitalAudio_.get(); }
    const DigitalAudioPath* digitalAudio() const { return digitalAudio_.get(); }

    CardFaults faults;

    double framesPerSecond() const;
    // What the card passes on at a moment: the picture (frozen at the pause moment while paused)
    // and the sound.
    Scene sceneAt(std::chrono::system_clock::time_point time) const;
    AudioSource audioSource() const;
    SoundScene soundAt() const;
    // The TV or FM station the tuner passes on now, if any.
    std::optional<StationMatch> receivedStation() const;

private:
    CardConfig config_;
    BroadcastWorld world_;
    I2cBus i2c_;
    std::unique_ptr<PllTuner> tuner_;
    std::unique_ptr<SoundDecoderType1> decoder1_;
    std::unique_ptr<SoundDecoderType2> decoder2_;
    Gpio gpio_;
    VideoDecoder video_;
    std::unique_ptr<DigitalAudioPath> digitalAudio_;
};

// Holds the card's lock while it lives.
class CardLock {
public:
    CardLock();
    Card* operator->() const { return card_; }
    Card& operator*() const { return *card_; }

private:
    std::unique_lock<std::recursive_mutex> lock_;
    Card* card_;
};

inline CardLock lockCard() { return CardLock(); }

// Replaces the process's card (and resets the register block). Drivers see the new card at
// their next call.
void installCard(CardConfig config, BroadcastWorld world);
// Builds the card again from the card file (KELTO_CARD or data/card.ini) and its world file.
void installCardFromFiles();

}  // namespace kelto::cardsim
