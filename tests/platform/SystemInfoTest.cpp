#include "platform/SystemInfo.h"

#include "platform/Clock.h"

#include <gtest/gtest.h>

namespace kelto::platform {
namespace {

TEST(SystemInfoTest, ReportsTheConsumerFamilyUnlessToldOtherwise) {
    OsVersionInfo info;
    info.sizeField = kOsVersionInfoExSize;
    ASSERT_TRUE(getVersionEx(info));
    EXPECT_EQ(info.platformId, kPlatformWin32Windows);

    setOsVersionAnswer(OsVersionAnswer::NtFamily);
    ASSERT_TRUE(getVersionEx(info));
    EXPECT_EQ(info.platformId, kPlatformWin32Nt);

    setOsVersionAnswer(OsVersionAnswer::ExtendedFails);
    EXPECT_FALSE(getVersionEx(info));
    info.sizeField = kOsVersionInfoSize;
    EXPECT_TRUE(getVersionEx(info));

    setOsVersionAnswer(OsVersionAnswer::AllFail);
    EXPECT_FALSE(getVersionEx(info));
    setOsVersionAnswer(std::nullopt);

    info.sizeField = 12;  // not a record the query knows
    EXPECT_FALSE(getVersionEx(info));
}

TEST(SystemInfoTest, CountryCodeIsTheDiallingCodeOfTheLocaleTerritory) {
    struct Case {
        const char* lcAll;
        const char* lang;
        std::optional<std::string> text;
    };
    const Case cases[] = {
        {"ko_KR.UTF-8", "", "82"}, {"", "zh_CN.GB18030", "86"}, {"en_US", "", "1"},   {"", "ja_JP.eucJP", "81"},
        {"de_DE@euro", "", "49"},  {"", "en_GB.UTF-8", "44"},   {"fr_FR", "", "33"},  {"it_IT", "", "39"},
        {"en_AU", "", "61"},       {"pt_BR", "ko_KR", "55"},    {"C", "", "1"},       {"", "", "1"},
        {"xx_QQ", "", std::nullopt},
    };
    ::unsetenv("LC_TELEPHONE");
    for (const auto& c : cases) {
        ::setenv("LC_ALL", c.lcAll, 1);
        ::setenv("LANG", c.lang, 1);
        EXPECT_EQ(userLocaleCountryText(), c.text) << c.lcAll << " / " << c.lang;
    }
    ::setenv("LC_ALL", "xx_QQ", 1);
    EXPECT_EQ(userCountryCode(), 1);  // a failing query counts as 1

    setUserLocaleCountryOverride(std::string("86"));
    EXPECT_EQ(userCountryCode(), 86);
    clearUserLocaleCountryOverride();
    ::setenv("LC_ALL", "C.UTF-8", 1);
    ::setenv("LANG", "C.UTF-8", 1);
}

TEST(SystemInfoTest, TerritoryOfLocaleNames) {
    EXPECT_EQ(territoryOfLocale("ko_KR.UTF-8"), "KR");
    EXPECT_EQ(territoryOfLocale("sr_RS@latin"), "RS");
    EXPECT_EQ(territoryOfLocale("POSIX"), "");
    EXPECT_EQ(territoryOfLocale("en"), "");
}

TEST(ClockTest, AVirtualClockMovesOnlyWhenWaitedOnOrAdvanced) {
    VirtualClock virtualClock({}, 0xFFFFFFF0u);
    setClock(&virtualClock);
    const std::uint32_t start = tickCountMs();
    busyWaitMs(10);
    EXPECT_EQ(tickCountMs() - start, 10u);
    busyWaitMs(20);  // the tick count wraps past 2^32; differences stay right
    EXPECT_EQ(tickCountMs() - start, 30u);
    EXPECT_EQ(tickCountMs(), 14u);
    virtualClock.advanceMs(1000);
    EXPECT_EQ(clock().now().time_since_epoch(), std::chrono::milliseconds(1030));
    setClock(nullptr);
}

}  // namespace
}  // namespace kelto::platform
