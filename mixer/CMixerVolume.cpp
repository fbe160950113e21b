#include "mixer/CMixerVolume.h"

namespace kelto::mixer {

CMixerVolume::CMixerVolume(CMixerLib& mixer) : m_mixer(mixer) {}

CMixerVolume::~CMixerVolume() { Close(); }

bool CMixerVolume::Open(pm::MixerNotificationTarget* window) {
    if (m_mixer.IsOpen()) return m_openResult;
    m_window = window;
    m_selectedLine = -1;
    m_openResult = m_mixer.Init(window, pm::ComponentType::DstSpeakers, kNoSourceLine, 0);
    return m_openResult;
}

void CMixerVolume::Close() {
    if (m_mixer.IsOpen()) m_mixer.Close();
}

int CMixerVolume::GetLineCount() const {
    if (!m_mixer.IsOpen()) return 0;
    const int sources = m_mixer.GetLineCount();
    return sources == 0 ? 0 : sources + 1;
}

std::string CMixerVolume::GetLineName() const { return m_mixer.IsOpen() ? m_mixer.lineName() : std::string(); }

std::vector<std::string> CMixerVolume::GetLineNames() {
    std::vector<std::string> names;
    const int count = GetLineCount();
    if (count == 0) return names;
    names.push_back(m_mixer.destinationName());
    for (int n = 1; n < count; ++n) {
        MixerLineInfo info;
        names.push_back(m_mixer.GetLineInfo(n - 1, info) ? info.name : std::string());
    }
    return names;
}

bool CMixerVolume::SelectLine(int n) {
    if (n < 0) return false;
    if (n == 0) {
        Close();
        const bool bound = m_mixer.Init(m_window, pm::ComponentType::DstSpeakers, kNoSourceLine, 0);
        if (bound) m_selectedLine = -1;
        return bound;
    }
    // The line's component type is read while the mixer is still open. A line that is not in the
    // list (a stale saved choice) is refused and the current binding stays.
    MixerLineInfo info;
    if (!m_mixer.GetLineInfo(n - 1, info)) return false;
    Close();
    const bool bound = m_mixer.Init(m_window, pm::ComponentType::DstSpeakers, info.componentType, n - 1);
    if (bound) m_selectedLine = n - 1;
    return bound;
}

std::uint32_t CMixerVolume::GetVolume() {
    if (!m_mixer.IsOpen()) return 0;
    m_mixer.SetHVSliderPos();
    return m_mixer.GetValue(0);
}

bool CMixerVolume::SetVolume(std::uint32_t value) {
    if (!m_mixer.IsOpen()) return false;
    m_mixer.SetFaderValue(value);
    return true;
}

bool CMixerVolume::GetMute() {
    // -1 (no switch bound) is not a muted line.
    return m_mixer.GetMute() > 0;
}

bool CMixerVolume::SetMute(std::uint32_t value) { return m_mixer.SetMute(value); }

std::vector<pollfd> CMixerVolume::PollDescriptors() const {
    if (!m_mixer.IsOpen() || !m_mixer.service()) return {};
    return m_mixer.service()->pollDescriptors(m_mixer.handle());
}

void CMixerVolume::DispatchPending() {
    if (m_mixer.IsOpen() && m_mixer.service()) m_mixer.service()->dispatchPending(m_mixer.handle());
}

}  // namespace kelto::mixer
