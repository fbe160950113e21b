// "reserve.rsd": the byte layout, the three string length forms and the 16-bit character form,
// round trips, and the refusal of damaged files (kept aside, table empty, reason traced).
#include "reservations/ArchiveReader.h"
#include "reservations/ArchiveWriter.h"
#include "reservations/ReserveFile.h"
#include "tests/reservations/ReservationTestSupport.h"

#include "platform/Paths.h"
#include "platform/Trace.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kelto {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::writeFile;

std::string u32(std::uint32_t value) {
    ArchiveWriter out;
    out.writeU32(value);
    return out.take();
}

std::string encodedString(std::string_view text) {
    ArchiveWriter out;
    out.writeString(text);
    return out.take();
}

std::string decodedString(std::string_view bytes, bool* ok = nullptr) {
    ArchiveReader in(bytes);
    std::string text;
    const bool read = in.readString(text);
    if (ok) *ok = read;
    return text;
}

class ReserveFileTest : public ::testing::Test {
protected:
    void SetUp() override { test::setTimeZone("UTC"); }
    fs::path path() const { return ReserveFile::defaultPath(); }
};

TEST_F(ReserveFileTest, EmptyTableIsSixteenBytesOfCountAndTurnOff) {
    ReservationTable table(0x01020304);
    const std::string bytes = ReserveFile::encode(table);
    EXPECT_EQ(bytes, u32(0) + u32(0) + u32(0x01020304) + u32(0));
    EXPECT_EQ(bytes.size(), 16u);
    EXPECT_EQ(bytes.substr(8, 4), std::string("\x04\x03\x02\x01", 4));  // little-endian
}

TEST_F(ReserveFileTest, StringLengthFormsAtTheirBoundaries) {
    EXPECT_EQ(encodedString(""), std::string(1, '\0'));
    EXPECT_EQ(encodedString(std::string(254, 'a')).substr(0, 1), "\xFE");
    EXPECT_EQ(encodedString(std::string(255, 'a')).substr(0, 3), std::string("\xFF\xFF\x00", 3));
    // A 300-character comment: 0xFF, the 16-bit value 300, then 300 bytes.
    const std::string comment(300, 'c');
    EXPECT_EQ(encodedString(comment), std::string("\xFF\x2C\x01", 3) + comment);
    EXPECT_EQ(encodedString(std::string(65533, 'a')).substr(0, 3), std::string("\xFF\xFD\xFF", 3));
    // 65534 would read as the 16-bit character marker, so it takes the long form.
    EXPECT_EQ(encodedString(std::string(65534, 'a')).substr(0, 7), std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7));

    for (std::size_t length : {0u, 254u, 255u, 300u, 65533u, 65534u, 65535u, 70000u}) {
        const std::string text(length, 'x');
        EXPECT_EQ(decodedString(encodedString(text)), text) << length;
    }
}

TEST_F(ReserveFileTest, SixteenBitCharactersAreReadAsUtf8) {
    // Marker 0xFF 0xFFFE, then a one-byte character count: "Tü" and a clef (surrogate pair).
    const std::string wide = std::string("\xFF\xFE\xFF\x04", 4) + std::string("T\0\xFC\0\x34\xD8\x1E\xDD", 8);
    EXPECT_EQ(decodedString(wide), "T\xC3\xBC\xF0\x9D\x84\x9E");
    // The same marker with a 16-bit character count (300 'A').
    std::string longWide = std::string("\xFF\xFE\xFF\xFF\x2C\x01", 6);
    for (int i = 0; i < 300; ++i) longWide += std::string("A\0", 2);
    EXPECT_EQ(decodedString(longWide), std::string(300, 'A'));
    // An unpaired surrogate becomes U+FFFD rather than invalid UTF-8.
    EXPECT_EQ(decodedString(std::string("\xFF\xFE\xFF\x01\x00\xD8", 6)), "\xEF\xBF\xBD");
    // Characters that run past the end are refused.
    bool ok = true;
    decodedString(std::string("\xFF\xFE\xFF\x03" "A\0B\0", 8), &ok);
    EXPECT_FALSE(ok);
}

