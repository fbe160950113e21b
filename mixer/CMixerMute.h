#pragma once
// The mute switch of one mixer line.
#include "mixer/CMixerBase.h"

namespace kelto::mixer {

class CMixerMute : public CMixerBase {
public:
    explicit CMixerMute(pm::MixerService* service = nullptr);

    // Binds the mute switch of the destination of destinationType, or of its source line
    // sourceIndex when sourceType is not kNoSourceLine. True on success.
    bool Init(std::uint32_t destinationType, std::uint32_t sourceType, pm::MixerNotificationTarget* window,
              int sourceIndex);
    void Close() override;

    // The switch's value (non-zero = muted); 0 when the read fails, -1 when nothing is bound.
    int GetMute();
    // Writes value to the switch (one value for every channel). False when nothing is bound or
    // the write failed.
    bool SetMute(std::uint32_t value);

    std::uint32_t boundLineId() const { return m_muteLineId; }

private:
    std::uint32_t m_muteLineId = 0;
};

}  // namespace kelto::mixer
