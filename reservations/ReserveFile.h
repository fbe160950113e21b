#pragma once
// The file "reserve.rsd" in the program folder: the reservation table and the turn-off, read
// when the tray agent starts and written when it exits.
//
// Layout (little-endian, no header, no version): the record count (32 bits); per record apply,
// video mode, channel, start, end, day mode (32 bits each), the comment (length-prefixed string,
// see ArchiveWriter), recording, option (32 bits each), the recorded file (string); then the
// turn-off apply, time and option (32 bits each). An empty table is 16 bytes.
//
// A file that holds more than 30 records, ends early or has a string running past its end is
// refused whole: the table is left empty, the file is moved aside to "reserve.rsd.bad" (then
// ".bad.2", ...) so nothing is lost, and the trace log says why. Saving replaces the file
// atomically, so a crash while saving leaves the old file or the new one.
#include "reservations/ReservationTable.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kelto {

class ReserveFile {
public:
    static constexpr const char* kFileName = "reserve.rsd";
    static constexpr const char* kRefusedSuffix = ".bad";

    enum class LoadResult {
        Loaded,   // the file was read into the table
        Missing,  // no file: the table is empty with the initial turn-off
        Refused,  // unreadable or malformed: moved aside, the table is empty with the initial turn-off
    };

    // "reserve.rsd" in the program folder.
    static std::filesystem::path defaultPath();

    // The file's bytes for a table.
    static std::string encode(const ReservationTable& table);
    // Reads the bytes into table. On refusal the table is untouched, false is returned and why
    // (when given) says what is wrong. Bytes after the turn-off are ignored (and traced).
    static bool decode(std::string_view bytes, ReservationTable& table, std::string* why = nullptr);

    // Loads path into table. initialTurnOffTime is the turn-off time the table gets when the file
    // is missing or refused (the agent's start time).
    static LoadResult load(const std::filesystem::path& path, ReservationTable& table,
                           std::uint32_t initialTurnOffTime);
    // Writes the table to path atomically; false (and a trace line) when it cannot be written.
    static bool save(const std::filesystem::path& path, const ReservationTable& table);
};

}  // namespace kelto
