#include "mixer/CMixerBase.h"

#include "mixer/MixerDiagnostics.h"
#include "platform/Text.h"
#include "platform/mixer/MixerTypeNames.h"

#include <new>

namespace kelto::mixer {

using platform::formatText;
using pm::MixerResult;

namespace {
constexpr const char* kInit = "CMixerBase::Init";
constexpr const char* kInitDetails = "CMixerBase::InitMXDetails";
}  // namespace

CMixerBase::CMixerBase(pm::MixerService* service) : m_service(service) {}

CMixerBase::~CMixerBase() { CMixerBase::Close(); }

bool CMixerBase::Init(std::uint32_t destinationType, std::uint32_t sourceType, std::uint32_t controlType,
                      pm::MixerNotificationTarget* window, int sourceIndex) {
    pm::MixerService& service = m_service ? *m_service : pm::mixerService();
    if (service.deviceCount() == 0) {
        reportMixerDiagnostic(kInit, "No mixer device present");
        Close();
        return false;
    }
    Close();
    m_boundService = &service;
    const std::uint32_t openFlags = window ? pm::kOpenCallbackWindow : 0;
    if (service.open(0, window, openFlags, m_hMixer) != MixerResult::NoError) {
        m_hMixer = pm::kNoMixerHandle;
        reportMixerDiagnostic(kInit, "Could not open mixer device");
        Close();
        return false;
    }

    pm::MixerLine destination;
    if (!FindDestination(service, m_hMixer, destinationType, destination)) {
        reportMixerDiagnostic(kInit, formatText("Warning: the destination line \n%s\nwas not found.",
                                                pm::componentTypeName(destinationType).c_str()));
        Close();
        return false;
    }
    m_destinationIndex = destination.destination;
    m_destinationName = destination.name;

    pm::MixerLine line = destination;
    if (sourceType != kNoSourceLine) {
        pm::MixerLine source;
        source.destination = destination.destination;
        source.source = static_cast<std::uint32_t>(sourceIndex);
        if (sourceIndex < 0 || service.getLineInfo(m_hMixer, pm::LineInfoQuery::BySource, source) != MixerResult::NoError) {
            reportMixerDiagnostic(
                kInit, formatText("Warning: the source line \n%s\n not found.\n\n(Associated to Destination line \n%s)",
                                  pm::componentTypeName(sourceType).c_str(),
                                  pm::componentTypeName(destinationType).c_str()));
            Close();
            return false;
        }
        line = source;
    }
    m_lineId = line.lineId;
    m_channelCount = line.channelCount;
    m_lineName = line.name;
    m_lineShortName = line.shortName;

    if (line.controlCount == 0) {
        reportMixerDiagnostic(kInit, formatText("No controls available for this audio line: %s", m_lineName.c_str()));
        Close();
        return false;
    }
    if (service.getLineControl(m_hMixer, m_lineId, pm::LineControlsQuery::OneByType, controlType, m_control) !=
        MixerResult::NoError) {
        reportMixerDiagnostic(
            kInit, formatText("Could not find specified mixer control. Associated Windows control will be disabled.\n"
                              "Control type: %s,\n\nDest line type: %s,\nSrc  line type: %s\n",
                              pm::controlTypeName(controlType).c_str(), pm::componentTypeName(destinationType).c_str(),
                              pm::componentTypeName(sourceType).c_str()));
        Close();
        return false;
    }
    if (!InitMXDetails()) {
        Close();
        return false;
    }
    return true;
}

bool CMixerBase::FindDestination(pm::MixerService& service, pm::MixerHandle handle, std::uint32_t destinationType,
                                 pm::MixerLine& destination) {
    pm::MixerCaps caps;
    if (service.getCaps(handle, caps) != MixerResult::NoError) return false;
    for (std::uint32_t index = 0; index < caps.destinationCount; ++index) {
        pm::MixerLine line;
        line.destination = index;
        if (service.getLineInfo(handle, pm::LineInfoQuery::ByDestination, line) != MixerResult::NoError)
            return false;
        if (line.componentType == destinationType) {
            destination = line;
            return true;
        }
    }
    return false;
}

bool CMixerBase::InitMXDetails() {
    FreeValues();
    m_details = pm::MixerControlDetails{};
    m_details.controlId = m_control.controlId;
    m_details.channelCount = (m_control.controlFlags & pm::ControlFlag::Uniform) ? 1 : m_channelCount;
    m_details.itemCount = m_control.itemCount;

    switch (m_control.controlType & pm::ControlType::UnitsMask) {
    case pm::ControlType::UnitsBoolean:
    case pm::ControlType::UnitsSigned:
    case pm::ControlType::UnitsUnsigned:
    case pm::ControlType::UnitsDecibels:
    case pm::ControlType::UnitsPercent:
        break;
    default:
        reportMixerDiagnostic(kInitDetails, "Control uses unknown units.");
        return false;
    }

    m_details.valueSizeBytes = 4;
    const std::size_t items = (m_control.controlFlags & pm::ControlFlag::Multiple) ? m_control.itemCount : 1;
    const std::size_t count = std::size_t(m_details.channelCount) * items;
    if (count > kMaxControlValues) {
        reportMixerDiagnostic(kInitDetails, "Memory allocation error.");
        return false;
    }
    if (count > 0) {
        m_Value.reset(new (std::nothrow) std::uint32_t[count]());
        if (!m_Value) {
            reportMixerDiagnostic(kInitDetails, "Memory allocation error.");
            return false;
        }
    }
    // A control without any value (a line of no channels) leaves the buffer empty; the owner decides.
    m_valueCount = count;
    m_details.values = std::span<std::uint32_t>(m_Value.get(), m_Value ? count : 0);
    return true;
}

bool CMixerBase::ReadValues() {
    if (!IsOpen() || !m_Value) return false;
    return m_boundService->getControlDetails(m_hMixer, m_details) == MixerResult::NoError;
}

bool CMixerBase::WriteValues() {
    if (!IsOpen() || !m_Value) return false;
    return m_boundService->setControlDetails(m_hMixer, m_details) == MixerResult::NoError;
}

void CMixerBase::FreeValues() {
    m_Value.reset();
    m_valueCount = 0;
    m_details.values = {};
}

void CMixerBase::Close() {
    if (m_hMixer != pm::kNoMixerHandle && m_boundService) m_boundService->close(m_hMixer);
    m_hMixer = pm::kNoMixerHandle;
    m_boundService = nullptr;
    FreeValues();
}

}  // namespace kelto::mixer
