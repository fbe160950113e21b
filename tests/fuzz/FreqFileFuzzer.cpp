// ".freq" table files: a file that loads writes back byte for byte; a refused one leaves the
// tables as they were.
#include "FuzzSupport.h"

#include "channels/FreqFile.h"

using namespace kelto;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    FrequencyTables tables;
    for (std::int32_t n = 0; n <= kMaxChannel; ++n) {
        tables.broadcast.frequencyHz[std::size_t(n)] = -1;
        tables.cable.frequencyHz[std::size_t(n)] = -2;
    }
    tables.broadcast.lowest = tables.cable.lowest = 500;
    const FrequencyTables before = tables;

    const FreqFileStatus status = FreqFile::decode(bytes, tables);
    FUZZ_CHECK(freqFileStatusText(status) != nullptr);
    if (status != FreqFileStatus::Loaded) {
        FUZZ_CHECK(tables == before);
        return 0;
    }
    FUZZ_CHECK(size <= FreqFile::kMaxBytes && size % 4 == 0);
    for (const FrequencyTable* band : {&tables.broadcast, &tables.cable}) {
        FUZZ_CHECK(isChannelNumber(band->lowest) && isChannelNumber(band->highest));
        // Channels outside the band keep what they had.
        for (std::int32_t n = 1; n <= kMaxChannel; ++n)
            if (n < band->lowest || n > band->highest)
                FUZZ_CHECK(band->frequencyHz[std::size_t(n)] == (band == &tables.broadcast ? -1 : -2));
    }
    const auto written = FreqFile::encode(FreqFile::contentOf(tables));
    FUZZ_CHECK(written.has_value());
    FUZZ_CHECK(*written == bytes);
    return 0;
}
