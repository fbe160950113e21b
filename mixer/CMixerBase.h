#pragma once
// One bound mixer control: finds a destination line by component type, optionally one of its
// source lines, opens the mixer (with a notification target for change messages), and holds the
// line's control of a wanted type together with a buffer for its values.
//
// Every call comes from the user-interface thread. Every operation on a closed object does nothing.
#include "platform/mixer/MixerService.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace kelto::mixer {

namespace pm = platform::mixer;

// Stands for "no source line": the destination itself is bound (one past the last source type).
inline constexpr std::uint32_t kNoSourceLine = pm::ComponentType::SrcLast + 1;  // 4107

// Most source lines with a volume control a binding remembers; further ones are not offered.
inline constexpr std::size_t kMaxSourceLines = 20;

// Largest value buffer a control may ask for (values); a control that claims more is refused
// as an allocation failure instead of exhausting memory.
inline constexpr std::size_t kMaxControlValues = std::size_t(1) << 20;

class CMixerBase {
public:
    // service: the mixer service to use; null means the process-wide one (looked up at Init).
    explicit CMixerBase(pm::MixerService* service = nullptr);
    virtual ~CMixerBase();
    CMixerBase(const CMixerBase&) = delete;
    CMixerBase& operator=(const CMixerBase&) = delete;

    // Binds the control of controlType on the destination of destinationType, or on source line
    // sourceIndex of that destination when sourceType is not kNoSourceLine. window receives the
    // change messages (may be null). True on success; on failure the object is closed and a
    // diagnostic was reported.
    bool Init(std::uint32_t destinationType, std::uint32_t sourceType, std::uint32_t controlType,
              pm::MixerNotificationTarget* window, int sourceIndex);
    // Releases the handle and the value buffer.
    virtual void Close();

    bool IsOpen() const { return m_hMixer != pm::kNoMixerHandle; }
    pm::MixerHandle handle() const { return m_hMixer; }
    // The service the object is bound through (valid while open).
    pm::MixerService* service() const { return m_boundService; }

    const std::string& lineName() const { return m_lineName; }
    const std::string& destinationName() const { return m_destinationName; }
    const std::string& lineShortName() const { return m_lineShortName; }
    std::uint32_t lineId() const { return m_lineId; }
    std::uint32_t channelCount() const { return m_channelCount; }
    const pm::MixerControl& control() const { return m_control; }

protected:
    // Sets up the details block and allocates the value buffer for the bound control.
    bool InitMXDetails();
    // Reads the control's values into the buffer / writes the buffer to the control.
    bool ReadValues();
    bool WriteValues();
    // Finds the destination of destinationType on an open handle; false when none has it.
    static bool FindDestination(pm::MixerService& service, pm::MixerHandle handle, std::uint32_t destinationType,
                                pm::MixerLine& destination);
    void FreeValues();

    pm::MixerService* m_service;                 // as given at construction
    pm::MixerService* m_boundService = nullptr;  // the one the handle belongs to

    pm::MixerHandle m_hMixer = pm::kNoMixerHandle;
    std::uint32_t m_destinationIndex = 0;
    int m_lineCount = 0;  // source lines of the destination with a volume control
    std::array<std::int8_t, kMaxSourceLines> m_sourceIndexes{};
    std::string m_lineName;
    std::string m_destinationName;
    std::string m_lineShortName;
    pm::MixerControl m_control;
    std::uint32_t m_channelCount = 0;
    std::uint32_t m_lineId = 0;
    pm::MixerControlDetails m_details;
    std::unique_ptr<std::uint32_t[]> m_Value;  // channels × items values of the bound control
    std::size_t m_valueCount = 0;
};

}  // namespace kelto::mixer
