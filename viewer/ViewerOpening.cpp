#include "viewer/ViewerOpening.h"

#include "settings/ViewerSettings.h"
#include "channels/CountryConfigFile.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "platform/Text.h"
#include "platform/Trace.h"
#include "platform/WindowMessageIds.h"
#include "resources/StringTable.h"

#include <QGuiApplication>
#include <QScreen>
#include <cstdlib>

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

namespace {
std::optional<DisplayMode> displayModeAnswer;
}  // namespace

void setDisplayModeAnswer(std::optional<DisplayMode> mode) { displayModeAnswer = mode; }

DisplayMode primaryDisplayMode() {
    if (displayModeAnswer) return *displayModeAnswer;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {32, 1024, 768};
    return {screen->depth(), screen->geometry().width(), screen->geometry().height()};
}

std::optional<OpeningRefusal> checkDisplay(const drivers::CaptureDriverDescription& driver, const DisplayMode& display) {
    if (driver.overlayInVideoMemory && displayRefused(display.bitsPerPixel, display.width, display.height))
        return OpeningRefusal::Display;
    return std::nullopt;
}

namespace {

// Where the country code came from: the "CountryCode" setting, or the territory of the locale
// the code was derived from.
std::string countryCodeOrigin(const SettingsStore& store) {
    if (store.registry().queryValue(platform::RegHive::CurrentUser, store.sectionPath(section::kUser), "CountryCode"))
        return "CountryCode";
    for (const char* name : {"LC_ALL", "LC_TELEPHONE", "LANG"}) {
        const char* value = std::getenv(name);
        if (!value || !*value) continue;
        const std::string territory = platform::territoryOfLocale(value);
        return territory.empty() ? std::string(value) : territory;
    }
    return "locale";
}

// The table's text with its "%d" and "%s" replaced by the values in order (the values are texts
// from outside, so they are not used as a format).
std::string fillIn(const std::string& text, std::initializer_list<std::string> values) {
    std::string result;
    auto value = values.begin();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == 'd' || text[i + 1] == 's') && value != values.end()) {
            result += *value++;
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

}  // namespace

std::optional<std::string> countryPlanNotice(SettingsStore& store, const std::string& countryFile, int countryCode) {
    if (!countrySectionName(countryFile, countryCode).empty()) return std::nullopt;
    if (store.readInt(section::kUser, kCountryPlanNoticeValue, 0) == countryCode) return std::nullopt;
    store.writeInt(section::kUser, kCountryPlanNoticeValue, countryCode);
    const std::string settingsFile = store.registry().hivePath(platform::RegHive::CurrentUser).string();
    platform::tracef("No channel plan for country code %d in %s", countryCode, countryFile.c_str());
    return fillIn(LoadMessage(kCountryPlanMissingStringId), {std::to_string(countryCode), countryCodeOrigin(store), settingsFile});
}

void showCountryPlanNotice(QWidget* parent, SettingsStore& store, const std::string& countryFile, int countryCode) {
    if (const auto text = countryPlanNotice(store, countryFile, countryCode))
        framework::messageBox(parent, *text, framework::MessageButtons::Ok, MessageIcon::Information);
}

}  // namespace kelto
