#include "platform/mixer/AlsaMixer.h"

#include "platform/Text.h"
#include "platform/Trace.h"

#include <alsa/asoundlib.h>
#include <algorithm>
#include <cerrno>
#include <deque>
#include <sys/eventfd.h>
#include <unistd.h>

namespace kelto::platform::mixer {
namespace {

constexpr std::uint32_t kDestinationLineId = 0xFFFF0000;

// The sound cards' indexes, in ALSA's order.
std::vector<int> soundCards() {
    std::vector<int> cards;
    int card = -1;
    while (snd_card_next(&card) == 0 && card >= 0) cards.push_back(card);
    return cards;
}

bool defaultControlOpens() {
    snd_ctl_t* ctl = nullptr;
    if (snd_ctl_open(&ctl, "default", SND_CTL_NONBLOCK) < 0) return false;
    snd_ctl_close(ctl);
    return true;
}

std::string cut(std::string_view text, std::size_t maxBytes) { return std::string(cutUtf8(text, maxBytes)); }

struct Message {
    std::uint32_t message;
    std::uintptr_t id;
};

}  // namespace

namespace {

struct AlsaLine {
    AlsaMixer::Device* device = nullptr;
    snd_mixer_elem_t* elem = nullptr;  // null once ALSA removed the element
    MixerLine info;
    std::vector<snd_mixer_selem_channel_id_t> channels;
    bool hasVolume = false;
    bool hasSwitch = false;
    bool volumeJoined = false;
    bool switchJoined = false;
    long rawMinimum = 0;
    long rawMaximum = 0;
    long offset = 0;  // added to raw values so that the minimum is never negative
    std::uint32_t volumeControlId = 0;
    std::uint32_t muteControlId = 0;
    // The values last seen, to tell which control an ALSA value event changed.
    std::vector<long> seenVolumes;
    std::vector<int> seenSwitches;

    std::vector<long> readVolumes() const {
        std::vector<long> out(channels.size(), 0);
        if (elem && hasVolume)
            for (std::size_t i = 0; i < channels.size(); ++i) snd_mixer_selem_get_playback_volume(elem, channels[i], &out[i]);
        return out;
    }
    std::vector<int> readSwitches() const {
        std::vector<int> out(channels.size(), 1);
        if (elem && hasSwitch)
            for (std::size_t i = 0; i < channels.size(); ++i) snd_mixer_selem_get_playback_switch(elem, channels[i], &out[i]);
        return out;
    }
};

}  // namespace

struct AlsaMixer::Device {
    MixerHandle handle = kNoMixerHandle;
    snd_mixer_t* mixer = nullptr;
    std::string name;
    MixerNotificationTarget* target = nullptr;
    std::vector<AlsaLine> lines;  // [0] the speaker destination, then its sources; never resized after open
    std::deque<Message> pending;
    int eventFd = -1;  // readable while messages are pending
    bool gone = false;

    ~Device() {
        if (mixer) snd_mixer_close(mixer);
        if (eventFd >= 0) ::close(eventFd);
    }

    void queue(std::uint32_t message, std::uintptr_t id) {
        if (!target) return;
        pending.push_back(Message{message, id});
        const std::uint64_t one = 1;
        [[maybe_unused]] auto put = ::write(eventFd, &one, sizeof one);
    }

    // Reads the events ALSA holds for this mixer (never blocks: the control is non-blocking).
    void collectEvents() {
        if (gone || !mixer) return;
        const int result = snd_mixer_handle_events(mixer);
        if (result == -ENODEV || result == -EBADFD) {
            gone = true;
            tracef("ALSA mixer %s went away (%s)", name.c_str(), snd_strerror(result));
        }
    }