TEST_F(ReserveFileTest, WriteThenReadGivesAnEqualTableAndEqualBytes) {
    ReservationTable table(test::today(23, 15));
    ReservationRecord first = test::reservationAt(test::today(21, 0), test::today(22, 30));
    first.comment = "Nachrichten \xC3\xBC" + std::string(300, '.');
    first.recording = 1;
    first.option = AfterRecording::PowerOff;
    first.recordedFile = "/home/user/Capture/AVI0001.AVI";
    ReservationRecord second = test::reservationAt(test::today(6, 30));
    second.apply = 0;
    second.videoMode = 1;
    second.dayMode = DayMode::Date;
    second.comment.clear();
    ASSERT_TRUE(table.addRecord(first));
    ASSERT_TRUE(table.addRecord(second));
    table.setTurnOff({1, test::today(23, 45), TurnOffOption::PowerOff});

    ASSERT_TRUE(ReserveFile::save(path(), table));
    const std::string bytes = readFile(path());
    EXPECT_EQ(bytes, ReserveFile::encode(table));

    ReservationTable loaded;
    EXPECT_EQ(ReserveFile::load(path(), loaded, 0), ReserveFile::LoadResult::Loaded);
    EXPECT_EQ(loaded, table);
    EXPECT_EQ(ReserveFile::encode(loaded), bytes);
    // Nothing but the file itself is left in the folder (no temporary file).
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(path().parent_path())) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST_F(ReserveFileTest, OddFieldValuesSurviveARoundTrip) {
    // Values the program never writes are kept as they are, so a file written back is unchanged.
    std::string bytes = u32(1);
    for (std::uint32_t value : {7u, 9u, 0xFFFFFFFFu, 1u, 2u, 12u}) bytes += u32(value);
    bytes += std::string("\x02" "ok", 3) + u32(5) + u32(3) + std::string(1, '\0');
    bytes += u32(3) + u32(0x80000000u) + u32(9);
    ReservationTable table;
    ASSERT_TRUE(ReserveFile::decode(bytes, table));
    EXPECT_EQ(table.record(0).dayMode, static_cast<DayMode>(12));
    EXPECT_EQ(ReserveFile::encode(table), bytes);
}

TEST_F(ReserveFileTest, MissingFileGivesTheEmptyTableWithTheStartTime) {
    ReservationTable table;
    table.addRecord(test::reservationAt(test::today(8, 0)));
    EXPECT_EQ(ReserveFile::load(path(), table, 4242), ReserveFile::LoadResult::Missing);
    EXPECT_EQ(table, ReservationTable(4242));
}

struct Damage {
    const char* name;
    std::string bytes;
    const char* reason;
};

TEST_F(ReserveFileTest, DamagedFilesAreRefusedWholeAndKeptAside) {
    std::string oneRecord = u32(1);
    for (int i = 0; i < 6; ++i) oneRecord += u32(1);
    const std::string recordTail = u32(0) + u32(0) + std::string(1, '\0');
    const std::string turnOff = u32(0) + u32(0) + u32(0);

    const std::vector<Damage> damages = {
        {"count over 30", u32(31) + std::string(2000, '\0'), "more than 30"},
        {"ends inside the count", std::string("\x01\x00", 2), "ends early"},
        {"ends inside a record", oneRecord, "ends early"},
        {"ends inside the turn-off", oneRecord + std::string(1, '\0') + recordTail + u32(0), "ends early"},
        {"string past the end", oneRecord + std::string("\xFF\x10\x27", 3) + "short" + recordTail + turnOff,
         "runs past the end"},
        {"long string past the end", oneRecord + std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 7) + recordTail + turnOff,
         "runs past the end"},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        fs::remove_all(path().parent_path());
        fs::create_directories(path().parent_path());
        fs::remove(platform::traceLogPath());
        writeFile(path(), damage.bytes);

        ReservationTable table;
        table.addRecord(test::reservationAt(test::today(8, 0)));
        EXPECT_EQ(ReserveFile::load(path(), table, 777), ReserveFile::LoadResult::Refused);
        EXPECT_EQ(table, ReservationTable(777));
        EXPECT_FALSE(fs::exists(path()));
        EXPECT_EQ(readFile(path().string() + ".bad"), damage.bytes);
        const std::string log = readFile(platform::traceLogPath());
        EXPECT_NE(log.find("reserve.rsd refused"), std::string::npos) << log;
        EXPECT_NE(log.find(damage.reason), std::string::npos) << log;
    }
}

