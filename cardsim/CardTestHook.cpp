#include "cardsim/CardTestHook.h"

#include "platform/DynamicLibrary.h"

namespace kelto::cardsim::test {

namespace {
template <typename Set, typename Key>
void toggle(Set& set, const Key& key, bool on) {
    if (on) set.insert(key);
    else set.erase(key);
}
}  // namespace

void buildCard(const CardConfig& config, std::vector<Station> stations) {
    platform::clearHiddenExports();
    installCard(config, BroadcastWorld(std::move(stations)));
}

Station tvStation(std::uint32_t carrierHz, std::string name, SoundMode mode, std::uint32_t toneHz) {
    Station station;
    station.band = Band::Tv;
    station.carrierHz = carrierHz;
    station.name = std::move(name);
    station.soundMode = mode;
    station.toneHz = toneHz;
    return station;
}

Station fmStation(std::uint32_t carrierHz, std::string name, std::uint32_t toneHz) {
    Station station = tvStation(carrierHz, std::move(name), SoundMode::Stereo, toneHz);
    station.band = Band::Fm;
    return station;
}

std::vector<I2cTransfer> i2cLog() { return lockCard()->i2c().log(); }
void clearI2cLog() { lockCard()->i2c().clearLog(); }
std::uint32_t registerWord(std::size_t offset) { return lockCard()->registers().word(offset); }
void setRegisterWord(std::size_t offset, std::uint32_t value) { lockCard()->registers().setWord(offset, value); }
Gpio gpio() { return lockCard()->gpio(); }

void setI2cAddressSilent(std::uint8_t address, bool on) { lockCard()->i2c().setSilent(address, on); }
void setI2cWritesFail(std::uint8_t address, bool on) { lockCard()->i2c().setWritesFail(address, on); }
void setFunctionFails(const std::string& exportName, bool on) { toggle(lockCard()->faults.failingFunctions, exportName, on); }
void hideExport(const std::string& libraryName, const std::string& exportName) {
    platform::hideExport(libraryName, exportName);
}
void setDeviceUnopenable(const std::string& deviceName, bool on) {
    toggle(lockCard()->faults.unopenableDevices, deviceName, on);
}
void setDeviceSilent(const std::string& deviceName, bool on) { toggle(lockCard()->faults.silentDevices, deviceName, on); }
void setLibraryLoadFails(const std::string& libraryName, bool on) {
    toggle(lockCard()->faults.failingLibraries, libraryName, on);
}
void setAudioCommandFails(std::uint32_t command, bool on) {
    CardLock card;
    if (auto* path = card->digitalAudio()) toggle(path->failingCommands, command, on);
}

void clearFaults() {
    platform::clearHiddenExports();
    CardLock card;
    card->faults = CardFaults{};
    card->i2c().clearFaults();
    if (auto* path = card->digitalAudio()) path->failingCommands.clear();
}

}  // namespace kelto::cardsim::test
