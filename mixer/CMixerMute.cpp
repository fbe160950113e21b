#include "mixer/CMixerMute.h"

namespace kelto::mixer {

CMixerMute::CMixerMute(pm::MixerService* service) : CMixerBase(service) {}

bool CMixerMute::Init(std::uint32_t destinationType, std::uint32_t sourceType, pm::MixerNotificationTarget* window,
                      int sourceIndex) {
    const bool bound = CMixerBase::Init(destinationType, sourceType, pm::ControlType::Mute, window, sourceIndex);
    m_muteLineId = bound ? m_lineId : 0;
    return bound;
}

void CMixerMute::Close() {
    m_muteLineId = 0;
    CMixerBase::Close();
}

int CMixerMute::GetMute() {
    if (!IsOpen() || !m_Value) return -1;
    if (!ReadValues()) return 0;
    return static_cast<int>(m_Value[0]);
}

bool CMixerMute::SetMute(std::uint32_t value) {
    if (!IsOpen()) return false;
    std::uint32_t single[1] = {value};
    pm::MixerControlDetails details;
    details.controlId = m_control.controlId;
    details.channelCount = 1;
    details.itemCount = 0;
    details.values = single;
    return m_boundService->setControlDetails(m_hMixer, details) == pm::MixerResult::NoError;
}

}  // namespace kelto::mixer
