#pragma once
// What the viewer checks and does when it opens, before it shows anything: the refusals with
// their messages, and the handling of sibling programs and the remote-controller program.
#include "framework/MessageBoxes.h"
#include "platform/WindowSystem.h"

#include <filesystem>
#include <optional>

class QWidget;

namespace kelto {

// The refusals in the order the viewer makes its checks.
enum class OpeningRefusal { VersionQuery, NtPlatform, NoCountryFile, Display, Capture, Tuner, Mixer };

struct RefusalMessage {
    int stringId;  // 0: no message of its own
    framework::MessageIcon icon;
};
RefusalMessage refusalMessage(OpeningRefusal refusal);
// Shows the refusal's message box (caption string 157); nothing for a refusal without one.
void showRefusal(QWidget* parent, OpeningRefusal refusal);

// The operating-system checks: both version queries failing, or the NT family.
std::optional<OpeningRefusal> checkOperatingSystem();
// The country file among the plain files of the Windows folder, its name compared in upper case;
// the path of the file as it is really named, or nullopt.
std::optional<std::filesystem::path> findCountryFile(const std::filesystem::path& windowsFolder);
// A display of 32 bits per pixel or more that is at least 1280 by 960 is refused.
bool displayRefused(int bitsPerPixel, int width, int height);

// Sibling programs: asks an FM radio window who it is and closes it when it answers "FM"; closes
// the VCD and MP3 player windows.
void closeSiblingPrograms(platform::WindowSystem& system);
// Tells the remote-controller program (when it runs) where the receiving window is (registered
// true) or that it is gone.
void notifyRemoteController(platform::WindowSystem& system, platform::WindowHandle receivingWindow, bool registered);

}  // namespace kelto
