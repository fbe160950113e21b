#pragma once
// A named lock shared by the processes of one user, held until it is released or its process
// ends (so a crash never leaves it taken). Kept as a locked file in the window folder.
#include <memory>
#include <string>
#include <string_view>

namespace kelto::platform {

class NamedMutex {
public:
    enum class Result { Created, AlreadyExists, Failed };

    // Takes the lock "name"; AlreadyExists when another process (or object) holds it.
    static std::unique_ptr<NamedMutex> create(std::string_view name, Result& result);
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

private:
    explicit NamedMutex(int fd) : fd_(fd) {}
    int fd_;
};

}  // namespace kelto::platform
