// The handlers of SetAudioParam: route choice, start and stop of the audio path, and the settings
// that pass straight to the audio command library.
#include "rurorizi/AudioCommandLibrary.h"
#include "rurorizi/AudioRouting.h"
#include "rurorizi/DispatchTables.h"
#include "rurorizi/ReturnCodes.h"

#include <cstdint>

namespace kelto::rurorizi {

namespace {

template <dynLink::AudioCommand Command>
int passToAudioCommands(int value) {
    if (!dynLink::processCommandBound()) return kAudioNotServed;
    return dynLink::processCommand(Command, static_cast<std::uint32_t>(value));
}

}  // namespace

const std::array<SetHandler, kAudioCodeCount> kSetAudioHandlers = {
    nullptr,                                                  // 0
    dactl::chooseRoute,                                       // 1
    dactl::startAudioPath,                                    // 2
    dactl::stopAudioPath,                                     // 3
    passToAudioCommands<dynLink::AudioCommand::Setting33>,    // 4
    passToAudioCommands<dynLink::AudioCommand::Setting80>,    // 5
    passToAudioCommands<dynLink::AudioCommand::Setting81>,    // 6
};

}  // namespace kelto::rurorizi
