#pragma once
// The audio command library "BtAud.dll" and its one function "ProcessCommand", bound only on a
// Bt878 board with RISC audio enabled.
#include <cstdint>

namespace kelto::rurorizi::dynLink {

// The commands the library sends.
enum class AudioCommand : std::uint32_t {
    ChooseRoute = 32,
    Setting33 = 33,
    IsRunning = 66,  // answers 0 while the audio path runs
    Mute = 68,
    Unmute = 69,
    Setting80 = 80,
    Setting81 = 81,
    StartPath = 112,
    StopPath = 113,
};

enum class AudioBindResult { Bound, LibraryMissing, FunctionMissing };

// Loads "BtAud.dll" and binds "ProcessCommand". A library without the function is unloaded again.
AudioBindResult bindAudioCommands();
// Unloads the library if it was loaded.
void releaseAudioCommands();
bool processCommandBound();
// ProcessCommand's answer (0 for success); 1 when it is not bound.
int processCommand(AudioCommand command, std::uint32_t value);

}  // namespace kelto::rurorizi::dynLink
