#pragma once
// Sound decoder of type 1 (I2C 0xB0): 24 write registers programmed one by one with
// (register, value) transfers, and three read-only status bytes from subaddress 0 that say what
// the received sound carries:
//   mono       b0 = 0x00          (decodes to 0x01)
//   stereo     b0 = 0x01 (pilot)  (decodes to 0x11)
//   bilingual  b0 = 0x02          (decodes to 0x21)
// A one-byte write sets the subaddress the next read starts from.
#include "cardsim/BroadcastWorld.h"
#include "cardsim/I2cDevice.h"

#include <array>
#include <functional>
#include <optional>

namespace kelto::cardsim {

class SoundDecoderType1 final : public I2cDevice {
public:
    static constexpr std::size_t kRegisterCount = 24;
    using SoundSource = std::function<std::optional<SoundMode>()>;

    explicit SoundDecoderType1(SoundSource received) : received_(std::move(received)) {}

    bool write(std::span<const std::uint8_t> bytes) override;
    void beginRead() override {}
    std::uint8_t readByte() override;

    const std::array<std::uint8_t, kRegisterCount>& registers() const { return registers_; }
    // Which registers have been written since the card was built.
    const std::array<bool, kRegisterCount>& written() const { return written_; }
    std::array<std::uint8_t, 3> statusBytes() const;

private:
    SoundSource received_;
    std::array<std::uint8_t, kRegisterCount> registers_{};
    std::array<bool, kRegisterCount> written_{};
    std::uint8_t readPointer_ = 0;
};

}  // namespace kelto::cardsim
