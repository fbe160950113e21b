#pragma once
// One reservation of the tray agent's table: at a time of day (on one weekday, every day or on
// one date) switch the viewer to a channel and, when asked, record it and then do something.
// The fields are in the order of the "reserve.rsd" file and keep their stored values as they
// are (no clamping), so a file reads and writes back byte for byte; the code that acts on a
// record checks the values it uses.
#include <cstdint>
#include <string>

namespace kelto {

// Which days a reservation applies to.
enum class DayMode : std::uint32_t {
    Sunday = 0,
    Monday = 1,
    Tuesday = 2,
    Wednesday = 3,
    Thursday = 4,
    Friday = 5,
    Saturday = 6,
    Daily = 7,  // every day
    Date = 8,   // once, on the local date of the start time
};

// What happens after a scheduled recording.
enum class AfterRecording : std::uint32_t {
    None = 0,
    ExitProgram = 1,  // close the viewer
    PowerOff = 2,     // switch the computer off
};

struct ReservationRecord {
    std::uint32_t apply = 0;       // 1 active, 0 inactive
    std::uint32_t videoMode = 0;   // the viewer's VideoMode value: 0 TV, 1 CATV
    std::uint32_t channel = 0;     // band channel number, in every country
    std::uint32_t startTime = 0;   // seconds since 1970-01-01 00:00 UTC; local hour and minute count
    std::uint32_t endTime = 0;     // as startTime; only the local hour and minute count
    DayMode dayMode = DayMode::Daily;
    std::string comment;           // UTF-8
    std::uint32_t recording = 0;   // 1 record, 0 only switch channel
    AfterRecording option = AfterRecording::None;
    std::string recordedFile;      // full path of the last file recorded for it; UTF-8

    // The record that clears a slot: all zero, day mode Daily, empty texts.
    static ReservationRecord blank() { return {}; }

    bool isActive() const { return apply == 1; }
    bool records() const { return recording == 1; }

    // The same reservation, apart from the check box and the recorded file (which starting it
    // changes): used to find a record again after the table may have been edited.
    bool sameReservationAs(const ReservationRecord& other) const {
        return videoMode == other.videoMode && channel == other.channel && startTime == other.startTime &&
               endTime == other.endTime && dayMode == other.dayMode && comment == other.comment &&
               recording == other.recording && option == other.option;
    }

    bool operator==(const ReservationRecord&) const = default;
};

}  // namespace kelto
