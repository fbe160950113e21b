#include "channels/LibraryLink.h"

#include "platform/Trace.h"

#include <algorithm>

namespace kelto {

LibraryLink::LibraryLink(std::string libraryName, std::span<const EntryPointName> entryPoints)
    : libraryName_(std::move(libraryName)), names_(entryPoints), entries_(entryPoints.size(), nullptr) {}

LibraryLink::~LibraryLink() { unload(); }

LinkLoadResult LibraryLink::load() {
    unload();
    module_ = platform::loadLibrary(libraryName_);
    if (!module_) {
        platform::tracef("%s cannot be loaded: %s", libraryName_.c_str(), platform::lastLoadError().c_str());
        return LinkLoadResult::LibraryMissing;
    }
    for (std::size_t row = 0; row < names_.size(); ++row) {
        entries_[row] = platform::getProcAddress(module_, names_[row].name);
        if (!entries_[row] && names_[row].required) missingRequired_.emplace_back(names_[row].name);
    }
    for (const std::string& name : missingRequired_)
        platform::tracef("%s has no entry point %s", libraryName_.c_str(), name.c_str());
    return missingRequired_.empty() ? LinkLoadResult::Loaded : LinkLoadResult::EntryMissing;
}

void LibraryLink::unload() {
    if (module_) platform::freeLibrary(module_);
    module_ = nullptr;
    std::fill(entries_.begin(), entries_.end(), nullptr);
    missingRequired_.clear();
}

}  // namespace kelto
