#include "rurorizi/ModuleLifecycle.h"

#include "rurorizi/AudioCommandLibrary.h"
#include "rurorizi/AudioRouting.h"
#include "rurorizi/BrooktreeRegistry.h"
#include "rurorizi/CAlpsTuner.h"
#include "rurorizi/CallerBuffers.h"
#include "rurorizi/DynLink.h"
#include "rurorizi/ModuleState.h"
#include "rurorizi/RegisterWord.h"
#include "rurorizi/SoftwareI2cProbe.h"

#include "platform/Trace.h"

#include <new>

namespace kelto::rurorizi {

namespace {

constexpr std::uint32_t kHardwareI2cClockHz = 100'000;
constexpr std::uint8_t kPhilipsAddress = 0xC0;
constexpr std::uint8_t kAlpsAddress = 0xC2;
constexpr std::uint8_t kLgAlpsAddress = 0xC6;

// The tuner kind from the bus: the first address that answers; Alps when none does (then nothing
// is written to the registry).
void probeTuner(ModuleState& state) {
    state.tunerKind = TunerType::Alps;
    const struct {
        std::uint8_t address;
        TunerType kind;
        const char* name;
    } candidates[] = {{kPhilipsAddress, TunerType::Philips, "Philips"},
                      {kAlpsAddress, TunerType::Alps, "Alps"},
                      {kLgAlpsAddress, TunerType::LgAlps, "LGAlps"}};
    for (const auto& candidate : candidates)
        if (dynLink::probeI2cAddress(candidate.address)) {
            state.tunerKind = candidate.kind;
            dynLink::writeTunerType(candidate.name);
            return;
        }
}

std::unique_ptr<CPhilipsTuner> makeTuner(ModuleState& state) {
    switch (state.tunerKind) {
    case TunerType::Philips:
        return std::unique_ptr<CPhilipsTuner>(new (std::nothrow) CPhilipsTuner(state.country, TunerType::Philips, kPhilipsAddress));
    case TunerType::LgAlps:
        return std::unique_ptr<CPhilipsTuner>(new (std::nothrow) CAlpsTuner(state.country, TunerType::LgAlps, kLgAlpsAddress));
    case TunerType::Alps: break;
    }
    return std::unique_ptr<CPhilipsTuner>(new (std::nothrow) CAlpsTuner(state.country, TunerType::Alps, kAlpsAddress));
}

void releaseEverything() {
    moduleState().tuner.reset();
    dynLink::releaseAudioCommands();
    dynLink::releaseVideoDriver();
    dynLink::forgetRegisterBlock();
    releaseCallerBuffers();
    resetModuleState();
}

bool fail(const char* why) {
    platform::tracef("RURORIZI.DLL: load failed: %s", why);
    releaseEverything();
    return false;
}

}  // namespace

bool attachLibrary(void* moduleInstance) {
    resetModuleState();
    setUpCallerBuffers();
    ModuleState& state = moduleState();

    if (!dynLink::bindVideoDriver()) return fail("BtVid_32.dll cannot be loaded");
    state.riscEnabled = dynLink::readRiscEnabled();
    if (dynLink::I2CIsInitOK() == 0) return fail("the I2C bus is not ready");
    probeTuner(state);
    dynLink::I2CIsInitOK();
    dynLink::I2CInitHWMode(kHardwareI2cClockHz);
    if (dynLink::GPIOIsInitOK() == 0) return fail("GPIO is not ready");
    dynLink::SetGPIOMODE(0);

    state.isBt878 = dynLink::IsBt878Family() != 0;
    if (!dynLink::obtainRegisterBlock(state.isBt878)) return fail("the card's register block cannot be had");
    state.moduleInstance = moduleInstance;

    if (dynLink::IsBt878Family() != 0 && state.riscEnabled) {
        switch (dynLink::bindAudioCommands()) {
        case dynLink::AudioBindResult::Bound: break;
        case dynLink::AudioBindResult::LibraryMissing: return fail("BtAud.dll cannot be loaded");
        case dynLink::AudioBindResult::FunctionMissing: return fail("BtAud.dll has no ProcessCommand");
        }
    }

    state.tuner = makeTuner(state);
    if (!state.tuner) return fail("no memory for the tuner object");
    return true;
}

void detachLibrary() {
    ModuleState& state = moduleState();
    dactl::stopAudioPath(0);
    dactl::writeGpioAudioValue(static_cast<int>(AudioRoute::Silent));
    if (!state.isBt878) dactl::setAudioRoute(static_cast<int>(AudioRoute::Silent));
    state.tuner.reset();
    releaseEverything();
}

}  // namespace kelto::rurorizi
