#include "reservations/ReserveFile.h"

#include "reservations/ArchiveReader.h"
#include "reservations/ArchiveWriter.h"

#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "platform/Trace.h"

#include <array>
#include <system_error>

namespace fs = std::filesystem;

namespace kelto {

fs::path ReserveFile::defaultPath() { return platform::programFolder() / kFileName; }

std::string ReserveFile::encode(const ReservationTable& table) {
    ArchiveWriter out;
    out.writeU32(static_cast<std::uint32_t>(table.count()));
    for (int i = 0; i < table.count(); ++i) {
        const ReservationRecord record = table.record(i);
        out.writeU32(record.apply);
        out.writeU32(record.videoMode);
        out.writeU32(record.channel);
        out.writeU32(record.startTime);
        out.writeU32(record.endTime);
        out.writeU32(static_cast<std::uint32_t>(record.dayMode));
        out.writeString(record.comment);
        out.writeU32(record.recording);
        out.writeU32(static_cast<std::uint32_t>(record.option));
        out.writeString(record.recordedFile);
    }
    const TurnOffSetting& turnOff = table.turnOff();
    out.writeU32(turnOff.apply);
    out.writeU32(turnOff.time);
    out.writeU32(static_cast<std::uint32_t>(turnOff.option));
    return out.take();
}

bool ReserveFile::decode(std::string_view bytes, ReservationTable& table, std::string* why) {
    ArchiveReader in(bytes);
    auto refuse = [&](const std::string& reason) {
        if (why) *why = reason;
        return false;
    };

    std::uint32_t count = 0;
    if (!in.readU32(count)) return refuse(in.error());
    if (count > ReservationTable::kSlots)
        return refuse(platform::formatText("it holds %u reservations, more than %d", count, ReservationTable::kSlots));

    std::array<ReservationRecord, ReservationTable::kSlots> records{};
    for (std::uint32_t i = 0; i < count; ++i) {
        ReservationRecord& record = records[i];
        std::uint32_t dayMode = 0;
        std::uint32_t option = 0;
        in.readU32(record.apply);
        in.readU32(record.videoMode);
        in.readU32(record.channel);
        in.readU32(record.startTime);
        in.readU32(record.endTime);
        in.readU32(dayMode);
        in.readString(record.comment);
        in.readU32(record.recording);
        in.readU32(option);
        in.readString(record.recordedFile);
        if (!in.ok()) return refuse(platform::formatText("record %u: %s", i + 1, in.error().c_str()));
        record.dayMode = static_cast<DayMode>(dayMode);
        record.option = static_cast<AfterRecording>(option);
    }

    TurnOffSetting turnOff;
    std::uint32_t turnOffOption = 0;
    in.readU32(turnOff.apply);
    in.readU32(turnOff.time);
    in.readU32(turnOffOption);
    if (!in.ok()) return refuse("turn-off: " + in.error());
    turnOff.option = static_cast<TurnOffOption>(turnOffOption);

    if (in.remaining() > 0)
        platform::tracef("reserve.rsd: %zu bytes after the turn-off setting ignored", in.remaining());
    table.assign(records.data(), static_cast<int>(count), turnOff);
    return true;
}

ReserveFile::LoadResult ReserveFile::load(const fs::path& path, ReservationTable& table,
                                          std::uint32_t initialTurnOffTime) {
    table.clear(initialTurnOffTime);
    std::error_code ec;
    if (!fs::exists(path, ec)) return LoadResult::Missing;

    std::string bytes;
    std::string reason;
    if (!platform::readWholeFile(path, bytes)) {
        // Kept aside as well: saving at exit would otherwise replace a file we could not read.
        reason = "it cannot be read";
    } else if (decode(bytes, table, &reason)) {
        return LoadResult::Loaded;
    }
    const fs::path aside = platform::moveAside(path, kRefusedSuffix);
    platform::tracef("%s refused (%s); %s; the reservation table starts empty", path.c_str(), reason.c_str(),
                     aside.empty() ? "it could not be moved aside" : ("kept as " + aside.string()).c_str());
    return LoadResult::Refused;
}

bool ReserveFile::save(const fs::path& path, const ReservationTable& table) {
    std::error_code ec;
    if (path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
    std::string error;
    if (!platform::writeFileAtomically(path, encode(table), &error)) {
        platform::tracef("%s not saved: %s", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

}  // namespace kelto
