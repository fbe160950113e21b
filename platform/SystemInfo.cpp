#include "platform/SystemInfo.h"

#include "platform/DialCodes.h"

#include <cstdlib>
#include <mutex>
#include <sys/utsname.h>

namespace kelto::platform {

namespace {

std::mutex mutex;
std::optional<OsVersionAnswer> versionOverride;
bool countryOverridden = false;
std::optional<std::string> countryOverride;

OsVersionAnswer versionAnswer() {
    if (versionOverride) return *versionOverride;
    const char* env = std::getenv("KELTO_OSVERSION");
    const std::string_view v = env ? env : "";
    if (v == "nt") return OsVersionAnswer::NtFamily;
    if (v == "noextended") return OsVersionAnswer::ExtendedFails;
    if (v == "fail") return OsVersionAnswer::AllFail;
    return OsVersionAnswer::Consumer;
}

}  // namespace

bool getVersionEx(OsVersionInfo& info) {
    OsVersionAnswer answer;
    {
        std::lock_guard lock(mutex);
        answer = versionAnswer();
    }
    if (info.sizeField != kOsVersionInfoSize && info.sizeField != kOsVersionInfoExSize) return false;
    if (answer == OsVersionAnswer::AllFail) return false;
    if (answer == OsVersionAnswer::ExtendedFails && info.sizeField == kOsVersionInfoExSize) return false;

    utsname uts{};
    ::uname(&uts);
    info.csdVersion = std::string(uts.sysname) + " " + uts.release;
    if (info.csdVersion.size() > 127) info.csdVersion.resize(127);
    if (answer == OsVersionAnswer::NtFamily) {
        info.platformId = kPlatformWin32Nt;
        info.majorVersion = 5;
        info.minorVersion = 0;
        info.buildNumber = 2195;
    } else {
        info.platformId = kPlatformWin32Windows;
        info.majorVersion = 4;
        info.minorVersion = 10;
        info.buildNumber = 2222;
    }
    info.servicePackMajor = 0;
    info.servicePackMinor = 0;
    return true;
}

void setOsVersionAnswer(std::optional<OsVersionAnswer> answer) {
    std::lock_guard lock(mutex);
    versionOverride = answer;
}

std::string territoryOfLocale(std::string_view name) {
    // language[_territory][.codeset][@modifier]
    const auto underscore = name.find('_');
    if (underscore == std::string_view::npos) return {};
    std::string_view rest = name.substr(underscore + 1);
    const auto end = rest.find_first_of(".@");
    return std::string(rest.substr(0, end));
}

std::optional<std::string> userLocaleCountryText() {
    {
        std::lock_guard lock(mutex);
        if (countryOverridden) return countryOverride;
    }
    std::string locale;
    for (const char* name : {"LC_ALL", "LC_TELEPHONE", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            locale = value;
            break;
        }
    }
    const std::string territory = territoryOfLocale(locale);
    if (territory.empty()) return std::string("1");
    const int code = dialCodeForTerritory(territory);
    if (code == 0) return std::nullopt;
    return std::to_string(code);
}

void setUserLocaleCountryOverride(std::optional<std::string> text) {
    std::lock_guard lock(mutex);
    countryOverridden = true;
    countryOverride = std::move(text);
}

void clearUserLocaleCountryOverride() {
    std::lock_guard lock(mutex);
    countryOverridden = false;
    countryOverride.reset();
}

int userCountryCode() {
    const auto text = userLocaleCountryText();
    if (!text) return 1;
    return std::atoi(text->c_str());
}

}  // namespace kelto::platform
