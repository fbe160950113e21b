#pragma once
// A library loaded by its Windows name with a fixed list of entry points looked up by name, in
// list order. The rows marked required decide whether the library matches what the program
// expects; the others may be missing. Entry points that are missing stay null and are never
// called: the links built on this answer for them as a failing call would.
#include "platform/DynamicLibrary.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelto {

struct EntryPointName {
    const char* name;
    bool required;
};

enum class LinkLoadResult {
    Loaded,          // the library and every required entry point are there
    LibraryMissing,  // the library did not load
    EntryMissing,    // loaded, but a required entry point is missing (the library stays loaded)
};

class LibraryLink {
public:
    LibraryLink(std::string libraryName, std::span<const EntryPointName> entryPoints);
    ~LibraryLink();
    LibraryLink(const LibraryLink&) = delete;
    LibraryLink& operator=(const LibraryLink&) = delete;

    // Loads the library (once; a second call unloads the first) and looks up every name.
    LinkLoadResult load();
    // Releases the library when it was loaded and forgets every entry point.
    void unload();
    bool loaded() const { return module_ != nullptr; }
    const std::string& libraryName() const { return libraryName_; }

    // The entry point at a row of the list, null when missing or not loaded.
    void* entry(std::size_t row) const { return row < entries_.size() ? entries_[row] : nullptr; }
    template <typename Function>
    Function entryAs(std::size_t row) const {
        return reinterpret_cast<Function>(entry(row));
    }
    // Names of the required rows that were not found at the last load.
    const std::vector<std::string>& missingRequired() const { return missingRequired_; }

private:
    std::string libraryName_;
    std::span<const EntryPointName> names_;
    platform::ModuleHandle module_ = nullptr;
    std::vector<void*> entries_;
    std::vector<std::string> missingRequired_;
};

}  // namespace kelto