TEST_F(ReserveFileTest, ThirtyRecordsAreAccepted) {
    ReservationTable table;
    for (int i = 0; i < ReservationTable::kSlots; ++i)
        ASSERT_TRUE(table.addRecord(test::reservationAt(test::today(10, i))));
    ReservationTable loaded;
    ASSERT_TRUE(ReserveFile::decode(ReserveFile::encode(table), loaded));
    EXPECT_EQ(loaded.count(), 30);
    EXPECT_EQ(loaded, table);
}

// The agent keeps "reserve.rsd" equal to its table after every change, not only at its exit,
// so a crash or a kill loses nothing that was accepted.
class SavedAtOnceTest : public test::EngineFixture {
protected:
    ReservationTable onDisk() {
        ReservationTable saved;
        EXPECT_EQ(ReserveFile::load(ReserveFile::defaultPath(), saved, 0), ReserveFile::LoadResult::Loaded);
        return saved;
    }
};

TEST_F(SavedAtOnceTest, EveryChangeOfTheTableIsOnDiskAtOnce) {
    startAgent(test::today(12, 0));
    EXPECT_FALSE(fs::exists(ReserveFile::defaultPath()));  // loading a missing file writes nothing

    ASSERT_TRUE(table().addRecord(test::reservationAt(test::today(20, 0))));
    EXPECT_EQ(onDisk(), table());
    ASSERT_TRUE(table().addRecord(test::reservationAt(test::today(21, 0))));
    EXPECT_EQ(onDisk().count(), 2);

    ReservationRecord changed = table().record(0);
    changed.comment = "changed";
    ASSERT_TRUE(table().setRecord(0, changed));
    EXPECT_EQ(onDisk().record(0).comment, "changed");

    ASSERT_TRUE(table().setApply(1, 0));
    EXPECT_EQ(onDisk().apply(1), 0u);

    table().setTurnOff({1, test::today(23, 30), TurnOffOption::PowerOff});
    EXPECT_EQ(onDisk().turnOff().apply, 1u);

    ASSERT_TRUE(table().deleteRecord(0));
    EXPECT_EQ(onDisk(), table());
    EXPECT_EQ(onDisk().count(), 1);
}

TEST_F(SavedAtOnceTest, TheSchedulerAndTheStarterChangesAreSavedToo) {
    startAgent(test::today(20, 58));
    ReservationRecord record = test::reservationAt(test::today(21, 0), test::today(21, 30));
    record.dayMode = DayMode::Date;
    record.recording = 1;
    ASSERT_TRUE(table().addRecord(record));
    viewer.opened = true;
    agent.runUntil(test::today(21, 0, 5));
    ASSERT_EQ(viewer.recordings.size(), 1u);
    // The recorded file is noted and the date record switched itself off: both on disk.
    EXPECT_EQ(onDisk().record(0).recordedFile, viewer.recordings[0]);
    EXPECT_EQ(onDisk().apply(0), 0u);
}

TEST_F(SavedAtOnceTest, CopiesOfTheTableDoNotWriteTheFile) {
    startAgent(test::today(12, 0));
    ReservationTable copy = table();
    ASSERT_TRUE(copy.addRecord(test::reservationAt(test::today(20, 0))));
    EXPECT_FALSE(fs::exists(ReserveFile::defaultPath()));
}

}  // namespace
}  // namespace kelto
