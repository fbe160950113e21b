#include "reservations/ReservationTable.h"

#include "reservations/LocalTime.h"

namespace kelto {

ReservationTable::ReservationTable(std::uint32_t turnOffTime) { clear(turnOffTime); }

ReservationRecord ReservationTable::record(int index) const {
    if (!inSlots(index)) return ReservationRecord::blank();
    return slots_[static_cast<std::size_t>(index)];
}

bool ReservationTable::setRecord(int index, const ReservationRecord& record) {
    if (!inSlots(index)) return false;
    slots_[static_cast<std::size_t>(index)] = record;
    changed();
    return true;
}

bool ReservationTable::addRecord(const ReservationRecord& record) {
    if (full() || !timeFree(record.startTime)) return false;
    slots_[static_cast<std::size_t>(count_)] = record;
    ++count_;
    changed();
    return true;
}

bool ReservationTable::deleteRecord(int index) {
    if (index < 0 || index >= count_) return false;
    for (int i = index; i + 1 < count_; ++i)
        slots_[static_cast<std::size_t>(i)] = slots_[static_cast<std::size_t>(i + 1)];
    --count_;
    slots_[static_cast<std::size_t>(count_)] = ReservationRecord::blank();
    changed();
    return true;
}

std::uint32_t ReservationTable::apply(int index) const {
    return inSlots(index) ? slots_[static_cast<std::size_t>(index)].apply : 0;
}

bool ReservationTable::setApply(int index, std::uint32_t apply) {
    if (index < 0 || index >= count_) return false;
    slots_[static_cast<std::size_t>(index)].apply = apply;
    changed();
    return true;
}

bool ReservationTable::timeFree(std::uint32_t time) const {
    const int minute = toLocalTime(time).minuteOfDay();
    for (int i = 0; i < count_; ++i)
        if (toLocalTime(slots_[static_cast<std::size_t>(i)].startTime).minuteOfDay() == minute) return false;
    return toLocalTime(turnOff_.time).minuteOfDay() != minute;
}

void ReservationTable::clear(std::uint32_t turnOffTime) {
    slots_.fill(ReservationRecord::blank());
    count_ = 0;
    turnOff_ = TurnOffSetting{};
    turnOff_.time = turnOffTime;
    changed();
}

bool ReservationTable::assign(const ReservationRecord* records, int count, const TurnOffSetting& turnOff) {
    if (count < 0 || count > kSlots) return false;
    slots_.fill(ReservationRecord::blank());
    for (int i = 0; i < count; ++i) slots_[static_cast<std::size_t>(i)] = records[i];
    count_ = count;
    turnOff_ = turnOff;
    changed();
    return true;
}

}  // namespace kelto
