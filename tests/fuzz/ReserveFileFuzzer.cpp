// "reserve.rsd": what decodes writes back to bytes that decode to the same table and write back
// identically; a file written in the short string forms (as the program writes) comes back byte
// for byte up to the ignored tail. A refused file is moved aside whole, never lost.
#include "FuzzSupport.h"

#include "platform/AtomicFile.h"
#include "reservations/ReserveFile.h"

#include <filesystem>

using namespace kelto;

namespace {

bool startsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

void checkLoadKeepsRefusedFiles(std::string_view bytes, bool accepted) {
    const std::filesystem::path folder = fuzz::scratchRoot() / "reserve";
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / ReserveFile::kFileName;
    FUZZ_CHECK(platform::writeFileAtomically(file, bytes));
    ReservationTable table;
    const auto result = ReserveFile::load(file, table, 1234);
    if (accepted) {
        FUZZ_CHECK(result == ReserveFile::LoadResult::Loaded);
    } else {
        FUZZ_CHECK(result == ReserveFile::LoadResult::Refused);
        FUZZ_CHECK(table == ReservationTable(1234));
        FUZZ_CHECK(!std::filesystem::exists(file));
        std::string kept;
        FUZZ_CHECK(platform::readWholeFile(file.string() + ReserveFile::kRefusedSuffix, kept));
        FUZZ_CHECK(kept == bytes);
    }
    std::filesystem::remove_all(folder);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ReservationTable table(77);
    const ReservationTable untouched = table;
    std::string why;
    const bool accepted = ReserveFile::decode(bytes, table, &why);
    checkLoadKeepsRefusedFiles(bytes, accepted);
    if (!accepted) {
        FUZZ_CHECK(!why.empty());
        FUZZ_CHECK(table == untouched);
        return 0;
    }
    FUZZ_CHECK(table.count() >= 0 && table.count() <= ReservationTable::kSlots);
    FUZZ_CHECK(bytes.size() >= 16);

    const std::string written = ReserveFile::encode(table);
    ReservationTable again(99);
    FUZZ_CHECK(ReserveFile::decode(written, again));
    FUZZ_CHECK(again == table);
    FUZZ_CHECK(ReserveFile::encode(again) == written);
    // Records beyond the count stay blank, so the comparison above covers the whole table.
    for (int i = table.count(); i < ReservationTable::kSlots; ++i)
        FUZZ_CHECK(table.record(i) == ReservationRecord::blank());

    // A file whose strings all use the short length form (no 0xFF byte anywhere, which the
    // long and the 16-bit forms need) reads back byte for byte, up to the ignored tail.
    if (bytes.find('\xFF') == std::string_view::npos) FUZZ_CHECK(startsWith(bytes, written));
    return 0;
}
