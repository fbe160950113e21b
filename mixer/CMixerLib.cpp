#include "mixer/CMixerLib.h"

#include "mixer/MixerDiagnostics.h"
#include "platform/mixer/MixerTypeNames.h"

#include <algorithm>

namespace kelto::mixer {

using pm::MixerResult;

namespace {
constexpr const char* kWrongSubType = "Wrong sub-type for a fader control.";

std::uint32_t truncated(double value) { return value <= 0.0 ? 0u : static_cast<std::uint32_t>(value); }
}  // namespace

CMixerLib::CMixerLib(pm::MixerService* service) : CMixerBase(service), m_mute(service) {}

CMixerLib::~CMixerLib() { CMixerLib::Close(); }

void CMixerLib::CollectVolumeLines(pm::MixerService& service, std::uint32_t destinationType) {
    m_lineCount = 0;
    m_sourceIndexes.fill(0);
    if (service.deviceCount() == 0) return;
    pm::MixerHandle handle = pm::kNoMixerHandle;
    if (service.open(0, nullptr, 0, handle) != MixerResult::NoError) return;
    pm::MixerLine destination;
    if (FindDestination(service, handle, destinationType, destination)) {
        for (std::uint32_t source = 0; source < destination.connectionCount; ++source) {
            if (m_lineCount == static_cast<int>(kMaxSourceLines)) break;  // further lines are not offered
            if (source > 127) break;                                       // the list holds signed bytes
            pm::MixerLine line;
            line.destination = destination.destination;
            line.source = source;
            if (service.getLineInfo(handle, pm::LineInfoQuery::BySource, line) != MixerResult::NoError) continue;
            pm::MixerControl volume;
            if (service.getLineControl(handle, line.lineId, pm::LineControlsQuery::OneByType, pm::ControlType::Volume,
                                       volume) == MixerResult::NoError)
                m_sourceIndexes[static_cast<std::size_t>(m_lineCount++)] = static_cast<std::int8_t>(source);
        }
    }
    service.close(handle);
}

bool CMixerLib::Init(pm::MixerNotificationTarget* window, std::uint32_t destinationType, std::uint32_t sourceType,
                     int lineNumber) {
    Close();
    pm::MixerService& service = m_service ? *m_service : pm::mixerService();
    CollectVolumeLines(service, destinationType);
    m_componentType = sourceType == kNoSourceLine ? destinationType : sourceType;
    m_balance = 0.0f;  // a new line starts centred, not with the balance of the line bound before

    // A line number outside the list names no source line, and the binding fails as for a missing one.
    const int sourceIndex =
        lineNumber >= 0 && lineNumber < m_lineCount ? m_sourceIndexes[static_cast<std::size_t>(lineNumber)] : -1;
    if (!CMixerBase::Init(destinationType, sourceType, pm::ControlType::Volume, window, sourceIndex)) return false;

    m_maximum = m_control.maximum;
    m_minimum = m_control.minimum;
    m_range = m_maximum - m_minimum;
    m_stepCount = m_control.stepCount;
    if (!m_Value) {
        reportMixerDiagnostic("CMixerLib::Init", "m_Value NULL.");
        Close();
        return false;
    }
    m_volumeLineCount = m_lineCount;
    // The volume handle already carries the change messages of the whole mixer; the switch is
    // bound without a window so that no message arrives twice.
    m_mute.Init(destinationType, sourceType, nullptr, sourceIndex);
    return true;
}

void CMixerLib::Close() {
    m_mute.Close();
    m_volumeLineCount = 0;
    CMixerBase::Close();
}

void CMixerLib::SetHVSliderPos() {
    if (!IsOpen() || !m_Value) return;
    if (!ReadValues()) return;
    std::uint32_t* values = m_Value.get();
    const bool stereo = m_details.channelCount >= 2;
    std::uint32_t level = values[0];
    if (stereo) {
        level = std::max(values[0], values[1]);
        // A silent line keeps the balance it had.
        if (level > 0) m_balance = static_cast<float>((double(values[1]) - double(values[0])) / double(level));
    }
    switch (m_faderMode) {
    case FaderMode::Left:
        break;
    case FaderMode::Right:
        if (stereo) values[0] = values[1];
        break;
    case FaderMode::Main:
        values[0] = level;
        break;
    case FaderMode::Balance:
        if (level > 0) values[0] = truncated((double(m_balance) + 1.0) * double(m_stepCount) * 0.5);
        break;
    default:
        reportMixerDiagnostic("CMixerLib::SetHVSliderPos", kWrongSubType);
        break;
    }
}

void CMixerLib::SetFaderValue(std::uint32_t value) {
    if (!IsOpen() || !m_Value) return;
    value = std::min(value, m_maximum);
    std::uint32_t* values = m_Value.get();
    const bool stereo = m_details.channelCount > 1;
    const std::uint32_t level = stereo ? std::max(values[0], values[1]) : values[0];
    // With one channel there is no value 1: what a mode would write there is dropped.
    std::uint32_t ignored = 0;
    std::uint32_t& right = stereo ? values[1] : ignored;

    switch (m_faderMode) {
    case FaderMode::Left:
        values[0] = value;
        break;
    case FaderMode::Right:
        (stereo ? values[1] : values[0]) = value;
        break;
    case FaderMode::Main:
        if (!stereo) {
            values[0] = value;
        } else if (m_balance > 0) {
            values[1] = value;
            values[0] = truncated((1.0 - double(m_balance)) * value);
        } else {
            values[0] = value;
            values[1] = truncated((1.0 + double(m_balance)) * value);
        }
        break;
    case FaderMode::Balance:
        if (m_range == 0) {
            // A control without a range has no balance to set; both sides keep the level.
            values[0] = level;
            right = level;
        } else if (value > m_range / 2) {
            right = level;
            values[0] = truncated((1.0 - double(value) / m_range) * 2.0 * level);
        } else {
            values[0] = level;
            right = truncated(2.0 * value * level / m_range);
        }
        break;
    default:
        reportMixerDiagnostic("CMixerLib::SetFaderValue", kWrongSubType);
        return;
    }
    WriteValues();
}

bool CMixerLib::GetLineInfo(int lineNumber, MixerLineInfo& info) {
    if (!IsOpen() || lineNumber < 0 || lineNumber >= m_volumeLineCount) return false;
    pm::MixerLine line;
    line.destination = m_destinationIndex;
    line.source = static_cast<std::uint32_t>(m_sourceIndexes[static_cast<std::size_t>(lineNumber)]);
    if (m_boundService->getLineInfo(m_hMixer, pm::LineInfoQuery::BySource, line) != MixerResult::NoError) return false;
    info.componentType = line.componentType;
    info.name = line.name;
    info.shortName = line.shortName;
    info.typeName = pm::componentTypeName(line.componentType);
    return true;
}

std::array<CMixerLib, kMixerLibCount>& MixerLibs() {
    static std::array<CMixerLib, kMixerLibCount> libs;
    return libs;
}

}  // namespace kelto::mixer
