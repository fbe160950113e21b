#include "app/ViewerOpening.h"

#include "app/AppMessages.h"
#include "platform/SystemInfo.h"
#include "platform/Text.h"
#include "platform/WindowMessageIds.h"
#include "resources/StringTable.h"

namespace kelto {

namespace fs = std::filesystem;
using framework::MessageIcon;

RefusalMessage refusalMessage(OpeningRefusal refusal) {
    switch (refusal) {
    case OpeningRefusal::VersionQuery: return {138, MessageIcon::Stop};
    case OpeningRefusal::NtPlatform: return {140, MessageIcon::Information};
    case OpeningRefusal::NoCountryFile: return {137, MessageIcon::Information};
    case OpeningRefusal::Display: return {141, MessageIcon::Stop};
    case OpeningRefusal::Capture: return {142, MessageIcon::Information};
    case OpeningRefusal::Tuner: return {0, MessageIcon::Information};
    case OpeningRefusal::Mixer: return {149, MessageIcon::Information};
    }
    return {0, MessageIcon::Information};
}

void showRefusal(QWidget* parent, OpeningRefusal refusal) {
    const RefusalMessage message = refusalMessage(refusal);
    if (message.stringId == 0) return;
    framework::messageBox(parent, LoadMessage(message.stringId), framework::MessageButtons::Ok, message.icon);
}

std::optional<OpeningRefusal> checkOperatingSystem() {
    platform::OsVersionInfo info;
    info.sizeField = platform::kOsVersionInfoExSize;
    if (!platform::getVersionEx(info)) {
        info = {};
        info.sizeField = platform::kOsVersionInfoSize;
        if (!platform::getVersionEx(info)) return OpeningRefusal::VersionQuery;
    }
    if (info.platformId == platform::kPlatformWin32Nt) return OpeningRefusal::NtPlatform;
    return std::nullopt;
}

std::optional<fs::path> findCountryFile(const fs::path& windowsFolder) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(windowsFolder, ec)) {
        if (!entry.is_regular_file(ec)) continue;
        if (platform::toUpperAscii(entry.path().filename().string()) == "ZUDUDAZ2000.INI") return entry.path();
    }
    return std::nullopt;
}

bool displayRefused(int bitsPerPixel, int width, int height) {
    return bitsPerPixel >= 32 && width >= 1280 && height >= 960;
}

void closeSiblingPrograms(platform::WindowSystem& system) {
    if (const auto fm = system.findWindow("KELTOFM", "")) {
        if (system.sendMessage(fm, kMsgSiblingQuery, 0, 0) == kSiblingAnswerFm)
            system.sendMessage(fm, platform::WM_CLOSE, 0, 0);
    }
    for (const char* cls : {"KELTOVCD", "KELTOMP3"})
        if (const auto window = system.findWindow(cls, "")) system.sendMessage(window, platform::WM_CLOSE, 0, 0);
}

void notifyRemoteController(platform::WindowSystem& system, platform::WindowHandle receivingWindow, bool registered) {
    if (const auto remote = system.findWindow(kRemoteControllerClass, ""))
        system.sendMessage(remote, kMsgRemoteRegister, receivingWindow.value, registered ? 0x10000 : 0);
}

}  // namespace kelto
