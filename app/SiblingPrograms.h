#pragma once
// The program's sibling programs, which the viewer closes when it opens.
#include "platform/WindowSystem.h"

namespace kelto {

// Asks an FM radio window who it is and closes it when it answers "FM"; closes the VCD and MP3
// player windows.
void closeSiblingPrograms(platform::WindowSystem& system);

}  // namespace kelto
