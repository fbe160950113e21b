#pragma once
// Crash-safe file replacement and cross-process file locks.
//
// For fault-injection tests, the environment variable KELTO_ATOMIC_WRITE_DELAY_MS (a whole number
// of milliseconds, at most 10000) makes every replacement wait that long after the temporary file
// is written and flushed and before it is renamed, so a process killed meanwhile leaves the old
// file and a complete temporary one. Unset or 0 (the normal case) means no wait.
#include <filesystem>
#include <string>
#include <string_view>

namespace kelto::platform {

// Replaces path with content: writes a temporary file beside it, flushes it to disk, renames it
// over the target and flushes the folder. Readers see the old file or the new one, never a mix.
// On failure the old file is untouched and error (when given) says why.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view content,
                         std::string* error = nullptr);

// The temporary files writeFileAtomically leaves when its process dies mid-write are named
// "<name>.tmp.<pid>". Removes those in folder (not below it) whose process no longer runs and
// returns how many it removed. Files of running processes (and of this one) stay; so does
// anything that is not a regular file.
int removeStaleTemporaryFiles(const std::filesystem::path& folder);

// Reads a whole file; false when it cannot be opened or read.
bool readWholeFile(const std::filesystem::path& path, std::string& content);

// Moves a file aside under "<name><suffix>", "<name><suffix>.2", ... so nothing earlier is
// overwritten. Returns the new path, or an empty path on failure.
std::filesystem::path moveAside(const std::filesystem::path& path, std::string_view suffix);

// An exclusive lock between processes (and threads) on "<path>", held for the object's life.
// The lock file itself stays; it carries no data.
class FileLock {
public:
    explicit FileLock(const std::filesystem::path& lockPath);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool locked() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace kelto::platform
