#pragma once
// A mixer that lives in memory, for tests. A test builds the device (destinations, their source
// lines, the lines' controls with ranges and values), can make an open or a control fail, changes
// values "from another program", and reads back every write the code under test made.
//
// Line identifiers: destination d is 0xFFFF0000 | d, source s of destination d is (s << 16) | d.
// Control identifiers count from 1 in the order the controls were added.
//
// Notifications follow the platform: every change of a control, whoever made it, queues a
// control-change message (a change of a boolean control, such as a mute switch, first a
// line-change message for its line) on each open handle that has a target. They are delivered by
// dispatchPending on the caller's thread; an eventfd per handle is readable while any are queued.
#include "platform/mixer/MixerService.h"

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace kelto::platform::mixer {

class InMemoryMixer final : public MixerService {
public:
    struct ControlSetup {
        std::uint32_t controlType = ControlType::Volume;
        std::uint32_t controlFlags = 0;
        std::uint32_t itemCount = 0;
        std::uint32_t minimum = 0;
        std::uint32_t maximum = 0xFFFF;
        std::uint32_t stepCount = 0xFFFF;
        std::string name;
        std::vector<std::uint32_t> values;  // initial values; missing ones are 0
    };

    struct Write {
        MixerHandle handle = kNoMixerHandle;
        std::uint32_t controlId = 0;
        std::uint32_t channelCount = 0;
        std::uint32_t itemCount = 0;
        std::vector<std::uint32_t> values;
    };

    struct Message {
        std::uint32_t message = 0;
        std::uintptr_t deviceHandle = 0;
        std::uintptr_t id = 0;
    };

    InMemoryMixer();
    ~InMemoryMixer() override;

    // --- building the device (before the code under test opens it) ---
    void setDeviceCount(std::uint32_t count);  // 1 by default; 0 = no mixer device
    void setOpenFails(bool fails);
    // Returns the line identifier.
    std::uint32_t addDestination(std::uint32_t componentType, std::uint32_t channelCount, std::string name,
                                 std::string shortName = {});
    std::uint32_t addSource(std::uint32_t destinationIndex, std::uint32_t componentType,
                            std::uint32_t channelCount, std::string name, std::string shortName = {});
    // Returns the control identifier.
    std::uint32_t addControl(std::uint32_t lineId, ControlSetup setup);
    void setControlFails(std::uint32_t controlId, bool readsFail, bool writesFail);

    // --- another program at work ---
    // Stores the values (one per channel and item) and queues the notifications.
    void changeFromOutside(std::uint32_t controlId, std::vector<std::uint32_t> values);
    void raiseLineChange(std::uint32_t lineId);

    // --- what the code under test did ---
    std::vector<Write> writes() const;
    void clearWrites();
    std::vector<std::uint32_t> values(std::uint32_t controlId) const;
    std::size_t openHandleCount() const;
    std::size_t pendingMessageCount(MixerHandle handle) const;

    // --- MixerService ---
    std::uint32_t deviceCount() override;
    MixerResult open(std::uint32_t deviceId, MixerNotificationTarget* target, std::uint32_t openFlags,
                     MixerHandle& handle) override;
    MixerResult close(MixerHandle handle) override;
    MixerResult getCaps(MixerHandle handle, MixerCaps& caps) override;
    MixerResult getLineInfo(MixerHandle handle, LineInfoQuery query, MixerLine& line) override;
    MixerResult getLineControl(MixerHandle handle, std::uint32_t lineId, LineControlsQuery query,
                               std::uint32_t idOrType, MixerControl& control) override;
    MixerResult getControlDetails(MixerHandle handle, MixerControlDetails& details) override;
    MixerResult setControlDetails(MixerHandle handle, const MixerControlDetails& details) override;
    std::vector<pollfd> pollDescriptors(MixerHandle handle) override;
    void dispatchPending(MixerHandle handle) override;

private:
    struct Control {
        MixerControl info;
        std::uint32_t lineId = 0;
        std::vector<std::uint32_t> values;  // channels × items of the line
        bool readsFail = false;
        bool writesFail = false;
    };
    struct Line {
        MixerLine info;
        std::vector<std::uint32_t> controlIds;
    };
    struct Destination {
        Line line;
        std::vector<Line> sources;
    };
    struct OpenMixer {
        MixerNotificationTarget* target = nullptr;
        std::deque<Message> pending;
        int eventFd = -1;
    };

    Line* findLine(std::uint32_t lineId);
    Control* findControl(std::uint32_t controlId);
    std::uint32_t lineChannelCount(const Control& control);
    std::size_t storedValueCount(const Control& control);
    void queueChange(const Control& control);  // mutex_ held
    void queue(OpenMixer& mixer, MixerHandle handle, std::uint32_t message, std::uintptr_t id);

    mutable std::mutex mutex_;
    std::uint32_t deviceCount_ = 1;
    bool openFails_ = false;
    std::vector<Destination> destinations_;
    std::map<std::uint32_t, Control> controls_;
    std::uint32_t nextControlId_ = 1;
    std::map<MixerHandle, std::unique_ptr<OpenMixer>> open_;
    MixerHandle nextHandle_ = 0x1000;
    std::vector<Write> writes_;
};

}  // namespace kelto::platform::mixer
