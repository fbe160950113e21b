// FM radio on a Bt878: tuning results on the Philips and Alps tuners, the words they send, the
// lock threshold from the registry and the signal level.
#include "RuroriziFixture.h"

#include <algorithm>

namespace kelto::rurorizi::test {
namespace {

class RadioTest : public RuroriziFixture {
protected:
    bool wordWritten(std::uint8_t address, std::vector<std::uint8_t> bytes) {
        const auto writes = writesTo(address);
        return std::find(writes.begin(), writes.end(), bytes) != writes.end();
    }
};

TEST_F(RadioTest, PhilipsFindsAStationAndRemembersItsFrequency) {
    loadOver({.chip = ChipKind::Bt878, .tuner = TunerKind::Philips}, {fmStation(100'000'000, "KFM")});
    EXPECT_EQ(lib.GetRadioParam(1), 640);
    clearI2cLog();
    const std::uint32_t startMs = platform::tickCountMs();
    EXPECT_EQ(lib.SetRadioParam(1, 1000), 0);
    EXPECT_LE(platform::tickCountMs() - startMs, 50u);  // at most five 10 ms waits
    const auto writes = writesTo(0xC0);
    const std::vector<std::vector<std::uint8_t>> expected = {word(0x8EA1), word(0xCEAC), word(1771),
                                                             word(0x8EAD), word(1771),   word(0x8EA5), word(1771)};
    EXPECT_EQ(writes, expected);
    EXPECT_EQ(lib.GetRadioParam(1), 1000);
    EXPECT_EQ(lib.GetRadioParam(2), 7);  // on the carrier: full strength

    // Nothing at 95.0 MHz: -4, the frequency stays.
    EXPECT_EQ(lib.SetRadioParam(1, 950), -4);
    EXPECT_EQ(lib.GetRadioParam(1), 1000);
    EXPECT_EQ(lib.SetRadioParam(1, 639), -3);
    EXPECT_EQ(lib.SetRadioParam(1, 1081), -3);
    EXPECT_EQ(lib.SetRadioParam(1, 640), -4);
    EXPECT_EQ(lib.SetRadioParam(1, 1080), -4);

    setI2cAddressSilent(0xC0);
    EXPECT_EQ(lib.SetRadioParam(1, 1000), -258);
    EXPECT_EQ(lib.GetRadioParam(2), 0);
    setI2cAddressSilent(0xC0, false);
    setI2cWritesFail(0xC0);
    EXPECT_EQ(lib.SetRadioParam(1, 1000), -258);
}

TEST_F(RadioTest, ThresholdDecidesWhetherAWeakLockIsCheckedFurther) {
    // 112.5 kHz beside a station the strength reads 3 and the fine check finds it off the carrier.
    buildCard({.chip = ChipKind::Bt878, .tuner = TunerKind::Philips}, {fmStation(100'100'000, "off")});
    const struct {
        std::optional<const char*> value;
        bool checked;
    } thresholds[] = {{std::nullopt, true}, {"3", true}, {"9", false}, {"-1", false}, {"4", false}, {"0", true},
                      {"x", true},          {"123456789012345", true}};  // too long for the buffer: 3
    ASSERT_TRUE(load()) << platform::lastLoadError();
    for (const auto& t : thresholds) {
        SCOPED_TRACE(t.value.value_or("(absent)"));
        registry().deleteKey(platform::RegHive::LocalMachine, kFmThresholdKey);
        if (t.value) setMachineString(kFmThresholdKey, *t.value);
        clearI2cLog();
        EXPECT_EQ(lib.SetRadioParam(1, 1000), -4);
        EXPECT_EQ(wordWritten(0xC0, word(0x8EAD)), t.checked);
    }
}

TEST_F(RadioTest, AlpsStepsAroundTheFrequencyToFindTheStation) {
    const struct {
        const char* what;
        std::uint32_t stationHz;
        int result;
        std::uint16_t finalDivider;
        std::vector<std::uint16_t> searched;
    } cases[] = {
        {"on the divider", 100'000'000, 0, 4521, {4520}},
        {"just below", 99'990'000, 0, 4519, {4520}},
        {"two steps below", 99'937'500, 0, 4521, {4520, 4518}},
        {"two steps above", 100'062'500, 0, 4521, {4520, 4518, 4522}},
        {"nothing near", 90'000'000, -4, 4520, {4520, 4518, 4522, 4513}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        loadOver({.chip = ChipKind::Bt878, .tuner = TunerKind::Alps}, {fmStation(c.stationHz, "KFM")});
        clearI2cLog();
        EXPECT_EQ(lib.SetRadioParam(1, 1000), c.result);
        std::vector<std::vector<std::uint8_t>> expected;
        for (std::uint16_t divider : c.searched) {
            expected.push_back(word(0xC605));
            expected.push_back(word(divider));
        }
        expected.push_back(word(0x8605));
        expected.push_back(word(c.finalDivider));
        EXPECT_EQ(writesTo(0xC2), expected);
        EXPECT_EQ(lib.GetRadioParam(1), c.result == 0 ? 1000 : 640);
        EXPECT_EQ(lib.GetRadioParam(2), 0);
        unload();
    }
    loadOver({.chip = ChipKind::Bt878, .tuner = TunerKind::LgAlps});
    EXPECT_EQ(lib.SetRadioParam(1, 1081), -3);
    setI2cWritesFail(0xC6);
    EXPECT_EQ(lib.SetRadioParam(1, 1000), -258);
}

}  // namespace
}  // namespace kelto::rurorizi::test
