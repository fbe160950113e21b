#pragma once
// Facts about the system the program runs on, in the shape the program expects of them: the
// operating-system version record and the user locale's country code.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelto::platform {

constexpr std::uint32_t kOsVersionInfoSize = 148;    // the basic version record
constexpr std::uint32_t kOsVersionInfoExSize = 156;  // the extended version record
constexpr std::uint32_t kPlatformWin32Windows = 1;   // the consumer family
constexpr std::uint32_t kPlatformWin32Nt = 2;        // the NT family

struct OsVersionInfo {
    std::uint32_t sizeField = 0;  // set by the caller: kOsVersionInfoExSize or kOsVersionInfoSize
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::uint32_t buildNumber = 0;
    std::uint32_t platformId = 0;
    std::string csdVersion;  // the system's release text (at most 127 characters)
    // Extended record only.
    std::uint16_t servicePackMajor = 0;
    std::uint16_t servicePackMinor = 0;
};

// Fills the record when its size field names a known record; false when the query fails.
// Linux reports itself as the consumer family (platform 1, version 4.10) with the kernel release
// as the release text, since the program refuses the NT family.
bool getVersionEx(OsVersionInfo& info);

// What the version query answers; tests and KELTO_OSVERSION (consumer, nt, noextended, fail)
// choose another answer.
enum class OsVersionAnswer { Consumer, NtFamily, ExtendedFails, AllFail };
void setOsVersionAnswer(std::optional<OsVersionAnswer> answer);

// The territory part of a locale name: "ko_KR.UTF-8" gives "KR", "C" or "en" give "".
std::string territoryOfLocale(std::string_view localeName);

// The user locale's country code as the locale gives it: the international dialling code as
// decimal text ("1", "82", "86"). The territory comes from LC_ALL, LC_TELEPHONE or LANG, the first
// one set; a locale without a territory (C, POSIX) is the United States, as a fresh system of the
// original platform was. An unknown territory makes the query fail (nullopt).
std::optional<std::string> userLocaleCountryText();
// Tests fix the answer (nullopt text means a failing query); reset with clearUserLocaleCountryOverride.
void setUserLocaleCountryOverride(std::optional<std::string> text);
void clearUserLocaleCountryOverride();

// The country code as a number: the text above converted, 1 when the query fails.
int userCountryCode();

}  // namespace kelto::platform
