#include "platform/mixer/MixerTypeNames.h"

#include "platform/Text.h"
#include "platform/mixer/MixerTypes.h"

#include <utility>

namespace kelto::platform::mixer {
namespace {

struct NamedValue {
    std::uint32_t value;
    const char* name;
};

// The specific names only: aliases such as ..._DST_FIRST or ..._SRC_LAST share a value with one of these.
constexpr NamedValue kComponentTypes[] = {
    {ComponentType::DstUndefined, "MIXERLINE_COMPONENTTYPE_DST_UNDEFINED"},
    {ComponentType::DstDigital, "MIXERLINE_COMPONENTTYPE_DST_DIGITAL"},
    {ComponentType::DstLine, "MIXERLINE_COMPONENTTYPE_DST_LINE"},
    {ComponentType::DstMonitor, "MIXERLINE_COMPONENTTYPE_DST_MONITOR"},
    {ComponentType::DstSpeakers, "MIXERLINE_COMPONENTTYPE_DST_SPEAKERS"},
    {ComponentType::DstHeadphones, "MIXERLINE_COMPONENTTYPE_DST_HEADPHONES"},
    {ComponentType::DstTelephone, "MIXERLINE_COMPONENTTYPE_DST_TELEPHONE"},
    {ComponentType::DstWaveIn, "MIXERLINE_COMPONENTTYPE_DST_WAVEIN"},
    {ComponentType::DstVoiceIn, "MIXERLINE_COMPONENTTYPE_DST_VOICEIN"},
    {ComponentType::SrcUndefined, "MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED"},
    {ComponentType::SrcDigital, "MIXERLINE_COMPONENTTYPE_SRC_DIGITAL"},
    {ComponentType::SrcLine, "MIXERLINE_COMPONENTTYPE_SRC_LINE"},
    {ComponentType::SrcMicrophone, "MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE"},
    {ComponentType::SrcSynthesizer, "MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER"},
    {ComponentType::SrcCompactDisc, "MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC"},
    {ComponentType::SrcTelephone, "MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE"},
    {ComponentType::SrcPcSpeaker, "MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER"},
    {ComponentType::SrcWaveOut, "MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT"},
    {ComponentType::SrcAuxiliary, "MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY"},
    {ComponentType::SrcAnalog, "MIXERLINE_COMPONENTTYPE_SRC_ANALOG"},
};

constexpr NamedValue kControlTypes[] = {
    {ControlType::Custom, "MIXERCONTROL_CONTROLTYPE_CUSTOM"},
    {ControlType::BooleanMeter, "MIXERCONTROL_CONTROLTYPE_BOOLEANMETER"},
    {ControlType::SignedMeter, "MIXERCONTROL_CONTROLTYPE_SIGNEDMETER"},
    {ControlType::PeakMeter, "MIXERCONTROL_CONTROLTYPE_PEAKMETER"},
    {ControlType::UnsignedMeter, "MIXERCONTROL_CONTROLTYPE_UNSIGNEDMETER"},
    {ControlType::Boolean, "MIXERCONTROL_CONTROLTYPE_BOOLEAN"},
    {ControlType::OnOff, "MIXERCONTROL_CONTROLTYPE_ONOFF"},
    {ControlType::Mute, "MIXERCONTROL_CONTROLTYPE_MUTE"},
    {ControlType::Mono, "MIXERCONTROL_CONTROLTYPE_MONO"},
    {ControlType::Loudness, "MIXERCONTROL_CONTROLTYPE_LOUDNESS"},
    {ControlType::StereoEnhance, "MIXERCONTROL_CONTROLTYPE_STEREOENH"},
    {ControlType::BassBoost, "MIXERCONTROL_CONTROLTYPE_BASS_BOOST"},
    {ControlType::Button, "MIXERCONTROL_CONTROLTYPE_BUTTON"},
    {ControlType::Signed, "MIXERCONTROL_CONTROLTYPE_SIGNED"},
    {ControlType::Unsigned, "MIXERCONTROL_CONTROLTYPE_UNSIGNED"},
    {ControlType::Decibels, "MIXERCONTROL_CONTROLTYPE_DECIBELS"},
    {ControlType::Percent, "MIXERCONTROL_CONTROLTYPE_PERCENT"},
    {ControlType::Slider, "MIXERCONTROL_CONTROLTYPE_SLIDER"},
    {ControlType::Pan, "MIXERCONTROL_CONTROLTYPE_PAN"},
    {ControlType::QSoundPan, "MIXERCONTROL_CONTROLTYPE_QSOUNDPAN"},
    {ControlType::Fader, "MIXERCONTROL_CONTROLTYPE_FADER"},
    {ControlType::Volume, "MIXERCONTROL_CONTROLTYPE_VOLUME"},
    {ControlType::Bass, "MIXERCONTROL_CONTROLTYPE_BASS"},
    {ControlType::Treble, "MIXERCONTROL_CONTROLTYPE_TREBLE"},
    {ControlType::Equalizer, "MIXERCONTROL_CONTROLTYPE_EQUALIZER"},
    {ControlType::MicroTime, "MIXERCONTROL_CONTROLTYPE_MICROTIME"},
    {ControlType::MilliTime, "MIXERCONTROL_CONTROLTYPE_MILLITIME"},
    {ControlType::SingleSelect, "MIXERCONTROL_CONTROLTYPE_SINGLESELECT"},
    {ControlType::Mux, "MIXERCONTROL_CONTROLTYPE_MUX"},
    {ControlType::MultipleSelect, "MIXERCONTROL_CONTROLTYPE_MULTIPLESELECT"},
    {ControlType::Mixer, "MIXERCONTROL_CONTROLTYPE_MIXER"},
};

template <std::size_t N>
std::string lookUp(const NamedValue (&table)[N], std::uint32_t value) {
    for (const auto& entry : table)
        if (entry.value == value) return entry.name;
    return formatText("unknown (0x%08X)", value);
}

}  // namespace

std::string componentTypeName(std::uint32_t componentType) { return lookUp(kComponentTypes, componentType); }
std::string controlTypeName(std::uint32_t controlType) { return lookUp(kControlTypes, controlType); }

}  // namespace kelto::platform::mixer
