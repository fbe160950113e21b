#pragma once
// A reservation request that another program sends the tray agent ("Vezidov ID") as a copy-data
// message. The block (little-endian, 144 bytes):
//   offset   0, 2 bytes  channel, signed
//   offset   2, 2 bytes  reserved, ignored
//   offset   4, 4 bytes  start time (seconds since 1970 UTC)
//   offset   8, 4 bytes  end time
//   offset  12, 128 bytes programme title, zero-terminated
//   offset 140, 4 bytes  option after recording (0 none, 1 exit the viewer, 2 power off)
// The block comes from outside the program, so it is checked before use: a block shorter than
// 144 bytes or an option outside 0..2 is refused. Bytes past 144 are ignored.
#include "reservations/ReservationRecord.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelto {

struct ReservationRequest {
    static constexpr std::size_t kBlockSize = 144;
    static constexpr std::size_t kTitleSize = 128;

    std::int16_t channel = 0;
    std::uint32_t startTime = 0;
    std::uint32_t endTime = 0;
    std::string title;  // UTF-8; invalid sequences replaced by U+FFFD
    AfterRecording option = AfterRecording::None;

    // Decodes a block; nullopt when it is refused (why, when given, says why).
    static std::optional<ReservationRequest> decode(std::string_view block, std::string* why = nullptr);
    // The block for a request (what a sending program such as keltoctl builds). The title is cut
    // to 127 bytes without splitting a character.
    std::string encode() const;

    // The record the agent adds: active, TV, the channel (sign-extended, as the 32-bit field
    // takes a 16-bit value), start and end, day mode Date, the title as comment, recording, the
    // option, no file yet.
    ReservationRecord toRecord() const;
};

}  // namespace kelto
