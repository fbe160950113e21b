#pragma once
// The viewer's binding to the hardware-control library "RURORIZI.DLL" (librurorizi.so): the five
// numbered-parameter entry points the viewer uses, all required. A call whose entry point is
// missing is skipped and answers nullopt.
#include "channels/LibraryLink.h"

#include <array>
#include <optional>
#include <string>

namespace kelto {

class CRuroriziLink {
public:
    static constexpr const char* kLibraryName = "RURORIZI.DLL";
    static const std::array<EntryPointName, 5>& entryPoints();

    explicit CRuroriziLink(std::string libraryName = kLibraryName);

    LinkLoadResult load() { return link_.load(); }
    void unload() { link_.unload(); }
    bool loaded() const { return link_.loaded(); }
    const LibraryLink& link() const { return link_; }

    std::optional<int> SetTVParam(unsigned code, int value) const;
    std::optional<int> GetTVParam(unsigned code) const;
    std::optional<int> SetRadioParam(unsigned code, int value) const;
    std::optional<int> GetRadioParam(unsigned code) const;
    std::optional<int> SetAudioParam(unsigned code, int value) const;

private:
    LibraryLink link_;
};

}  // namespace kelto
