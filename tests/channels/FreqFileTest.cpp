// Table files: the byte layout, the round trip through the program folder, and every refusal.
#include "channels/ChannelModel.h"
#include "channels/FreqFile.h"
#include "platform/Paths.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

#include <climits>

namespace kelto {
namespace {

FrequencyTables smallTables() {
    FrequencyTables t;
    t.broadcast.lowest = 2;
    t.broadcast.highest = 4;
    t.broadcast.frequencyHz[2] = 55250000;
    t.broadcast.frequencyHz[3] = 61250000;
    t.broadcast.frequencyHz[4] = -1;  // any 32-bit value is kept
    t.cable.lowest = 1;
    t.cable.highest = 2;
    t.cable.frequencyHz[1] = 73250000;
    t.cable.frequencyHz[2] = 55250000;
    return t;
}

std::string bytesOf(std::initializer_list<std::int32_t> values) {
    std::string out;
    for (std::int32_t v : values)
        for (int i = 0; i < 4; ++i) out.push_back(char((std::uint32_t(v) >> (8 * i)) & 0xFF));
    return out;
}

class FreqFileTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(platform::programFolder()); }
};

TEST_F(FreqFileTest, A36ByteTableRoundTripsThroughTheProgramFolder) {
    const auto path = FreqFile::pathForName("small");
    EXPECT_EQ(path, platform::programFolder() / "small.freq");
    ASSERT_TRUE(FreqFile::write(path, FreqFile::contentOf(smallTables())));
    const std::string bytes = test::readFile(path);
    EXPECT_EQ(bytes, bytesOf({2, 4, 55250000, 61250000, -1, 1, 2, 73250000, 55250000}));
    EXPECT_EQ(bytes.size(), 36u);

    ChannelModel model;
    ASSERT_TRUE(model.LoadFreqFile("small"));
    EXPECT_EQ(model.records(), smallTables());
}

TEST_F(FreqFileTest, RowsAreConvertedAndFitToTheHeader) {
    EXPECT_EQ(FreqFile::rowValue("00000000"), 0);
    EXPECT_EQ(FreqFile::rowValue("55250000"), 55250000);
    EXPECT_EQ(FreqFile::rowValue("-12abc"), -12);
    EXPECT_EQ(FreqFile::rowValue("+7"), 7);
    EXPECT_EQ(FreqFile::rowValue("abc"), 0);
    EXPECT_EQ(FreqFile::rowValue(""), 0);
    EXPECT_EQ(FreqFile::rowValue("99999999999"), INT_MAX);

    // Three rows for a header of two channels, one row for a header of three.
    const TableFileContent content{5, 6, {"1", "2", "3"}, 7, 9, {"4x"}};
    EXPECT_EQ(FreqFile::encode(content), bytesOf({5, 6, 1, 2, 7, 9, 4, 0, 0}));
    // A band whose lowest lies above its highest holds nothing, and loads as such.
    const auto empty = FreqFile::encode({9, 3, {"1"}, 1, 1, {"2"}});
    ASSERT_TRUE(empty);
    EXPECT_EQ(*empty, bytesOf({9, 3, 1, 1, 2}));
    FrequencyTables loaded;
    EXPECT_EQ(FreqFile::decode(*empty, loaded), FreqFileStatus::Loaded);
    EXPECT_EQ(loaded.broadcast.lowest, 9);
    EXPECT_EQ(loaded.cable.frequencyHz[1], 2);
}

TEST_F(FreqFileTest, AHeaderOutsideOneTo256IsNotWrittenAndKeepsTheOldFile) {
    const auto path = FreqFile::pathForName("keep");
    ASSERT_TRUE(FreqFile::write(path, FreqFile::contentOf(smallTables())));
    for (const TableFileContent& bad : {TableFileContent{0, 2, {}, 1, 1, {}}, TableFileContent{1, 257, {}, 1, 1, {}},
                                        TableFileContent{1, 1, {}, -5, 1, {}}, TableFileContent{1, 1, {}, 1, INT_MAX, {}}}) {
        EXPECT_FALSE(FreqFile::encode(bad));
        EXPECT_FALSE(FreqFile::write(path, bad));
    }
    EXPECT_EQ(test::readFile(path).size(), 36u);
}

TEST_F(FreqFileTest, MalformedFilesAreRefusedAndLeaveTheTablesUntouched) {
    const std::string good = bytesOf({2, 4, 10, 20, 30, 1, 2, 40, 50});
    const FrequencyTables before = smallTables();
    const auto refuse = [&](const std::string& bytes, FreqFileStatus expected, const std::string& what) {
        FrequencyTables tables = before;
        EXPECT_EQ(FreqFile::decode(bytes, tables), expected) << what;
        EXPECT_EQ(tables, before) << what;
    };
    for (std::size_t size = 0; size < good.size(); ++size)
        refuse(good.substr(0, size), FreqFileStatus::EndsEarly, "cut to " + std::to_string(size));
    refuse(good + "x", FreqFileStatus::BytesLeftOver, "one byte more");
    refuse(good + bytesOf({60}), FreqFileStatus::BytesLeftOver, "one value more");
    refuse(std::string(FreqFile::kMaxBytes + 1, '\1'), FreqFileStatus::BytesLeftOver, "too long");
    refuse(bytesOf({0, 1, 10, 1, 1, 10}), FreqFileStatus::ChannelOutOfRange, "broadcast lowest 0");
    refuse(bytesOf({1, 257}), FreqFileStatus::ChannelOutOfRange, "broadcast highest 257");
    refuse(bytesOf({1, 1, 10, -1, 1, 10}), FreqFileStatus::ChannelOutOfRange, "cable lowest -1");
    refuse(bytesOf({1, 1, 10, 1, 300, 10}), FreqFileStatus::ChannelOutOfRange, "cable highest 300");

    // The same through the model: the load fails and the records keep what they held.
    test::writeFile(FreqFile::pathForName("short"), good.substr(0, 30));
    ChannelModel model;
    model.records() = before;
    EXPECT_FALSE(model.LoadFreqFile("short"));
    EXPECT_FALSE(model.LoadFreqFile("absent"));
    EXPECT_EQ(model.loadFreqFileStatus("absent"), FreqFileStatus::CannotOpen);
    EXPECT_EQ(model.loadFreqFileStatus("../short"), FreqFileStatus::BadName);
    EXPECT_EQ(model.loadFreqFileStatus(""), FreqFileStatus::BadName);
    EXPECT_EQ(model.records(), before);
}

TEST_F(FreqFileTest, OnlyDefaultWithThisCapitalisationIsReserved) {
    EXPECT_TRUE(FreqFile::isDefaultName("Default"));
    EXPECT_FALSE(FreqFile::isDefaultName("default"));
    ASSERT_TRUE(FreqFile::write(FreqFile::pathForName("default"), FreqFile::contentOf(smallTables())));
    ChannelModel model;
    EXPECT_TRUE(model.LoadFreqFile("default"));
}

}  // namespace
}  // namespace kelto
