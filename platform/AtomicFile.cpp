#include "platform/AtomicFile.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kelto::platform {

namespace {
void setError(std::string* error, const std::string& what) {
    if (error) *error = what + ": " + std::strerror(errno);
}

constexpr std::string_view kTempMarker = ".tmp.";

// The fault-injection wait (see the header). It is wall time on purpose: it slows a real process
// down so that another process can kill it inside the write, so it does not go through the clock.
void injectedWriteDelay() {
    const char* text = std::getenv("KELTO_ATOMIC_WRITE_DELAY_MS");
    if (!text || !*text) return;
    long ms = 0;
    const auto [end, ec] = std::from_chars(text, text + std::strlen(text), ms);
    if (ec != std::errc() || *end != '\0' || ms <= 0) return;
    if (ms > 10000) ms = 10000;
    timespec wait{ms / 1000, (ms % 1000) * 1000000L};
    while (::nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}

// The process id in "<name>.tmp.<pid>", or 0 when the name has another form.
pid_t temporaryFileOwner(std::string_view name) {
    const auto marker = name.rfind(kTempMarker);
    if (marker == std::string_view::npos || marker == 0) return 0;
    const std::string_view digits = name.substr(marker + kTempMarker.size());
    if (digits.empty() || digits.front() == '0') return 0;
    pid_t pid = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
    if (ec != std::errc() || end != digits.data() + digits.size() || pid <= 0) return 0;
    return pid;
}

bool processRuns(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }
}  // namespace

bool writeFileAtomically(const fs::path& path, std::string_view content, std::string* error) {
    const fs::path temp = path.string() + ".tmp." + std::to_string(::getpid());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        setError(error, "cannot create " + temp.string());
        return false;
    }
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            setError(error, "cannot write " + temp.string());
            ::close(fd);
            ::unlink(temp.c_str());
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        setError(error, "cannot flush " + temp.string());
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
    }
    ::close(fd);
    injectedWriteDelay();
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        setError(error, "cannot replace " + path.string());
        ::unlink(temp.c_str());
        return false;
    }
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

int removeStaleTemporaryFiles(const fs::path& folder) {
    int removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const pid_t owner = temporaryFileOwner(it->path().filename().native());
        if (owner == 0 || owner == ::getpid()) continue;
        std::error_code kindError;
        if (!it->is_regular_file(kindError) || it->is_symlink(kindError)) continue;
        if (processRuns(owner)) continue;
        if (::unlink(it->path().c_str()) == 0) ++removed;
    }
    return removed;
}

bool readWholeFile(const fs::path& path, std::string& content) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    content.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

fs::path moveAside(const fs::path& path, std::string_view suffix) {
    for (int n = 1; n < 1000; ++n) {
        fs::path target = path.string() + std::string(suffix);
        if (n > 1) target += "." + std::to_string(n);
        std::error_code ec;
        if (fs::exists(target, ec)) continue;
        if (::rename(path.c_str(), target.c_str()) == 0) return target;
        return {};
    }
    return {};
}

FileLock::FileLock(const fs::path& lockPath) {
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) return;
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(fd_);
            fd_ = -1;
            return;
        }
    }
}

FileLock::~FileLock() {
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }
}

}  // namespace kelto::platform
