#pragma once
// The volume control of one mixer line, with the line's mute switch beside it. Reads and writes
// the volume as one level while keeping the left/right balance (fader mode Main), or acts on one
// channel, or on the balance itself.
//
// A program-wide array of ten of these exists (MixerLibs()); the viewer uses the first.
#include "mixer/CMixerMute.h"

#include <array>
#include <string>

namespace kelto::mixer {

// How SetHVSliderPos reads and SetFaderValue writes the volume.
enum class FaderMode : int {
    Left = 0,     // the left channel only
    Right = 1,    // the right channel only
    Main = 2,     // the louder channel as the level; writing keeps the balance
    Balance = 3,  // the balance as a position 0 … step count (read) or 0 … range (write)
};

// One source line of the bound destination, as offered for selection.
struct MixerLineInfo {
    std::uint32_t componentType = 0;
    std::string name;
    std::string shortName;
    std::string typeName;  // the platform's constant name of the component type
};

class CMixerLib : public CMixerBase {
public:
    explicit CMixerLib(pm::MixerService* service = nullptr);
    ~CMixerLib() override;

    // Lists the destination's source lines that have a volume control, then binds the volume
    // control of the destination of destinationType (sourceType kNoSourceLine) or of the source
    // line at lineNumber in that list, and the same line's mute switch. window receives the
    // change messages. True on success.
    bool Init(pm::MixerNotificationTarget* window, std::uint32_t destinationType, std::uint32_t sourceType,
              int lineNumber);
    // Releases the mute switch, the handle and the value buffer.
    void Close() override;

    // Reads the control and leaves the position for the current fader mode in value 0 (GetValue(0)).
    void SetHVSliderPos();
    // Writes value for the current fader mode (a value above the maximum writes the maximum).
    void SetFaderValue(std::uint32_t value);

    std::uint32_t GetMaximum() const { return m_maximum; }
    std::uint32_t GetMinimum() const { return m_minimum; }
    // Number of source lines with a volume control (at most kMaxSourceLines).
    int GetLineCount() const { return m_volumeLineCount; }
    // Source line lineNumber of that list; false when closed or out of range.
    bool GetLineInfo(int lineNumber, MixerLineInfo& info);

    // The mute switch of the bound line: its value, 0 when the read fails, -1 when none is bound.
    int GetMute() { return m_mute.GetMute(); }
    bool SetMute(std::uint32_t value) { return m_mute.SetMute(value); }

    // Value index of the buffer (0 when there is none).
    std::uint32_t GetValue(std::size_t index) const { return index < m_valueCount ? m_Value[index] : 0; }
    FaderMode GetFaderMode() const { return m_faderMode; }
    void SetFaderMode(FaderMode mode) { m_faderMode = mode; }
    float GetBalance() const { return m_balance; }
    std::uint32_t GetComponentType() const { return m_componentType; }
    std::uint32_t GetStepCount() const { return m_stepCount; }

private:
    void CollectVolumeLines(pm::MixerService& service, std::uint32_t destinationType);

    CMixerMute m_mute;
    int m_volumeLineCount = 0;
    std::uint32_t m_componentType = 0;
    FaderMode m_faderMode = FaderMode::Main;
    std::uint32_t m_stepCount = 0;
    std::uint32_t m_range = 0;
    float m_balance = 0.0f;  // -1 (left only) … 1 (right only)
    std::uint32_t m_maximum = 0;
    std::uint32_t m_minimum = 0;
};

// The program-wide mixer objects.
inline constexpr std::size_t kMixerLibCount = 10;
std::array<CMixerLib, kMixerLibCount>& MixerLibs();

}  // namespace kelto::mixer
