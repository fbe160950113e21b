// The shipped country file against the published television channel plans. Every plan is written
// here once more, as the plan's own channel numbers and carrier steps, without looking at the
// file; every country the file lists must be one of the countries below, with the plan its
// broadcasters and cable networks used, the intermediate frequency of its family, and a dialling
// code that the user's locale territory yields.
#include "cardsim/CardConfig.h"
#include "channels/CountryConfigFile.h"
#include "platform/DialCodes.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kelto::test {
namespace {

// A published plan: channel number -> vision carrier in Hz, plus the table's first and last number.
struct Plan {
    std::map<int, std::int64_t> carrierHz;
    int lowest = 0;
    int highest = 0;
};

std::int64_t hz(double mhz) { return std::llround(mhz * 1e6); }

class PlanBuilder {
public:
    // Channels first..last at firstMHz, stepMHz apart, stored under the numbers from `at` on.
    PlanBuilder& run(int first, int last, double firstMHz, double stepMHz, int at = -1) {
        if (at < 0) at = first;
        for (int n = first; n <= last; ++n) plan_.carrierHz[at + n - first] = hz(firstMHz + stepMHz * (n - first));
        return *this;
    }
    PlanBuilder& one(int number, double mhz) {
        plan_.carrierHz[number] = hz(mhz);
        return *this;
    }
    // The table's range when it is wider than its channels (numbers left unused at either end).
    Plan done(int lowest = 0, int highest = 0) {
        plan_.lowest = lowest ? lowest : plan_.carrierHz.begin()->first;
        plan_.highest = highest ? highest : plan_.carrierHz.rbegin()->first;
        return plan_;
    }

private:
    Plan plan_;
};

// UHF bands IV/V of the 8 MHz plans of Europe, Africa, Asia and Oceania: channel 21 at 471.25 MHz.
PlanBuilder& uhf8(PlanBuilder& b, int first, int last, int at = -1) {
    return b.run(first, last, 471.25 + 8.0 * (first - 21), 8.0, at);
}

// System M of the Americas: 2-4, 5-6, 7-13 and UHF 14-69 in 6 MHz steps.
Plan usBroadcast() {
    return PlanBuilder().run(2, 4, 55.25, 6).run(5, 6, 77.25, 6).run(7, 13, 175.25, 6).run(14, 69, 471.25, 6).done();
}
// The standard cable plan: 1 at 73.25, midband 14-22 (A-I), superband and hyperband 23-94, the
// FM-band channels 95-99 (A-5..A-1), 100-125 above 94.
Plan usCable() {
    return PlanBuilder()
        .one(1, 73.25)
        .run(2, 4, 55.25, 6)
        .run(5, 6, 77.25, 6)
        .run(7, 13, 175.25, 6)
        .run(14, 22, 121.25, 6)
        .run(23, 94, 217.25, 6)
        .run(95, 99, 91.25, 6)
        .run(100, 125, 649.25, 6)
        .done();
}
// Japan: VHF 1-3, 4-7, 8-12 (7 and 8 overlap by 2 MHz), UHF 13-62.
Plan japanBroadcast() {
    return PlanBuilder().run(1, 3, 91.25, 6).run(4, 7, 171.25, 6).run(8, 12, 193.25, 6).run(13, 62, 471.25, 6).done();
}
// Japanese cable: VHF 1-12, C13-C21 from 109.25 MHz, C22 after a 2 MHz gap at 165.25 MHz, C23-C63
// from 223.25 MHz.
Plan japanCable() {
    return PlanBuilder()
        .run(1, 3, 91.25, 6)
        .run(4, 7, 171.25, 6)
        .run(8, 12, 193.25, 6)
        .run(13, 21, 109.25, 6)
        .one(22, 165.25)
        .run(23, 63, 223.25, 6)
        .done();
}
// China D/K: DS-1..3, DS-4..5, DS-6..12, DS-13..24, then a gap to DS-25..68 at 607.25 MHz.
PlanBuilder chinaDs(int uhfAt) {
    PlanBuilder b;
    b.run(1, 3, 49.75, 8).run(4, 5, 77.25, 8).run(6, 12, 168.25, 8);
    b.run(13, 24, 471.25, 8, uhfAt).run(25, 68, 607.25, 8, uhfAt + 12);
    return b;
}
Plan chinaBroadcast() { return chinaDs(13).done(); }
// Chinese cable: DS-1..12, the Z channels Z-1..7 and Z-8..37 as 13-49, DS-13..68 as 50-105.
Plan chinaCable() { return chinaDs(50).run(1, 7, 112.25, 8, 13).run(8, 37, 224.25, 8, 20).done(); }

// Western Europe B/G: E2-E4 and E5-E12 in 7 MHz steps, UHF 21-69.
Plan europeBroadcast() {
    PlanBuilder b;
    b.run(2, 4, 48.25, 7).run(5, 12, 175.25, 7);
    return uhf8(b, 21, 69).done();
}
// European cable by frequency: E2-E4, S1-S10, E5-E12, S11-S20 (7 MHz), S21-S41 (8 MHz), UHF.
Plan europeCable() {
    PlanBuilder b;
    b.run(2, 4, 48.25, 7, 1).run(1, 10, 105.25, 7, 4).run(5, 12, 175.25, 7, 14);
    b.run(11, 20, 231.25, 7, 22).run(21, 41, 303.25, 8, 32);
    return uhf8(b, 21, 69, 53).done();
}
// Italy: A, B, C, D, E, F, G, H, H1, H2 as 1-10, UHF 21-69.
Plan italyBroadcast() {
    PlanBuilder b;
    const double vhf[] = {53.75, 62.25, 82.25, 175.25, 183.75, 192.25, 201.25, 210.25, 217.25, 224.25};
    for (int i = 0; i < 10; ++i) b.one(i + 1, vhf[i]);
    return uhf8(b, 21, 69).done();
}
// France SECAM L: L2-L4 in band I, L5-L10 in band III (8 MHz), UHF 21-69.
Plan franceBroadcast() {
    PlanBuilder b;
    b.one(2, 55.75).one(3, 60.5).one(4, 63.75).run(5, 10, 176.0, 8);
    return uhf8(b, 21, 69).done();
}
// United Kingdom PAL I: UHF 21-68 only.
Plan ukBroadcast() {
    PlanBuilder b;
    return uhf8(b, 21, 68).done();
}
// Australia: VHF 1-12 (with 10-12 after the 9A move), 0 as 13, 5A as 14, 9A as 15, UHF 28-69 in
// 7 MHz steps.
Plan australiaBroadcast() {
    return PlanBuilder()
        .run(1, 2, 57.25, 7)
        .one(3, 86.25)
        .run(4, 5, 95.25, 7)
        .run(6, 9, 175.25, 7)
        .run(10, 12, 209.25, 7)
        .one(13, 46.25)
        .one(14, 138.25)
        .one(15, 203.25)
        .run(28, 69, 527.25, 7)
        .done();
}
// OIRT D/K: R1 49.75, R2 59.25, R3-R5 from 77.25 and R6-R12 from 175.25 (8 MHz), UHF 21-69.
Plan oirtBroadcast() {
    PlanBuilder b;
    b.one(1, 49.75).one(2, 59.25).run(3, 5, 77.25, 8).run(6, 12, 175.25, 8);
    return uhf8(b, 21, 69).done();
}
// OIRT cable by frequency: R1-R5, SK1-SK8 from 111.25, R6-R12, SK11-SK40 from 231.25, UHF.
Plan oirtCable() {
    PlanBuilder b;
    b.one(1, 49.75).one(2, 59.25).run(3, 5, 77.25, 8).run(1, 8, 111.25, 8, 6).run(6, 12, 175.25, 8, 14);
    b.run(11, 40, 231.25, 8, 21);
    return uhf8(b, 21, 69, 51).done();
}
// Ireland PAL I: A-C in band I, D-J (with I) in band III, 8 MHz apart, UHF 21-69.
Plan irelandBroadcast() {
    PlanBuilder b;
    b.run(1, 3, 45.75, 8).run(4, 10, 175.25, 8);
    return uhf8(b, 21, 69).done();
}
// South Africa PAL I: VHF 4-13 in 8 MHz steps from 175.25, UHF 21-68.
Plan southAfricaBroadcast() {
    PlanBuilder b;
    b.run(4, 13, 175.25, 8);
    return uhf8(b, 21, 68).done();
}
// New Zealand B/G: 1 45.25, 2-3 from 55.25 (7 MHz), 4-11 from 175.25 (7 MHz), UHF 25-62.
Plan newZealandBroadcast() {
    PlanBuilder b;
    b.one(1, 45.25).run(2, 3, 55.25, 7).run(4, 11, 175.25, 7);
    return uhf8(b, 25, 62).done();
}

enum class Family { Ntsc, Pal };  // 525-line NTSC M, or a PAL tuner (every 625-line plan, PAL M, PAL N)

struct Country {
    int code;
    const char* territory;  // ISO 3166 code of the locale territory
    Family family;
    Plan (*broadcast)();
    Plan (*cable)();
};

constexpr Family N = Family::Ntsc;
constexpr Family P = Family::Pal;

const std::vector<Country>& countries() {
    static const std::vector<Country> all = {
        // NTSC M on the plans of the United States.
        {1, "US", N, usBroadcast, usCable},       {82, "KR", N, usBroadcast, usCable},
        {52, "MX", N, usBroadcast, usCable},      {886, "TW", N, usBroadcast, usCable},
        {63, "PH", N, usBroadcast, usCable},      {57, "CO", N, usBroadcast, usCable},
        {58, "VE", N, usBroadcast, usCable},      {56, "CL", N, usBroadcast, usCable},
        {51, "PE", N, usBroadcast, usCable},      {593, "EC", N, usBroadcast, usCable},
        {591, "BO", N, usBroadcast, usCable},     {53, "CU", N, usBroadcast, usCable},
        {502, "GT", N, usBroadcast, usCable},     {503, "SV", N, usBroadcast, usCable},
        {504, "HN", N, usBroadcast, usCable},     {505, "NI", N, usBroadcast, usCable},
        {506, "CR", N, usBroadcast, usCable},     {507, "PA", N, usBroadcast, usCable},
        {501, "BZ", N, usBroadcast, usCable},     {597, "SR", N, usBroadcast, usCable},
        {95, "MM", N, usBroadcast, usCable},
        // PAL M and PAL N on the same channels.
        {55, "BR", P, usBroadcast, usCable},      {54, "AR", P, usBroadcast, usCable},
        {595, "PY", P, usBroadcast, usCable},     {598, "UY", P, usBroadcast, usCable},
        {81, "JP", N, japanBroadcast, japanCable},
        {86, "CN", P, chinaBroadcast, chinaCable},
        // B/G on the Western European channels.
        {49, "DE", P, europeBroadcast, europeCable},  {43, "AT", P, europeBroadcast, europeCable},
        {41, "CH", P, europeBroadcast, europeCable},  {31, "NL", P, europeBroadcast, europeCable},
        {32, "BE", P, europeBroadcast, europeCable},  {352, "LU", P, europeBroadcast, europeCable},
        {45, "DK", P, europeBroadcast, europeCable},  {46, "SE", P, europeBroadcast, europeCable},
        {47, "NO", P, europeBroadcast, europeCable},  {358, "FI", P, europeBroadcast, europeCable},
        {354, "IS", P, europeBroadcast, europeCable}, {34, "ES", P, europeBroadcast, europeCable},
        {351, "PT", P, europeBroadcast, europeCable}, {30, "GR", P, europeBroadcast, europeCable},
        {90, "TR", P, europeBroadcast, europeCable},  {385, "HR", P, europeBroadcast, europeCable},
        {386, "SI", P, europeBroadcast, europeCable}, {381, "RS", P, europeBroadcast, europeCable},
        {387, "BA", P, europeBroadcast, europeCable}, {389, "MK", P, europeBroadcast, europeCable},
        {382, "ME", P, europeBroadcast, europeCable}, {355, "AL", P, europeBroadcast, europeCable},
        {356, "MT", P, europeBroadcast, europeCable}, {357, "CY", P, europeBroadcast, europeCable},
        {423, "LI", P, europeBroadcast, europeCable}, {972, "IL", P, europeBroadcast, europeCable},
        {962, "JO", P, europeBroadcast, europeCable}, {20, "EG", P, europeBroadcast, europeCable},
        {213, "DZ", P, europeBroadcast, europeCable}, {216, "TN", P, europeBroadcast, europeCable},
        {212, "MA", P, europeBroadcast, europeCable}, {65, "SG", P, europeBroadcast, europeCable},
        {39, "IT", P, italyBroadcast, europeCable},   {378, "SM", P, italyBroadcast, europeCable},
        {61, "AU", P, australiaBroadcast, australiaBroadcast},
        {64, "NZ", P, newZealandBroadcast, newZealandBroadcast},
        // PAL I.
        {44, "GB", P, ukBroadcast, europeCable},      {852, "HK", P, ukBroadcast, ukBroadcast},
        {853, "MO", P, ukBroadcast, ukBroadcast},     {353, "IE", P, irelandBroadcast, europeCable},
        {27, "ZA", P, southAfricaBroadcast, southAfricaBroadcast},
        // SECAM L.
        {33, "FR", P, franceBroadcast, europeCable},  {377, "MC", P, franceBroadcast, europeCable},
        // D/K on the OIRT channels.
        {7, "RU", P, oirtBroadcast, oirtCable},       {380, "UA", P, oirtBroadcast, oirtCable},
        {375, "BY", P, oirtBroadcast, oirtCable},     {370, "LT", P, oirtBroadcast, oirtCable},
        {371, "LV", P, oirtBroadcast, oirtCable},     {372, "EE", P, oirtBroadcast, oirtCable},
        {373, "MD", P, oirtBroadcast, oirtCable},     {995, "GE", P, oirtBroadcast, oirtCable},
        {374, "AM", P, oirtBroadcast, oirtCable},     {994, "AZ", P, oirtBroadcast, oirtCable},
        {996, "KG", P, oirtBroadcast, oirtCable},     {998, "UZ", P, oirtBroadcast, oirtCable},
        {992, "TJ", P, oirtBroadcast, oirtCable},     {993, "TM", P, oirtBroadcast, oirtCable},
        {976, "MN", P, oirtBroadcast, oirtCable},
        {48, "PL", P, oirtBroadcast, europeCable},    {420, "CZ", P, oirtBroadcast, europeCable},
        {421, "SK", P, oirtBroadcast, europeCable},   {36, "HU", P, oirtBroadcast, europeCable},
        {359, "BG", P, oirtBroadcast, europeCable},   {40, "RO", P, oirtBroadcast, europeCable},
    };
    return all;
}

std::string countryFile() { return (platform::dataFolder() / kCountryFileName).string(); }

void expectTableIsPlan(const FrequencyTable& table, const Plan& plan, const std::string& what) {
    EXPECT_EQ(table.lowest, plan.lowest) << what;
    EXPECT_EQ(table.highest, plan.highest) << what;
    for (int n = 1; n <= kMaxChannel; ++n) {
        const auto published = plan.carrierHz.find(n);
        const std::int64_t expected = published == plan.carrierHz.end() ? 0 : published->second;
        EXPECT_EQ(table.frequencyHz[std::size_t(n)], expected) << what << " channel " << n;
    }
}

TEST(CountryPlansTest, EveryCountryCarriesItsPublishedPlanAndTheIntermediateFrequencyOfItsFamily) {
    const std::string file = countryFile();
    for (const Country& country : countries()) {
        const std::string name = "country " + std::to_string(country.code);
        ASSERT_FALSE(countrySectionName(file, country.code).empty()) << name;
        const FrequencyTables tables = readConfigTables(file, country.code);
        expectTableIsPlan(tables.broadcast, country.broadcast(), name + " broadcast");
        expectTableIsPlan(tables.cable, country.cable(), name + " cable");

        const TunerFileSettings tuner = readTunerSettings(file, country.code);
        EXPECT_FALSE(tuner.tunerModel.empty()) << name;
        EXPECT_FALSE(tuner.tunerModelRefused) << name;
        EXPECT_EQ(tuner.intermediateFrequencyHz, country.family == Family::Ntsc ? 45'750'000 : 38'875'000) << name;
        EXPECT_NE(tuner.bands.lowBand, 0u) << name;
        EXPECT_NE(tuner.bands.highControl, 0u) << name;
    }
}

TEST(CountryPlansTest, TheFileListsOnlyTheCountriesCheckedHereAndAtLeastSixty) {
    std::set<int> expected;
    for (const Country& country : countries()) EXPECT_TRUE(expected.insert(country.code).second) << country.code;
    std::set<int> listed;
    for (const std::string& key : platform::getPrivateProfileKeyNames("COUNTRY LIST", countryFile())) {
        ASSERT_EQ(key.rfind("COUNTRY_", 0), 0u) << key;
        listed.insert(std::stoi(key.substr(8)));
    }
    EXPECT_EQ(listed, expected);
    EXPECT_GE(listed.size(), 60u);
}

// The viewer takes the country code from the locale's territory when none is saved, and the
// simulated card picks PAL or NTSC from the same code: both must agree with the file.
TEST(CountryPlansTest, TheLocaleTerritoryAndTheSimulatedCardAgreeWithEveryCountry) {
    for (const Country& country : countries()) {
        EXPECT_EQ(platform::dialCodeForTerritory(country.territory), country.code) << country.territory;
        const auto standard = cardsim::standardForCountry(country.code);
        EXPECT_EQ(standard, country.family == Family::Ntsc ? cardsim::VideoStandard::Ntsc : cardsim::VideoStandard::Pal)
            << country.code;
    }
}

// Sharing a plan means sharing its table sections, so a correction reaches every country of it.
TEST(CountryPlansTest, CountriesOfOnePlanShareItsTableSections) {
    const std::string file = countryFile();
    std::map<Plan (*)(), std::set<std::string>> sectionsOfPlan;
    for (const Country& country : countries()) {
        const std::string section = countrySectionName(file, country.code);
        sectionsOfPlan[country.broadcast].insert(
            platform::getPrivateProfileString(section, "BROADCAST TV", "", file));
        sectionsOfPlan[country.cable].insert(platform::getPrivateProfileString(section, "CABLE TV", "", file));
    }
    for (const auto& [plan, sections] : sectionsOfPlan) EXPECT_EQ(sections.size(), 1u) << *sections.begin();
}

}  // namespace
}  // namespace kelto::test
