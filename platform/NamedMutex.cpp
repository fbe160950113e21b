#include "platform/NamedMutex.h"

#include "platform/Paths.h"
#include "platform/PrivateFolder.h"
#include "platform/Trace.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelto::platform {

std::unique_ptr<NamedMutex> NamedMutex::create(std::string_view name, Result& result) {
    result = Result::Failed;
    std::string fileName = "mutex-";
    for (char c : name) fileName.push_back(c == '/' ? '_' : c);
    const auto folder = runtimeFolder();
    std::string problem;
    if (!preparePrivateFolder(folder, &problem)) {
        tracef("Mutex %.*s: %s", int(name.size()), name.data(), problem.c_str());
        return nullptr;
    }
    const int fd = ::open((folder / (fileName + ".lock")).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return nullptr;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        result = errno == EWOULDBLOCK ? Result::AlreadyExists : Result::Failed;
        ::close(fd);
        return nullptr;
    }
    result = Result::Created;
    return std::unique_ptr<NamedMutex>(new NamedMutex(fd));
}

NamedMutex::~NamedMutex() {
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
}

}  // namespace kelto::platform
