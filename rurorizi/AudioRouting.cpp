#include "rurorizi/AudioRouting.h"

#include "rurorizi/AudioCommandLibrary.h"
#include "rurorizi/DynLink.h"
#include "rurorizi/ModuleState.h"
#include "rurorizi/RegisterWord.h"
#include "rurorizi/ReturnCodes.h"

#include <cstdint>

namespace kelto::rurorizi::dactl {

namespace {

using dynLink::AudioCommand;

constexpr int kRouteExternal = static_cast<int>(AudioRoute::ExternalInput);
constexpr int kRouteTuner = static_cast<int>(AudioRoute::Tuner);
constexpr int kRouteSecond = static_cast<int>(AudioRoute::SecondInput);
constexpr int kRouteSilent = static_cast<int>(AudioRoute::Silent);
constexpr int kGpioAudioBits = 4;
constexpr int kHighestByteValue = 255;

ModuleState& state() { return moduleState(); }

bool riscCommandsAvailable() { return state().riscEnabled && dynLink::processCommandBound(); }

// The RISC path runs: mute and unmute go to the audio command library.
bool riscPathRunning() {
    return riscCommandsAvailable() && driverOk(dynLink::processCommand(AudioCommand::IsRunning, 0));
}

void enableGpioAudioOutputs() {
    for (int bit = 0; bit < kGpioAudioBits; ++bit) dynLink::SetGPOEBit(bit, 1);
}

bool writeGpioAudioBits(int value) { return driverOk(dynLink::SetGPDATABits(0, 3, std::uint32_t(value), 0)); }
bool writeGpioMuteBits() { return driverOk(dynLink::SetGPDATABits(0, 1, 3, 0)); }

int readGpioMuteBits() {
    dynLink::SetGPIE(0);
    std::uint32_t value = 0;
    if (!driverOk(dynLink::GetGPDATABits(0, 1, &value, 0))) return kAudioRouteFailed;
    return static_cast<int>(value);
}

bool inByteRange(int value) { return value >= 0 && value <= kHighestByteValue; }

}  // namespace

void writeGpioAudioValue(int value) {
    if (state().isBt878 && riscCommandsAvailable()) value = kRouteSilent;
    writeGpioAudioBits(value);
}

void applyAudioRoute(int route) {
    enableGpioAudioOutputs();
    const std::uint32_t word = dynLink::readAudioWord();
    if (route == kRouteExternal) {
        dynLink::writeAudioWord((word | dynLink::kExternalInputBit) & ~dynLink::kSecondInputBit);
        writeGpioAudioValue(kRouteExternal);
    } else if (route == kRouteTuner || route == kRouteSecond) {
        std::uint32_t updated = word & ~(dynLink::kExternalInputBit | dynLink::kSecondInputBit);
        if (state().audioRoute == kRouteSecond) updated |= dynLink::kSecondInputBit;
        dynLink::writeAudioWord(updated);
        writeGpioAudioValue(route);
    } else {
        writeGpioAudioValue(kRouteSilent);
    }
}

int readGpioAudioValue() { return state().isBt878 ? state().audioRoute : readGpioMuteBits(); }

int setAudioRoute(int route) {
    if (route < 0 || route > kRouteSilent) return kValueOutOfRange;
    if (!state().isBt878) {
        enableGpioAudioOutputs();
        // Muted: remember the route for the unmute, write nothing.
        if (readGpioAudioValue() == kRouteSilent) {
            state().audioRoute = route;
            return kSuccess;
        }
        if (!writeGpioAudioBits(route)) return kAudioRouteFailed;
        state().audioRoute = route;
        return kSuccess;
    }
    if (route == kRouteSilent) {
        if (riscPathRunning())
            return driverOk(dynLink::processCommand(AudioCommand::Mute, 0)) ? kSuccess : kAudioRouteFailed;
        return stopAudioPath(0) == kSuccess ? kSuccess : kAudioRouteFailed;
    }
    int result = kSuccess;
    if (riscPathRunning()) {
        if (!driverOk(dynLink::processCommand(AudioCommand::Unmute, 0))) result = kAudioRouteFailed;
        else if (state().muted) mute(0);
    } else if (startAudioPath(0) != kSuccess) {
        result = kAudioRouteFailed;
    }
    applyAudioRoute(route);
    if (state().muted) mute(0);
    return result;
}

int mute(int value) {
    if (!inByteRange(value)) return kValueOutOfRange;
    if (state().isBt878) {
        state().muted = value == 0;
        applyAudioRoute(state().muted ? kRouteSilent : state().audioRoute);
        if (!state().riscEnabled) return kSuccess;
        const AudioCommand command = state().muted ? AudioCommand::Mute : AudioCommand::Unmute;
        return driverOk(dynLink::processCommand(command, 0)) ? kSuccess : kAudioRouteFailed;
    }
    enableGpioAudioOutputs();
    bool written = true;
    if (value == 0) {
        if (readGpioAudioValue() == kRouteSilent) return kSuccess;
        written = writeGpioMuteBits();
    } else {
        written = writeGpioAudioBits(state().audioRoute);
    }
    return written ? kSuccess : kAudioRouteFailed;
}

int audioState() {
    if (state().isBt878) return state().muted ? 0 : 1;
    const int value = readGpioMuteBits();
    if (value == kAudioRouteFailed) return kAudioRouteFailed;
    return value == kRouteSilent ? 0 : 1;
}

int radioMute(int value) {
    if (!inByteRange(value)) return kValueOutOfRange;
    state().muted = value == 1;
    applyAudioRoute(state().muted ? kRouteSilent : state().audioRoute);
    if (!state().riscEnabled) return kSuccess;
    const AudioCommand command = state().muted ? AudioCommand::Mute : AudioCommand::Unmute;
    return driverOk(dynLink::processCommand(command, 0)) ? kSuccess : kRadioMuteFailed;
}

int radioAudioState() { return state().muted ? 0 : 1; }

int startAudioPath(int value) {
    if (!state().riscEnabled) {
        applyAudioRoute(state().audioRoute);
        return kSuccess;
    }
    if (!dynLink::processCommandBound()) return kAudioNotServed;
    applyAudioRoute(state().audioRoute);
    return dynLink::processCommand(AudioCommand::StartPath, std::uint32_t(value));
}

int stopAudioPath(int value) {
    if (state().riscEnabled) {
        if (!dynLink::processCommandBound()) return kAudioNotServed;
        return dynLink::processCommand(AudioCommand::StopPath, std::uint32_t(value));
    }
    // Release the GPIO audio outputs; when one cannot be released the card still drives the old
    // route, so the register word keeps its value and the failure is reported.
    for (int bit = 0; bit < kGpioAudioBits; ++bit)
        if (!driverOk(dynLink::SetGPOEBit(bit, 0))) return kAudioRouteFailed;
    dynLink::restoreAudioWord();
    return kSuccess;
}

int chooseRoute(int value) {
    switch (value) {
    case kRouteTuner:
    case kRouteSecond: state().audioRoute = value; break;
    case kRouteSilent: state().audioRoute = kRouteExternal; break;
    default: state().audioRoute = kRouteSilent; break;
    }
    if (dynLink::processCommandBound())
        return dynLink::processCommand(AudioCommand::ChooseRoute, std::uint32_t(value));
    if (!state().riscEnabled) {
        // Silence the card until the audio path starts. On a Bt848 setting a route also
        // remembers it; the choice just made must survive, since the start plays it.
        const int chosen = state().audioRoute;
        const int result = setAudioRoute(kRouteSilent);
        state().audioRoute = chosen;
        return result;
    }
    return kSuccess;
}

}  // namespace kelto::rurorizi::dactl
