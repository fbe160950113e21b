#pragma once
// What the viewer checks and does when it opens, before it shows anything: the refusals with
// their messages.
#include "settings/SettingsStore.h"
#include "drivers/CaptureDriver.h"
#include "framework/MessageBoxes.h"
#include "platform/WindowSystem.h"

#include <filesystem>
#include <optional>
#include <string>

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
// A display of 32 bits per pixel or more that is at least 1280 by 960 is too much for a capture
// driver that writes its overlay into video memory.
bool displayRefused(int bitsPerPixel, int width, int height);

struct DisplayMode {
    int bitsPerPixel = 32;
    int width = 0;
    int height = 0;
};
// The primary screen's mode (32 bits at 1024 by 768 when there is no screen).
DisplayMode primaryDisplayMode();
// Tests choose the mode primaryDisplayMode answers; nullopt gives back the screen's.
void setDisplayModeAnswer(std::optional<DisplayMode> mode);
// Check 4 (message 141): only a capture driver that declares a video-memory overlay is limited
// by the display mode; the program draws the picture of every other driver itself.
std::optional<OpeningRefusal> checkDisplay(const drivers::CaptureDriverDescription& driver, const DisplayMode& display);

// The country file names no channel plan for the user's country: without one both bands are
// empty and nothing can be tuned. The notice says which country (its dialling code, and where
// the code came from: the "CountryCode" setting or the locale's territory) and how to choose
// another. It is given once per country: "CountryPlanNotice" (section "user") keeps the code last
// reported, so a later start with the same country says nothing, and a change to another
// country without a plan is reported again. nullopt when the country has a plan or was reported.
constexpr int kCountryPlanMissingStringId = 300;
constexpr const char* kCountryPlanNoticeValue = "CountryPlanNotice";
std::optional<std::string> countryPlanNotice(SettingsStore& store, const std::string& countryFile, int countryCode);
// Shows the notice, when one is due, as an information box (caption string 157).
void showCountryPlanNotice(QWidget* parent, SettingsStore& store, const std::string& countryFile, int countryCode);

}  // namespace kelto
