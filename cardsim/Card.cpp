#include "cardsim/Card.h"

#include "platform/Clock.h"

#include <cstdlib>

namespace kelto::cardsim {

namespace {

std::recursive_mutex& cardMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}
std::unique_ptr<Card>& currentCard() {
    static std::unique_ptr<Card> card;
    return card;
}

// Detune within which the picture and sound are clean; beyond it noise grows up to the edge of
// the picture range.
constexpr double kCleanRangeHz = 125'000.0;

double noiseForOffset(std::int64_t offsetHz, double rangeHz) {
    const double distance = double(std::llabs(offsetHz));
    if (distance <= kCleanRangeHz) return 0.0;
    return 0.1 + 0.6 * std::min(1.0, (distance - kCleanRangeHz) / (rangeHz - kCleanRangeHz));
}

AudioSource sourceFromRegister(std::uint32_t word) {
    if (word & RegisterBlock::kExternalInputBit) return AudioSource::ExternalInput;
    if (word & RegisterBlock::kSecondInputBit) return AudioSource::SecondInput;
    return AudioSource::Tuner;
}

}  // namespace

Card::Card(CardConfig config, BroadcastWorld world) : config_(std::move(config)), world_(std::move(world)) {
    RegisterBlock::process().reset();
    if (config_.tuner != TunerKind::None) {
        tuner_ = std::make_unique<PllTuner>(config_.tuner, config_.intermediateFrequencyHz, world_);
        i2c_.attach(tunerAddress(config_.tuner), tuner_.get());
    }
    auto received = [this]() -> std::optional<SoundMode> {
        if (video_.input() != VideoInput::Tuner || !tuner_ || tuner_->mode() != TunerMode::Tv) return std::nullopt;
        const auto match = tuner_->receivedStation();
        return match ? std::optional(match->station->soundMode) : std::nullopt;
    };
    if (config_.soundDecoder == SoundDecoderKind::Type1) {
        decoder1_ = std::make_unique<SoundDecoderType1>(received);
        i2c_.attach(soundDecoderAddress(config_.soundDecoder), decoder1_.get());
    } else if (config_.soundDecoder == SoundDecoderKind::Type2) {
        decoder2_ = std::make_unique<SoundDecoderType2>();
        i2c_.attach(soundDecoderAddress(config_.soundDecoder), decoder2_.get());
    }
    if (isBt878() && config_.riscAudio) digitalAudio_ = std::make_unique<DigitalAudioPath>();
}

Card::~Card() = default;

double Card::framesPerSecond() const { return config_.standard == VideoStandard::Pal ? 25.0 : 30000.0 / 1001.0; }

std::optional<StationMatch> Card::receivedStation() const {
    return tuner_ ? tuner_->receivedStation() : std::nullopt;
}

Scene Card::sceneAt(std::chrono::system_clock::time_point time) const {
    Scene scene;
    scene.controls = video_.controls;
    scene.time = video_.paused() ? video_.pausedAt() : time;
    scene.framesPerSecond = framesPerSecond();
    switch (video_.input()) {
    case VideoInput::Composite:
        scene.kind = SceneKind::CompositeInput;
        scene.title = "VIDEO IN";
        break;
    case VideoInput::SVideo:
        scene.kind = SceneKind::SVideoInput;
        scene.title = "S-VIDEO IN";
        break;
    case VideoInput::Tuner:
        if (tuner_ && tuner_->mode() == TunerMode::Tv)
            if (const auto match = tuner_->receivedStation()) {
                scene.kind = SceneKind::TestCard;
                scene.title = match->station->name;
                if (match->station->picture == PictureKind::VideoFile)
                    scene.programme = VideoFileProgramme::open(match->station->videoFile);
                scene.noise = noiseForOffset(match->offsetHz, double(PllTuner::kPictureRangeHz));
            }
        break;
    }
    return scene;
}

AudioSource Card::audioSource() const {
    const std::uint32_t word = registers().word(RegisterBlock::kAudioControlOffset);
    if (digitalAudio_ && digitalAudio_->running())
        return digitalAudio_->muted() ? AudioSource::Silent : sourceFromRegister(word);
    // The analogue audio multiplexer's select lines are GPIO 0 and 1; released, their pull-ups
    // select 3, which is silence.
    bool enabled0 = false, enabled1 = false;
    gpio_.outputEnableBit(0, enabled0);
    gpio_.outputEnableBit(1, enabled1);
    if (!enabled0 || !enabled1) return AudioSource::Silent;
    switch (gpio_.data & 3) {
    case 0: return AudioSource::ExternalInput;
    case 1: return AudioSource::Tuner;
    case 2: return AudioSource::SecondInput;
    default: return AudioSource::Silent;
    }
}

SoundScene Card::soundAt() const {
    SoundScene sound;
    switch (audioSource()) {
    case AudioSource::Silent: break;
    case AudioSource::ExternalInput:
        sound.silent = false;
        sound.toneHz = 1000;
        break;
    case AudioSource::SecondInput:
        sound.silent = false;
        sound.toneHz = 600;
        break;
    case AudioSource::Tuner:
        if (const auto match = receivedStation()) {
            sound.silent = false;
            sound.toneHz = match->station->toneHz;
            sound.mode = match->station->soundMode;
            if (match->station->picture == PictureKind::VideoFile)
                sound.programme = VideoFileProgramme::open(match->station->videoFile);
            if (tuner_->mode() == TunerMode::Tv)
                sound.noise = noiseForOffset(match->offsetHz, double(PllTuner::kPictureRangeHz));
        }
        break;
    }
    return sound;
}

CardLock::CardLock() : lock_(cardMutex()) {
    auto& card = currentCard();
    if (!card) {
        const CardConfig config = loadCardConfig(defaultCardFile());
        card = std::make_unique<Card>(config, BroadcastWorld::load(config.worldFile));
    }
    card_ = card.get();
}

void installCard(CardConfig config, BroadcastWorld world) {
    std::lock_guard lock(cardMutex());
    currentCard() = std::make_unique<Card>(std::move(config), std::move(world));
}

void installCardFromFiles() {
    const CardConfig config = loadCardConfig(defaultCardFile());
    installCard(config, BroadcastWorld::load(config.worldFile));
}

}  // namespace kelto::cardsim
