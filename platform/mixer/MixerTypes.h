#pragma once
// The system mixer's vocabulary: the identifiers and records of the platform mixer service the
// viewer was written against (component types, control types and units, query flags, result
// codes, line and control records), with their published numeric values, in a C++ form.
#include <cstdint>
#include <span>
#include <string>

namespace kelto::platform::mixer {

// An open mixer; 0 is no mixer. Handles are never reused while the service lives.
using MixerHandle = std::uintptr_t;
inline constexpr MixerHandle kNoMixerHandle = 0;

// Results of every service call (the platform's numbers).
enum class MixerResult : std::uint32_t {
    NoError = 0,
    Error = 1,
    BadDeviceId = 2,
    InvalidHandle = 5,
    NoDriver = 6,
    NoMemory = 7,
    InvalidFlag = 10,
    InvalidParam = 11,
    InvalidLine = 1024,
    InvalidControl = 1025,
    InvalidValue = 1026,
};

// Line component types. Destinations count from 0, sources from 0x1000.
struct ComponentType {
    static constexpr std::uint32_t DstUndefined = 0;
    static constexpr std::uint32_t DstDigital = 1;
    static constexpr std::uint32_t DstLine = 2;
    static constexpr std::uint32_t DstMonitor = 3;
    static constexpr std::uint32_t DstSpeakers = 4;
    static constexpr std::uint32_t DstHeadphones = 5;
    static constexpr std::uint32_t DstTelephone = 6;
    static constexpr std::uint32_t DstWaveIn = 7;
    static constexpr std::uint32_t DstVoiceIn = 8;
    static constexpr std::uint32_t DstLast = DstVoiceIn;

    static constexpr std::uint32_t SrcUndefined = 0x1000;
    static constexpr std::uint32_t SrcDigital = 0x1001;
    static constexpr std::uint32_t SrcLine = 0x1002;
    static constexpr std::uint32_t SrcMicrophone = 0x1003;
    static constexpr std::uint32_t SrcSynthesizer = 0x1004;
    static constexpr std::uint32_t SrcCompactDisc = 0x1005;
    static constexpr std::uint32_t SrcTelephone = 0x1006;
    static constexpr std::uint32_t SrcPcSpeaker = 0x1007;
    static constexpr std::uint32_t SrcWaveOut = 0x1008;
    static constexpr std::uint32_t SrcAuxiliary = 0x1009;
    static constexpr std::uint32_t SrcAnalog = 0x100A;
    static constexpr std::uint32_t SrcLast = SrcAnalog;
};

// Control types: class (top nibble), subclass, units (bits 16..23) and a running number.
struct ControlType {
    static constexpr std::uint32_t UnitsMask = 0x00FF0000;
    static constexpr std::uint32_t UnitsCustom = 0x00000000;
    static constexpr std::uint32_t UnitsBoolean = 0x00010000;
    static constexpr std::uint32_t UnitsSigned = 0x00020000;
    static constexpr std::uint32_t UnitsUnsigned = 0x00030000;
    static constexpr std::uint32_t UnitsDecibels = 0x00040000;
    static constexpr std::uint32_t UnitsPercent = 0x00050000;