    AlsaLine* lineById(std::uint32_t lineId) {
        for (AlsaLine& line : lines)
            if (line.info.lineId == lineId) return &line;
        return nullptr;
    }
    AlsaLine* lineOfControl(std::uint32_t controlId, bool& isVolume) {
        for (AlsaLine& line : lines) {
            if (line.hasVolume && line.volumeControlId == controlId) return isVolume = true, &line;
            if (line.hasSwitch && line.muteControlId == controlId) return isVolume = false, &line;
        }
        return nullptr;
    }
    // The line whose control a details request names, with the request's shape checked: 32-bit
    // values, one item, one value per channel (or one for all), room for them.
    MixerResult lineForDetails(const MixerControlDetails& details, AlsaLine*& line, bool& isVolume) {
        if (gone) return MixerResult::NoDriver;
        line = lineOfControl(details.controlId, isVolume);
        if (!line) return MixerResult::InvalidControl;
        if (!line->elem) return MixerResult::NoDriver;
        const auto channels = static_cast<std::uint32_t>(line->channels.size());
        if (details.valueSizeBytes != 4 || details.itemCount > 1 ||
            (details.channelCount != 1 && details.channelCount != channels) || details.values.size() < details.valueCount())
            return MixerResult::InvalidParam;
        return MixerResult::NoError;
    }
};

namespace {

// Runs inside snd_mixer_handle_events on the thread that called it; only queues messages.
int elementChanged(snd_mixer_elem_t* elem, unsigned int mask) {
    auto* line = static_cast<AlsaLine*>(snd_mixer_elem_get_callback_private(elem));
    if (!line) return 0;
    if (mask == SND_CTL_EVENT_MASK_REMOVE) {
        line->elem = nullptr;
        return 0;
    }
    if (!(mask & SND_CTL_EVENT_MASK_VALUE)) return 0;
    const auto volumes = line->readVolumes();
    if (line->hasVolume && volumes != line->seenVolumes) {
        line->seenVolumes = volumes;
        line->device->queue(kMessageControlChange, line->volumeControlId);
    }
    const auto switches = line->readSwitches();
    if (line->hasSwitch && switches != line->seenSwitches) {
        line->seenSwitches = switches;
        line->device->queue(kMessageLineChange, line->info.lineId);
        line->device->queue(kMessageControlChange, line->muteControlId);
    }
    return 0;
}

AlsaLine describeElement(snd_mixer_elem_t* elem) {
    AlsaLine line;
    line.elem = elem;
    line.hasVolume = snd_mixer_selem_has_playback_volume(elem);
    line.hasSwitch = snd_mixer_selem_has_playback_switch(elem);
    if (snd_mixer_selem_is_playback_mono(elem)) {
        line.channels.push_back(SND_MIXER_SCHN_MONO);
    } else {
        for (int ch = 0; ch <= SND_MIXER_SCHN_LAST; ++ch) {
            const auto channel = static_cast<snd_mixer_selem_channel_id_t>(ch);
            if (snd_mixer_selem_has_playback_channel(elem, channel)) line.channels.push_back(channel);
        }
        if (line.channels.empty()) line.channels.push_back(SND_MIXER_SCHN_FRONT_LEFT);
    }
    const bool mono = line.channels.size() == 1;
    line.volumeJoined = mono || (line.hasVolume && snd_mixer_selem_has_playback_volume_joined(elem));
    line.switchJoined = mono || (line.hasSwitch && snd_mixer_selem_has_playback_switch_joined(elem));
    if (line.hasVolume) {
        snd_mixer_selem_get_playback_volume_range(elem, &line.rawMinimum, &line.rawMaximum);
        if (line.rawMaximum < line.rawMinimum) line.rawMaximum = line.rawMinimum;
        line.offset = line.rawMinimum < 0 ? -line.rawMinimum : 0;
    }
    std::string name = snd_mixer_selem_get_name(elem);
    if (const unsigned index = snd_mixer_selem_get_index(elem); index > 0) name += formatText(" %u", index);
    line.info.name = cut(name, kNameBytes);
    line.info.shortName = cut(name, kShortNameBytes);
    line.info.channelCount = static_cast<std::uint32_t>(line.channels.size());
    line.info.controlCount = (line.hasVolume ? 1u : 0u) + (line.hasSwitch ? 1u : 0u);
    line.seenVolumes = line.readVolumes();
    line.seenSwitches = line.readSwitches();
    return line;
}

MixerControl describeControl(const AlsaLine& line, bool volume) {
    MixerControl control;
    if (volume) {
        control.controlId = line.volumeControlId;
        control.controlType = ControlType::Volume;
        control.controlFlags = line.volumeJoined ? ControlFlag::Uniform : 0;
        control.minimum = static_cast<std::uint32_t>(line.rawMinimum + line.offset);
        control.maximum = static_cast<std::uint32_t>(line.rawMaximum + line.offset);
        control.stepCount = control.maximum - control.minimum;
        control.name = cut(line.info.name + " Volume", kNameBytes);
        control.shortName = cut("Volume", kShortNameBytes);
    } else {
        control.controlId = line.muteControlId;
        control.controlType = ControlType::Mute;
        control.controlFlags = line.switchJoined ? ControlFlag::Uniform : 0;
        control.minimum = 0;
        control.maximum = 1;
        control.stepCount = 0;
        control.name = cut(line.info.name + " Mute", kNameBytes);
        control.shortName = cut("Mute", kShortNameBytes);
    }
    return control;
}

}  // namespace

std::uint32_t AlsaMixer::sourceTypeForElementName(std::string_view elementName) {
    struct Prefix {
        std::string_view prefix;
        std::uint32_t type;
    };
    static constexpr Prefix kPrefixes[] = {
        {"PCM", ComponentType::SrcWaveOut},         {"Wave", ComponentType::SrcWaveOut},
        {"Line", ComponentType::SrcLine},           {"CD", ComponentType::SrcCompactDisc},
        {"Mic", ComponentType::SrcMicrophone},      {"Synth", ComponentType::SrcSynthesizer},
        {"FM", ComponentType::SrcSynthesizer},      {"MIDI", ComponentType::SrcSynthesizer},
        {"PC Speaker", ComponentType::SrcPcSpeaker}, {"Beep", ComponentType::SrcPcSpeaker},
        {"Phone", ComponentType::SrcTelephone},     {"Aux", ComponentType::SrcAuxiliary},
        {"IEC958", ComponentType::SrcDigital},      {"SPDIF", ComponentType::SrcDigital},
        {"Digital", ComponentType::SrcDigital},     {"Analog", ComponentType::SrcAnalog},
    };
    for (const Prefix& entry : kPrefixes)
        if (elementName.size() >= entry.prefix.size() && equalsIgnoreCase(elementName.substr(0, entry.prefix.size()), entry.prefix))
            return entry.type;
    return ComponentType::SrcUndefined;
}

AlsaMixer::AlsaMixer() = default;
AlsaMixer::~AlsaMixer() = default;

AlsaMixer::Device* AlsaMixer::find(MixerHandle handle) {
    auto it = devices_.find(handle);
    return it == devices_.end() ? nullptr : it->second.get();
}

std::uint32_t AlsaMixer::deviceCount() {
    const auto cards = soundCards();
    if (!cards.empty()) return static_cast<std::uint32_t>(cards.size());
    // No card of its own, but a configured default (a sound server, a plugin) still mixes.
    return defaultControlOpens() ? 1 : 0;
}

MixerResult AlsaMixer::open(std::uint32_t deviceId, MixerNotificationTarget* target, std::uint32_t openFlags,
                            MixerHandle& handle) {
    handle = kNoMixerHandle;
    std::string name = "default";
    if (deviceId > 0) {
        const auto cards = soundCards();
        if (deviceId >= cards.size()) return MixerResult::BadDeviceId;
        name = formatText("hw:%d", cards[deviceId]);
    }

    auto device = std::make_unique<Device>();
    device->name = name;
    if (snd_mixer_open(&device->mixer, 0) < 0) {
        device->mixer = nullptr;
        return MixerResult::NoMemory;
    }
    int err = snd_mixer_attach(device->mixer, name.c_str());
    if (err >= 0) err = snd_mixer_selem_register(device->mixer, nullptr, nullptr);
    if (err >= 0) err = snd_mixer_load(device->mixer);
    if (err < 0) {
        tracef("ALSA mixer %s does not open: %s", name.c_str(), snd_strerror(err));
        return deviceId == 0 && !defaultControlOpens() ? MixerResult::BadDeviceId : MixerResult::NoDriver;
    }
    // Event reads must never block the user-interface thread.
    snd_hctl_t* hctl = nullptr;
    if (snd_mixer_get_hctl(device->mixer, name.c_str(), &hctl) == 0 && hctl) snd_ctl_nonblock(snd_hctl_ctl(hctl), 1);

    std::vector<AlsaLine> playback;
    for (snd_mixer_elem_t* elem = snd_mixer_first_elem(device->mixer); elem; elem = snd_mixer_elem_next(elem)) {
        if (!snd_mixer_selem_is_active(elem)) continue;
        if (!snd_mixer_selem_has_playback_volume(elem) && !snd_mixer_selem_has_playback_switch(elem)) continue;
        playback.push_back(describeElement(elem));
    }
    auto master = std::find_if(playback.begin(), playback.end(),
                                [](const AlsaLine& l) { return l.hasVolume && l.info.name == "Master"; });
    if (master == playback.end())
        master = std::find_if(playback.begin(), playback.end(), [](const AlsaLine& l) { return l.hasVolume; });
    if (master == playback.end()) {
        tracef("ALSA mixer %s has no playback volume", name.c_str());
        return MixerResult::NoDriver;
    }
    device->lines.push_back(std::move(*master));
    playback.erase(master);
    for (AlsaLine& line : playback) device->lines.push_back(std::move(line));

    const auto sourceCount = static_cast<std::uint32_t>(device->lines.size() - 1);
    for (std::size_t i = 0; i < device->lines.size(); ++i) {
        AlsaLine& line = device->lines[i];
        line.device = device.get();
        line.volumeControlId = static_cast<std::uint32_t>(2 * i + 1);
        line.muteControlId = static_cast<std::uint32_t>(2 * i + 2);
        line.info.destination = 0;
        if (i == 0) {
            line.info.source = 0;
            line.info.lineId = kDestinationLineId;
            line.info.componentType = ComponentType::DstSpeakers;
            line.info.connectionCount = sourceCount;
        } else {
            line.info.source = static_cast<std::uint32_t>(i - 1);
            line.info.lineId = line.info.source << 16;
            line.info.componentType = sourceTypeForElementName(snd_mixer_selem_get_name(line.elem));
            line.info.connectionCount = 0;
        }
        snd_mixer_elem_set_callback_private(line.elem, &line);
        snd_mixer_elem_set_callback(line.elem, elementChanged);
    }

    if (openFlags & kOpenCallbackWindow) device->target = target;
    device->eventFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    std::lock_guard lock(mutex_);
    handle = device->handle = nextHandle_++;
    devices_.emplace(handle, std::move(device));
    return MixerResult::NoError;
}

MixerResult AlsaMixer::close(MixerHandle handle) {
    std::unique_ptr<Device> closing;
    {
        std::lock_guard lock(mutex_);
        auto it = devices_.find(handle);
        if (it == devices_.end()) return MixerResult::InvalidHandle;
        closing = std::move(it->second);
        devices_.erase(it);
    }
    return MixerResult::NoError;
}

MixerResult AlsaMixer::getCaps(MixerHandle handle, MixerCaps& caps) {
    std::lock_guard lock(mutex_);
    Device* device = find(handle);
    if (!device) return MixerResult::InvalidHandle;
    caps.name = cut(device->name, 31);
    caps.destinationCount = 1;
    return MixerResult::NoError;
}

MixerResult AlsaMixer::getLineInfo(MixerHandle handle, LineInfoQuery query, MixerLine& line) {
    std::lock_guard lock(mutex_);
    Device* device = find(handle);
    if (!device) return MixerResult::InvalidHandle;
    const AlsaLine* found = nullptr;
    switch (query) {
    case LineInfoQuery::ByDestination:
        if (line.destination == 0) found = &device->lines[0];
        break;
    case LineInfoQuery::BySource:
        if (line.destination == 0 && line.source < device->lines.size() - 1) found = &device->lines[line.source + 1];
        break;
    case LineInfoQuery::ByLineId:
        found = device->lineById(line.lineId);
        break;
    default:
        return MixerResult::InvalidFlag;
    }
    if (!found) return MixerResult::InvalidLine;
    line = found->info;
    return MixerResult::NoError;
}

MixerResult AlsaMixer::getLineControl(MixerHandle handle, std::uint32_t lineId, LineControlsQuery query,
                                      std::uint32_t idOrType, MixerControl& control) {
    std::lock_guard lock(mutex_);
    Device* device = find(handle);
    if (!device) return MixerResult::InvalidHandle;
    const AlsaLine* line = device->lineById(lineId);
    if (!line) return MixerResult::InvalidLine;
    if (query != LineControlsQuery::OneById && query != LineControlsQuery::OneByType) return MixerResult::InvalidFlag;
    const bool byId = query == LineControlsQuery::OneById;
    if (line->hasVolume && idOrType == (byId ? line->volumeControlId : ControlType::Volume)) {
        control = describeControl(*line, true);
        return MixerResult::NoError;
    }
    if (line->hasSwitch && idOrType == (byId ? line->muteControlId : ControlType::Mute)) {
        control = describeControl(*line, false);
        return MixerResult::NoError;
    }
    return MixerResult::InvalidControl;
}

MixerResult AlsaMixer::getControlDetails(MixerHandle handle, MixerControlDetails& details) {
    std::lock_guard lock(mutex_);
    Device* device = find(handle);
    if (!device) return MixerResult::InvalidHandle;
    device->collectEvents();  // so the values read are the ones other programs left
    bool isVolume = false;
    AlsaLine* line = nullptr;
    if (const MixerResult checked = device->lineForDetails(details, line, isVolume); checked != MixerResult::NoError)
        return checked;
    if (isVolume) {
        const auto volumes = line->readVolumes();
        for (std::uint32_t i = 0; i < details.channelCount; ++i)
            details.values[i] = static_cast<std::uint32_t>(volumes[i] + line->offset);
    } else {
        const auto switches = line->readSwitches();
        for (std::uint32_t i = 0; i < details.channelCount; ++i) details.values[i] = switches[i] ? 0 : 1;
    }
    return MixerResult::NoError;
}

MixerResult AlsaMixer::setControlDetails(MixerHandle handle, const MixerControlDetails& details) {
    std::lock_guard lock(mutex_);
    Device* device = find(handle);
    if (!device) return MixerResult::InvalidHandle;
    bool isVolume = false;
    AlsaLine* line = nullptr;
    if (const MixerResult checked = device->lineForDetails(details, line, isVolume); checked != MixerResult::NoError)
        return checked;
    const auto channels = static_cast<std::uint32_t>(line->channels.size());
    int err = 0;
    for (std::uint32_t i = 0; i < channels && err >= 0; ++i) {
        // One value given for a line with more channels: it goes to every channel.
        const std::uint32_t value = details.values[details.channelCount == 1 ? 0 : i];
        if (isVolume) {
            const long raw = std::clamp(static_cast<long>(value) - line->offset, line->rawMinimum, line->rawMaximum);
            err = snd_mixer_selem_set_playback_volume(line->elem, line->channels[i], raw);
        } else {
            err = snd_mixer_selem_set_playback_switch(line->elem, line->channels[i], value ? 0 : 1);
        }
        if (details.channelCount == 1 && (isVolume ? line->volumeJoined : line->switchJoined)) break;
    }
    if (err < 0) {
        tracef("ALSA mixer %s: writing %s failed: %s", device->name.c_str(), line->info.name.c_str(), snd_strerror(err));
        return MixerResult::Error;
    }
    return MixerResult::NoError;
}

std::vector<pollfd> AlsaMixer::pollDescriptors(MixerHandle handle) {
    std::lock_guard lock(mutex_);
    Device* device = find(handle);
    if (!device) return {};
    std::vector<pollfd> fds;
    if (!device->gone) {
        const int count = snd_mixer_poll_descriptors_count(device->mixer);
        if (count > 0) {
            fds.resize(static_cast<std::size_t>(count));
            const int filled = snd_mixer_poll_descriptors(device->mixer, fds.data(), static_cast<unsigned>(count));
            fds.resize(static_cast<std::size_t>(std::max(filled, 0)));
        }
    }
    if (device->eventFd >= 0) fds.push_back(pollfd{device->eventFd, POLLIN, 0});
    return fds;
}

void AlsaMixer::dispatchPending(MixerHandle handle) {
    std::deque<Message> batch;
    MixerNotificationTarget* target = nullptr;
    {
        std::lock_guard lock(mutex_);
        Device* device = find(handle);
        if (!device) return;
        device->collectEvents();
        batch.swap(device->pending);
        target = device->target;
        std::uint64_t drained = 0;
        [[maybe_unused]] auto got = ::read(device->eventFd, &drained, sizeof drained);
    }
    for (const Message& message : batch) {
        {
            // The target may close the mixer while handling a message; stop then.
            std::lock_guard lock(mutex_);
            if (!find(handle)) return;
        }
        if (target) target->onMixerMessage(message.message, handle, message.id);
    }
}

}  // namespace kelto::platform::mixer
