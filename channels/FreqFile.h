#pragma once
// The user's frequency tables: ".freq" files in the program folder. A file is a sequence of
// signed 32-bit little-endian integers with no header or padding:
//
//   broadcast lowest L1, broadcast highest H1, H1-L1+1 frequencies in Hz (channels L1..H1),
//   cable lowest L2, cable highest H2, H2-L2+1 frequencies in Hz (channels L2..H2)
//
// so a table of broadcast channels 2..4 and cable channels 1..2 is 4 x (4 + 3 + 2) = 36 bytes.
// A band whose lowest channel lies above its highest holds no frequencies.
// A table's name is the file name without folder and ".freq"; "Default" (this capitalisation)
// stands for the country file's tables and is never a file.
#include "settings/ChannelTypes.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelto {

constexpr const char* kDefaultTableName = "Default";
constexpr const char* kFreqFileExtension = ".freq";

enum class FreqFileStatus {
    Loaded,
    CannotOpen,         // missing or unreadable
    BadName,            // the name is empty or would leave the program folder
    EndsEarly,          // fewer values than the header announces
    ChannelOutOfRange,  // a lowest or highest channel outside 1..256
    BytesLeftOver,      // more bytes than the header announces
};

// The rows of the table dialogs, ready to be written: the header values and one text per row,
// each converted as a decimal number when written.
struct TableFileContent {
    std::int32_t broadcastLowest = 0;
    std::int32_t broadcastHighest = 0;
    std::vector<std::string> broadcastRows;
    std::int32_t cableLowest = 0;
    std::int32_t cableHighest = 0;
    std::vector<std::string> cableRows;
};

class FreqFile {
public:
    // Largest file that can be valid: both bands with 256 channels.
    static constexpr std::size_t kMaxBytes = 4 * (4 + 2 * kMaxChannel);

    static bool isDefaultName(std::string_view name) { return name == kDefaultTableName; }
    // A table name may not be empty and may not name another folder ('/', "." or "..").
    static bool isUsableName(std::string_view name);
    // program folder + name + ".freq"
    static std::filesystem::path pathForName(std::string_view name);

    // Decodes a file's bytes into `tables`. Only on Loaded are the tables changed: the limits of
    // both bands and the frequencies of channels lowest..highest (other entries keep theirs).
    static FreqFileStatus decode(std::string_view bytes, FrequencyTables& tables);
    static FreqFileStatus read(const std::filesystem::path& path, FrequencyTables& tables);

    // A row's text as the file stores it: leading blanks, an optional sign and the decimal digits
    // up to the first other character; text without digits gives 0.
    static std::int32_t rowValue(std::string_view text);

    // The bytes of a table file. Each band gets exactly highest-lowest+1 values (none when lowest
    // lies above highest): the rows in order, 0 for rows the list lacks, extra rows dropped, so the
    // file always matches its own header. Nothing (nullopt) for a header channel outside 1..256:
    // such a file could never be loaded again.
    static std::optional<std::string> encode(const TableFileContent& content);
    // The content that writes a pair of tables as they are (frequencies as decimal rows).
    static TableFileContent contentOf(const FrequencyTables& tables);

    // Creates or replaces the file (a crash never leaves half a file). False when it cannot be
    // written or its header is refused (an existing file then stays as it was).
    static bool write(const std::filesystem::path& path, const TableFileContent& content);
};

const char* freqFileStatusText(FreqFileStatus status);

}  // namespace kelto
