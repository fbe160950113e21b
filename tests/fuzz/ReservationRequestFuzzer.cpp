// The reservation request block another program sends: an accepted block keeps its numbers,
// its title is valid UTF-8 taken from the title field, and the block the request writes back
// decodes to the same request (with the title cut to the field).
#include "FuzzSupport.h"

#include "platform/Text.h"
#include "reservations/ReservationRequest.h"

using namespace kelto;

namespace {
std::uint32_t u32At(std::string_view b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + std::size_t(i)]);
    return v;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view block(reinterpret_cast<const char*>(data), size);
    std::string why;
    const auto request = ReservationRequest::decode(block, &why);
    if (!request) {
        FUZZ_CHECK(!why.empty());
        FUZZ_CHECK(size < ReservationRequest::kBlockSize || u32At(block, 140) > 2);
        return 0;
    }
    FUZZ_CHECK(size >= ReservationRequest::kBlockSize);
    FUZZ_CHECK(static_cast<std::uint16_t>(request->channel) ==
               (static_cast<unsigned char>(block[0]) | (static_cast<unsigned char>(block[1]) << 8)));
    FUZZ_CHECK(request->startTime == u32At(block, 4) && request->endTime == u32At(block, 8));
    FUZZ_CHECK(static_cast<std::uint32_t>(request->option) == u32At(block, 140));
    FUZZ_CHECK(fuzz::isValidUtf8(request->title));
    FUZZ_CHECK(request->title.find('\0') == std::string::npos);
    std::string_view field = block.substr(12, ReservationRequest::kTitleSize);
    field = field.substr(0, field.find('\0'));
    if (fuzz::isValidUtf8(field)) FUZZ_CHECK(request->title == field);

    const std::string written = request->encode();
    FUZZ_CHECK(written.size() == ReservationRequest::kBlockSize);
    const auto again = ReservationRequest::decode(written);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(again->channel == request->channel && again->startTime == request->startTime &&
               again->endTime == request->endTime && again->option == request->option);
    FUZZ_CHECK(again->title == platform::cutUtf8(request->title, ReservationRequest::kTitleSize - 1));
    FUZZ_CHECK(again->encode() == written);
    // A block as a sender writes it (zero reserved field, title in the field) comes back unchanged.
    if (block[2] == 0 && block[3] == 0 && field.size() < ReservationRequest::kTitleSize && fuzz::isValidUtf8(field) &&
        block.substr(12 + field.size(), ReservationRequest::kTitleSize - field.size()).find_first_not_of('\0') ==
            std::string_view::npos)
        FUZZ_CHECK(written == block.substr(0, ReservationRequest::kBlockSize));

    const ReservationRecord record = request->toRecord();
    FUZZ_CHECK(record.apply == 1 && record.dayMode == DayMode::Date && record.comment == request->title);
    FUZZ_CHECK(static_cast<std::int32_t>(record.channel) == request->channel);
    return 0;
}
