#pragma once
// The viewer's binding to the card's video driver library "BtVid_32.dll": its 57 entry points
// (GPIO and chip-family rows optional) and the tuner band configuration of the country file.
// The viewer itself calls only I2CHWRead, I2CHWWrite3, Bt848Pause and Bt848Continue; a missing
// one answers as a failing call and is never called.
#include "channels/LibraryLink.h"
#include "channels/TunerBandConfig.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelto {

class CBtVidLink {
public:
    static constexpr const char* kLibraryName = "BtVid_32.dll";
    static const std::array<EntryPointName, 57>& entryPoints();

    explicit CBtVidLink(std::string libraryName = kLibraryName);

    LinkLoadResult load() { return link_.load(); }
    void unload() { link_.unload(); }
    bool loaded() const { return link_.loaded(); }
    const LibraryLink& link() const { return link_; }

    // The driver's answers: 0 done, 1 failed (also when the entry point is missing).
    int I2CHWRead(std::uint32_t address, std::uint8_t* data) const;
    int I2CHWWrite3(std::uint32_t address, std::uint32_t data1, std::uint32_t data2) const;
    // False when the entry point is missing.
    bool Bt848Pause() const;
    bool Bt848Continue() const;

    TunerBandConfig& bandConfig() { return bandConfig_; }
    const TunerBandConfig& bandConfig() const { return bandConfig_; }

private:
    LibraryLink link_;
    TunerBandConfig bandConfig_;
};

}  // namespace kelto
