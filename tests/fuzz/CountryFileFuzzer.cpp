// The country file of channel plans and tuner data: whatever it holds, the readers keep to its
// rules: only channels 1..256 inside the table's range carry a frequency, the band limits agree
// between the readers, and an over-long tuner model name gets the default intermediate frequency.
#include "FuzzSupport.h"

#include "channels/CountryConfigFile.h"
#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>

using namespace kelto;
namespace fs = std::filesystem;

namespace {

// The channel table as its reader must leave it: limits as given, frequencies only inside.
void checkTable(const FrequencyTable& table) {
    for (std::int32_t n = 1; n <= kMaxChannel; ++n)
        if (n < table.firstStored() || n > table.lastStored()) FUZZ_CHECK(table.frequencyHz[std::size_t(n)] == 0);
    FUZZ_CHECK(table.frequencyHz[0] == 0);
}

// A limit the reservation list reads is the table's, or its own default where the table has none.
void checkBound(std::int32_t fromTables, std::int32_t fromList, std::int32_t listDefault) {
    FUZZ_CHECK(fromList == fromTables || (fromTables == 0 && fromList == listDefault));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    static long generation = 0;
    // The first byte is the country code (0..255 with sign from the top bit, so negative codes
    // are tried too); the rest is the file.
    const int countryCode = static_cast<std::int8_t>(data[0]);
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const fs::path path = fuzz::scratchRoot() / "country.ini";
    FUZZ_CHECK(platform::writeFileAtomically(path, text));
    const timespec times[2] = {{++generation, 0}, {generation, 0}};  // never mistaken for the last input
    FUZZ_CHECK(::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0);
    const std::string file = path.string();

    const TunerFileSettings tuner = readTunerSettings(file, countryCode);
    FUZZ_CHECK(tuner.tunerModel.size() <= 255);
    FUZZ_CHECK(tuner.tunerModelRefused == (tuner.tunerModel.size() > kTunerModelNameMaxChars));
    if (tuner.tunerModelRefused) FUZZ_CHECK(tuner.intermediateFrequencyHz == kDefaultIntermediateFrequencyHz);

    const FrequencyTables tables = readConfigTables(file, countryCode);
    checkTable(tables.broadcast);
    checkTable(tables.cable);

    const ChannelBounds bounds = readReservationBounds(file, countryCode);
    const ChannelBounds ofTables = boundsOf(tables);
    checkBound(ofTables.tvLowest, bounds.tvLowest, 2);
    checkBound(ofTables.tvHighest, bounds.tvHighest, 69);
    checkBound(ofTables.catvLowest, bounds.catvLowest, 1);
    checkBound(ofTables.catvHighest, bounds.catvHighest, 125);

    // The readers only read: a second pass gives the same.
    FUZZ_CHECK(readConfigTables(file, countryCode) == tables);
    return 0;
}
