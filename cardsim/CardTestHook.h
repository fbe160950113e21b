#pragma once
// What tests use to set up and watch the simulated card. Include it only from tests.
//
//   using namespace kelto::cardsim;
//   test::buildCard({.chip = ChipKind::Bt848, .tuner = TunerKind::Alps}, {test::tvStation(55'250'000, "WKEL 2")});
//   ... run the code under test through the driver libraries ...
//   EXPECT_EQ(test::i2cLog().back().address, 0xC2);
//
// Every function takes the card's lock; none may be called while a CardLock is held by the same
// thread across a driver call that waits for another thread.
#include "cardsim/BroadcastWorld.h"
#include "cardsim/Card.h"
#include "cardsim/CardConfig.h"
#include "cardsim/I2cBus.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelto::cardsim::test {

// Replaces the process's card with one built from the given parts (faults cleared, register
// block reset, hidden exports made visible again).
void buildCard(const CardConfig& config, std::vector<Station> stations = {});

Station tvStation(std::uint32_t carrierHz, std::string name, SoundMode mode = SoundMode::Mono, std::uint32_t toneHz = 440);
Station fmStation(std::uint32_t carrierHz, std::string name, std::uint32_t toneHz = 440);

// Watching.
std::vector<I2cTransfer> i2cLog();
void clearI2cLog();
std::uint32_t registerWord(std::size_t offset);
void setRegisterWord(std::size_t offset, std::uint32_t value);
Gpio gpio();

// Failures. `on` false undoes one.
void setI2cAddressSilent(std::uint8_t address, bool on = true);   // no acknowledge at that address
void setI2cWritesFail(std::uint8_t address, bool on = true);      // the chip refuses written data
void setFunctionFails(const std::string& exportName, bool on = true);  // a video driver function fails
void hideExport(const std::string& libraryName, const std::string& exportName);  // getProcAddress finds nothing
void setDeviceUnopenable(const std::string& deviceName, bool on = true);
void setDeviceSilent(const std::string& deviceName, bool on = true);  // control requests return nothing
void setLibraryLoadFails(const std::string& libraryName, bool on = true);  // "BtVid_32.dll" or "BtAud.dll"
void setAudioCommandFails(std::uint32_t command, bool on = true);
// Clears every failure above.
void clearFaults();

}  // namespace kelto::cardsim::test
