#include "reservations/ReservationRequest.h"

#include "reservations/ArchiveReader.h"
#include "reservations/ArchiveWriter.h"
#include "reservations/TextConversion.h"

#include "platform/Text.h"

namespace kelto {

std::optional<ReservationRequest> ReservationRequest::decode(std::string_view block, std::string* why) {
    if (block.size() < kBlockSize) {
        if (why) *why = platform::formatText("the block has %zu bytes, %zu expected", block.size(), kBlockSize);
        return std::nullopt;
    }
    ArchiveReader in(block);
    ReservationRequest request;
    std::uint16_t channel = 0;
    std::uint16_t reserved = 0;
    std::uint32_t option = 0;
    in.readU16(channel);
    in.readU16(reserved);
    in.readU32(request.startTime);
    in.readU32(request.endTime);
    std::string_view title = block.substr(12, kTitleSize);
    const std::size_t end = title.find('\0');
    if (end != std::string_view::npos) title = title.substr(0, end);
    request.title = sanitizeUtf8(title);
    ArchiveReader tail(block.substr(140));
    tail.readU32(option);
    if (option > static_cast<std::uint32_t>(AfterRecording::PowerOff)) {
        if (why) *why = platform::formatText("option after recording %u is not 0, 1 or 2", option);
        return std::nullopt;
    }
    request.channel = static_cast<std::int16_t>(channel);
    request.option = static_cast<AfterRecording>(option);
    return request;
}

std::string ReservationRequest::encode() const {
    ArchiveWriter out;
    out.writeU16(static_cast<std::uint16_t>(channel));
    out.writeU16(0);
    out.writeU32(startTime);
    out.writeU32(endTime);
    std::string block = out.take();
    std::string titleField(platform::cutUtf8(title, kTitleSize - 1));
    titleField.resize(kTitleSize, '\0');
    block += titleField;
    ArchiveWriter tail;
    tail.writeU32(static_cast<std::uint32_t>(option));
    block += tail.bytes();
    return block;
}

ReservationRecord ReservationRequest::toRecord() const {
    ReservationRecord record;
    record.apply = 1;
    record.videoMode = 0;
    record.channel = static_cast<std::uint32_t>(static_cast<std::int32_t>(channel));
    record.startTime = startTime;
    record.endTime = endTime;
    record.dayMode = DayMode::Date;
    record.comment = title;
    record.recording = 1;
    record.option = option;
    record.recordedFile.clear();
    return record;
}

}  // namespace kelto