    static constexpr std::uint32_t Custom = 0x00000000;
    static constexpr std::uint32_t BooleanMeter = 0x10010000;
    static constexpr std::uint32_t SignedMeter = 0x10020000;
    static constexpr std::uint32_t PeakMeter = 0x10020001;
    static constexpr std::uint32_t UnsignedMeter = 0x10030000;
    static constexpr std::uint32_t Boolean = 0x20010000;
    static constexpr std::uint32_t OnOff = 0x20010001;
    static constexpr std::uint32_t Mute = 0x20010002;
    static constexpr std::uint32_t Mono = 0x20010003;
    static constexpr std::uint32_t Loudness = 0x20010004;
    static constexpr std::uint32_t StereoEnhance = 0x20010005;
    static constexpr std::uint32_t BassBoost = 0x20012277;
    static constexpr std::uint32_t Button = 0x21010000;
    static constexpr std::uint32_t Signed = 0x30020000;
    static constexpr std::uint32_t Unsigned = 0x30030000;
    static constexpr std::uint32_t Decibels = 0x30040000;
    static constexpr std::uint32_t Percent = 0x30050000;
    static constexpr std::uint32_t Slider = 0x40020000;
    static constexpr std::uint32_t Pan = 0x40020001;
    static constexpr std::uint32_t QSoundPan = 0x40020002;
    static constexpr std::uint32_t Fader = 0x50030000;
    static constexpr std::uint32_t Volume = 0x50030001;
    static constexpr std::uint32_t Bass = 0x50030002;
    static constexpr std::uint32_t Treble = 0x50030003;
    static constexpr std::uint32_t Equalizer = 0x50030004;
    static constexpr std::uint32_t MicroTime = 0x60030000;
    static constexpr std::uint32_t MilliTime = 0x61030000;
    static constexpr std::uint32_t SingleSelect = 0x70010000;
    static constexpr std::uint32_t Mux = 0x70010001;
    static constexpr std::uint32_t MultipleSelect = 0x71010000;
    static constexpr std::uint32_t Mixer = 0x71010001;
};

// Control flags.
struct ControlFlag {
    static constexpr std::uint32_t Uniform = 0x00000001;   // one value stands for every channel
    static constexpr std::uint32_t Multiple = 0x00000002;  // the control has itemCount items per channel
    static constexpr std::uint32_t Disabled = 0x80000000;
};

// How getLineInfo finds a line (the platform's flag values).
enum class LineInfoQuery : std::uint32_t {
    ByDestination = 0,  // MixerLine::destination
    BySource = 1,       // MixerLine::destination and MixerLine::source
    ByLineId = 2,       // MixerLine::lineId
};

// How getLineControl finds a control.
enum class LineControlsQuery : std::uint32_t {
    OneById = 1,
    OneByType = 2,
};

// Open flag: send the line-change and control-change messages to the given target.
inline constexpr std::uint32_t kOpenCallbackWindow = 0x00010000;

// Messages sent to a notification target: wParam is the mixer handle, lParam the identifier.
inline constexpr std::uint32_t kMessageLineChange = 0x3D0;     // lParam: line identifier
inline constexpr std::uint32_t kMessageControlChange = 0x3D1;  // lParam: control identifier

// Longest names a line or control carries, in bytes (the platform's buffers less their terminator).
inline constexpr std::size_t kShortNameBytes = 15;
inline constexpr std::size_t kNameBytes = 63;

struct MixerCaps {
    std::string name;
    std::uint32_t destinationCount = 0;
};

struct MixerLine {
    std::uint32_t destination = 0;    // destination index (input for both queries by index)
    std::uint32_t source = 0;         // source index (input for BySource)
    std::uint32_t lineId = 0;
    std::uint32_t componentType = 0;
    std::uint32_t channelCount = 0;
    std::uint32_t connectionCount = 0;  // destinations: number of source lines
    std::uint32_t controlCount = 0;
    std::string shortName;
    std::string name;
};

struct MixerControl {
    std::uint32_t controlId = 0;
    std::uint32_t controlType = 0;
    std::uint32_t controlFlags = 0;
    std::uint32_t itemCount = 0;  // items per channel of a multiple-item control, else 0
    std::string shortName;
    std::string name;
    std::uint32_t minimum = 0;
    std::uint32_t maximum = 0;
    std::uint32_t stepCount = 0;
};

// One read or write of a control's values. The caller owns the values: channelCount ×
// max(itemCount, 1) values of valueSizeBytes (4) each. channelCount 1 on a control that is not
// uniform reads the first channel and writes every channel.
struct MixerControlDetails {
    std::uint32_t controlId = 0;
    std::uint32_t channelCount = 0;
    std::uint32_t itemCount = 0;
    std::uint32_t valueSizeBytes = 4;
    std::span<std::uint32_t> values;

    std::size_t valueCount() const {
        return std::size_t(channelCount) * (itemCount == 0 ? 1u : itemCount);
    }
};

}  // namespace kelto::platform::mixer
