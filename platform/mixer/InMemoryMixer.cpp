#include "platform/mixer/InMemoryMixer.h"

#include <algorithm>
#include <sys/eventfd.h>
#include <unistd.h>

namespace kelto::platform::mixer {
namespace {

constexpr std::uint32_t kDestinationIdBase = 0xFFFF0000;

bool isBoolean(const MixerControl& control) {
    return (control.controlType & ControlType::UnitsMask) == ControlType::UnitsBoolean;
}

}  // namespace

InMemoryMixer::InMemoryMixer() = default;

InMemoryMixer::~InMemoryMixer() {
    for (auto& [handle, mixer] : open_)
        if (mixer->eventFd >= 0) ::close(mixer->eventFd);
}

void InMemoryMixer::setDeviceCount(std::uint32_t count) {
    std::lock_guard lock(mutex_);
    deviceCount_ = count;
}

void InMemoryMixer::setOpenFails(bool fails) {
    std::lock_guard lock(mutex_);
    openFails_ = fails;
}

std::uint32_t InMemoryMixer::addDestination(std::uint32_t componentType, std::uint32_t channelCount,
                                            std::string name, std::string shortName) {
    std::lock_guard lock(mutex_);
    Destination destination;
    MixerLine& info = destination.line.info;
    info.destination = static_cast<std::uint32_t>(destinations_.size());
    info.lineId = kDestinationIdBase | info.destination;
    info.componentType = componentType;
    info.channelCount = channelCount;
    info.shortName = shortName.empty() ? name : std::move(shortName);
    info.name = std::move(name);
    destinations_.push_back(std::move(destination));
    return info.lineId;
}

std::uint32_t InMemoryMixer::addSource(std::uint32_t destinationIndex, std::uint32_t componentType,
                                       std::uint32_t channelCount, std::string name, std::string shortName) {
    std::lock_guard lock(mutex_);
    Destination& destination = destinations_.at(destinationIndex);
    Line line;
    line.info.destination = destinationIndex;
    line.info.source = static_cast<std::uint32_t>(destination.sources.size());
    line.info.lineId = (line.info.source << 16) | destinationIndex;
    line.info.componentType = componentType;
    line.info.channelCount = channelCount;
    line.info.shortName = shortName.empty() ? name : std::move(shortName);
    line.info.name = std::move(name);
    destination.sources.push_back(std::move(line));
    return destination.sources.back().info.lineId;
}

std::uint32_t InMemoryMixer::addControl(std::uint32_t lineId, ControlSetup setup) {
    std::lock_guard lock(mutex_);
    Line* line = findLine(lineId);
    if (!line) return 0;
    Control control;
    control.lineId = lineId;
    control.info.controlId = nextControlId_++;
    control.info.controlType = setup.controlType;
    control.info.controlFlags = setup.controlFlags;
    control.info.itemCount = setup.itemCount;
    control.info.minimum = setup.minimum;
    control.info.maximum = setup.maximum;
    control.info.stepCount = setup.stepCount;
    control.info.name = setup.name;
    control.info.shortName = setup.name;
    // Values are kept for every channel of the line; an item count too large to hold stays a
    // description only (it exists to make the reader's allocation fail).
    const std::size_t stored = storedValueCount(control);
    if (stored <= (1u << 16)) {
        control.values = std::move(setup.values);
        control.values.resize(stored, 0);
    }
    line->controlIds.push_back(control.info.controlId);
    const std::uint32_t id = control.info.controlId;
    controls_.emplace(id, std::move(control));
    return id;
}

void InMemoryMixer::setControlFails(std::uint32_t controlId, bool readsFail, bool writesFail) {
    std::lock_guard lock(mutex_);
    if (Control* control = findControl(controlId)) {
        control->readsFail = readsFail;
        control->writesFail = writesFail;
    }
}

void InMemoryMixer::changeFromOutside(std::uint32_t controlId, std::vector<std::uint32_t> values) {
    std::lock_guard lock(mutex_);
    Control* control = findControl(controlId);
    if (!control) return;
    values.resize(control->values.size(), 0);
    control->values = std::move(values);
    queueChange(*control);
}

void InMemoryMixer::raiseLineChange(std::uint32_t lineId) {
    std::lock_guard lock(mutex_);
    for (auto& [handle, mixer] : open_)
        if (mixer->target) queue(*mixer, handle, kMessageLineChange, lineId);
}

std::vector<InMemoryMixer::Write> InMemoryMixer::writes() const {
    std::lock_guard lock(mutex_);
    return writes_;
}

void InMemoryMixer::clearWrites() {
    std::lock_guard lock(mutex_);
    writes_.clear();
}

std::vector<std::uint32_t> InMemoryMixer::values(std::uint32_t controlId) const {
    std::lock_guard lock(mutex_);
    auto it = controls_.find(controlId);
    return it == controls_.end() ? std::vector<std::uint32_t>{} : it->second.values;
}

std::size_t InMemoryMixer::openHandleCount() const {
    std::lock_guard lock(mutex_);
    return open_.size();
}

std::size_t InMemoryMixer::pendingMessageCount(MixerHandle handle) const {
    std::lock_guard lock(mutex_);
    auto it = open_.find(handle);
    return it == open_.end() ? 0 : it->second->pending.size();
}

std::uint32_t InMemoryMixer::deviceCount() {
    std::lock_guard lock(mutex_);
    return deviceCount_;
}

MixerResult InMemoryMixer::open(std::uint32_t deviceId, MixerNotificationTarget* target, std::uint32_t openFlags,
                                MixerHandle& handle) {
    std::lock_guard lock(mutex_);
    handle = kNoMixerHandle;
    if (deviceId >= deviceCount_) return MixerResult::BadDeviceId;
    if (openFails_) return MixerResult::NoDriver;
    auto mixer = std::make_unique<OpenMixer>();
    if (openFlags & kOpenCallbackWindow) mixer->target = target;
    mixer->eventFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    handle = nextHandle_++;
    open_.emplace(handle, std::move(mixer));
    return MixerResult::NoError;
}

MixerResult InMemoryMixer::close(MixerHandle handle) {
    std::lock_guard lock(mutex_);
    auto it = open_.find(handle);
    if (it == open_.end()) return MixerResult::InvalidHandle;
    if (it->second->eventFd >= 0) ::close(it->second->eventFd);
    open_.erase(it);
    return MixerResult::NoError;
}

MixerResult InMemoryMixer::getCaps(MixerHandle handle, MixerCaps& caps) {
    std::lock_guard lock(mutex_);
    if (!open_.contains(handle)) return MixerResult::InvalidHandle;
    caps.name = "In-memory mixer";
    caps.destinationCount = static_cast<std::uint32_t>(destinations_.size());
    return MixerResult::NoError;
}

MixerResult InMemoryMixer::getLineInfo(MixerHandle handle, LineInfoQuery query, MixerLine& line) {
    std::lock_guard lock(mutex_);
    if (!open_.contains(handle)) return MixerResult::InvalidHandle;
    const Line* found = nullptr;
    std::uint32_t connections = 0;
    switch (query) {
    case LineInfoQuery::ByDestination:
        if (line.destination < destinations_.size()) {
            found = &destinations_[line.destination].line;
            connections = static_cast<std::uint32_t>(destinations_[line.destination].sources.size());
        }
        break;
    case LineInfoQuery::BySource:
        if (line.destination < destinations_.size() && line.source < destinations_[line.destination].sources.size())
            found = &destinations_[line.destination].sources[line.source];
        break;
    case LineInfoQuery::ByLineId:
        found = findLine(line.lineId);
        if (found && (found->info.lineId & kDestinationIdBase) == kDestinationIdBase)
            connections = static_cast<std::uint32_t>(destinations_[found->info.destination].sources.size());
        break;
    default:
        return MixerResult::InvalidFlag;
    }
    if (!found) return MixerResult::InvalidLine;
    line = found->info;
    line.connectionCount = connections;
    line.controlCount = static_cast<std::uint32_t>(found->controlIds.size());
    return MixerResult::NoError;
}

MixerResult InMemoryMixer::getLineControl(MixerHandle handle, std::uint32_t lineId, LineControlsQuery query,
                                          std::uint32_t idOrType, MixerControl& control) {
    std::lock_guard lock(mutex_);
    if (!open_.contains(handle)) return MixerResult::InvalidHandle;
    const Line* line = findLine(lineId);
    if (!line) return MixerResult::InvalidLine;
    for (std::uint32_t id : line->controlIds) {
        const MixerControl& info = controls_.at(id).info;
        const bool match = query == LineControlsQuery::OneById ? info.controlId == idOrType
                         : query == LineControlsQuery::OneByType ? info.controlType == idOrType
                                                                  : false;
        if (match) {
            control = info;
            return MixerResult::NoError;
        }
    }
    if (query != LineControlsQuery::OneById && query != LineControlsQuery::OneByType) return MixerResult::InvalidFlag;
    return MixerResult::InvalidControl;
}

MixerResult InMemoryMixer::getControlDetails(MixerHandle handle, MixerControlDetails& details) {
    std::lock_guard lock(mutex_);
    if (!open_.contains(handle)) return MixerResult::InvalidHandle;
    Control* control = findControl(details.controlId);
    if (!control) return MixerResult::InvalidControl;
    const std::uint32_t lineChannels = lineChannelCount(*control);
    const std::uint32_t items = (control->info.controlFlags & ControlFlag::Multiple) ? control->info.itemCount : 0;
    if (details.valueSizeBytes != 4 || details.itemCount != items ||
        (details.channelCount != 1 && details.channelCount != lineChannels) ||
        details.values.size() < details.valueCount() || control->values.size() != storedValueCount(*control))
        return MixerResult::InvalidParam;
    if (control->readsFail) return MixerResult::Error;
    const std::uint32_t itemSlots = items == 0 ? 1 : items;
    for (std::uint32_t item = 0; item < itemSlots; ++item)
        for (std::uint32_t channel = 0; channel < details.channelCount; ++channel)
            details.values[std::size_t(item) * details.channelCount + channel] =
                control->values[std::size_t(item) * lineChannels + channel];
    return MixerResult::NoError;
}

MixerResult InMemoryMixer::setControlDetails(MixerHandle handle, const MixerControlDetails& details) {
    std::lock_guard lock(mutex_);
    if (!open_.contains(handle)) return MixerResult::InvalidHandle;
    Write write{handle, details.controlId, details.channelCount, details.itemCount, {}};
    const std::size_t count = std::min(details.values.size(), details.valueCount());
    write.values.assign(details.values.begin(), details.values.begin() + static_cast<std::ptrdiff_t>(count));
    writes_.push_back(std::move(write));

    Control* control = findControl(details.controlId);
    if (!control) return MixerResult::InvalidControl;
    const std::uint32_t lineChannels = lineChannelCount(*control);
    const std::uint32_t items = (control->info.controlFlags & ControlFlag::Multiple) ? control->info.itemCount : 0;
    // A write of a single-item control may give 0 items.
    const bool itemsOk = details.itemCount == items || (items == 0 && details.itemCount <= 1);
    if (details.valueSizeBytes != 4 || !itemsOk || (details.channelCount != 1 && details.channelCount != lineChannels) ||
        details.values.size() < details.valueCount() || control->values.size() != storedValueCount(*control))
        return MixerResult::InvalidParam;
    if (control->writesFail) return MixerResult::Error;

    std::vector<std::uint32_t> updated = control->values;
    const std::uint32_t itemSlots = items == 0 ? 1 : items;
    for (std::uint32_t item = 0; item < itemSlots; ++item)
        for (std::uint32_t channel = 0; channel < lineChannels; ++channel) {
            // One channel given for a control with more: that value goes to every channel.
            const std::uint32_t from = details.channelCount == 1 ? 0 : channel;
            updated[std::size_t(item) * lineChannels + channel] =
                details.values[std::size_t(item) * details.channelCount + from];
        }
    if (updated != control->values) {
        control->values = std::move(updated);
        queueChange(*control);
    }
    return MixerResult::NoError;
}

std::vector<pollfd> InMemoryMixer::pollDescriptors(MixerHandle handle) {
    std::lock_guard lock(mutex_);
    auto it = open_.find(handle);
    if (it == open_.end() || it->second->eventFd < 0) return {};
    return {pollfd{it->second->eventFd, POLLIN, 0}};
}

void InMemoryMixer::dispatchPending(MixerHandle handle) {
    std::deque<Message> batch;
    MixerNotificationTarget* target = nullptr;
    {
        std::lock_guard lock(mutex_);
        auto it = open_.find(handle);
        if (it == open_.end()) return;
        batch.swap(it->second->pending);
        target = it->second->target;
        std::uint64_t drained = 0;
        [[maybe_unused]] auto got = ::read(it->second->eventFd, &drained, sizeof drained);
    }
    for (const Message& message : batch) {
        {
            // The target may close the mixer while handling a message; stop then.
            std::lock_guard lock(mutex_);
            if (!open_.contains(handle)) return;
        }
        if (target) target->onMixerMessage(message.message, message.deviceHandle, message.id);
    }
}

InMemoryMixer::Line* InMemoryMixer::findLine(std::uint32_t lineId) {
    for (Destination& destination : destinations_) {
        if (destination.line.info.lineId == lineId) return &destination.line;
        for (Line& source : destination.sources)
            if (source.info.lineId == lineId) return &source;
    }
    return nullptr;
}

InMemoryMixer::Control* InMemoryMixer::findControl(std::uint32_t controlId) {
    auto it = controls_.find(controlId);
    return it == controls_.end() ? nullptr : &it->second;
}

std::uint32_t InMemoryMixer::lineChannelCount(const Control& control) {
    const Line* line = findLine(control.lineId);
    return line ? line->info.channelCount : 0;
}

std::size_t InMemoryMixer::storedValueCount(const Control& control) {
    const std::uint32_t items = (control.info.controlFlags & ControlFlag::Multiple) ? control.info.itemCount : 0;
    return std::size_t(lineChannelCount(control)) * (items == 0 ? 1 : items);
}

void InMemoryMixer::queueChange(const Control& control) {
    for (auto& [handle, mixer] : open_) {
        if (!mixer->target) continue;
        if (isBoolean(control.info)) queue(*mixer, handle, kMessageLineChange, control.lineId);
        queue(*mixer, handle, kMessageControlChange, control.info.controlId);
    }
}

void InMemoryMixer::queue(OpenMixer& mixer, MixerHandle handle, std::uint32_t message, std::uintptr_t id) {
    mixer.pending.push_back(Message{message, handle, id});
    const std::uint64_t one = 1;
    [[maybe_unused]] auto put = ::write(mixer.eventFd, &one, sizeof one);
}

}  // namespace kelto::platform::mixer
