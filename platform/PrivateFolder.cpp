#include "platform/PrivateFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace kelto::platform {

namespace {

constexpr int kMaxLinks = 16;

struct Fd {
    int fd = -1;
    explicit Fd(int f = -1) : fd(f) {}
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(Fd&& other) noexcept {
        std::swap(fd, other.fd);
        return *this;
    }
};

std::string octal(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", unsigned(mode & 07777));
    return text;
}

bool refuse(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

// One walk from "/" to the folder. Returns true when done; false with next set when a link must be
// followed (the walk starts again on the path it leads to), false with next empty on refusal.
bool walk(const fs::path& wanted, fs::path& next, std::string* error) {
    const uid_t self = ::getuid();
    next.clear();
    std::vector<std::string> parts;
    for (const auto& part : wanted.relative_path())
        if (!part.empty() && part != "." && part != "..") parts.push_back(part.string());
    Fd dir(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd < 0) return refuse(error, std::string("cannot open /: ") + std::strerror(errno));
    fs::path walked = "/";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string& name = parts[i];
        walked /= name;
        const bool last = i + 1 == parts.size();
        struct stat st{};
        if (::fstatat(dir.fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT) return refuse(error, "cannot look at " + walked.string() + ": " + std::strerror(errno));
            if (::mkdirat(dir.fd, name.c_str(), 0700) != 0 && errno != EEXIST)
                return refuse(error, "cannot create the folder " + walked.string() + ": " + std::strerror(errno));
            if (::fstatat(dir.fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
                return refuse(error, "cannot look at " + walked.string() + ": " + std::strerror(errno));
        }
        if (S_ISLNK(st.st_mode)) {
            if (st.st_uid != 0)
                return refuse(error, walked.string() + " is a link owned by user " + std::to_string(st.st_uid) +
                                         ", not a folder; remove it");
            char target[4096];
            const ssize_t n = ::readlinkat(dir.fd, name.c_str(), target, sizeof target - 1);
            if (n < 0) return refuse(error, "cannot read the link " + walked.string());
            target[n] = '\0';
            fs::path followed = fs::path(target).is_absolute() ? fs::path(target) : walked.parent_path() / target;
            for (std::size_t j = i + 1; j < parts.size(); ++j) followed /= parts[j];
            next = followed.lexically_normal();
            return false;
        }
        if (!S_ISDIR(st.st_mode)) return refuse(error, walked.string() + " is not a folder");
        if (last) {
            if (st.st_uid != self)
                return refuse(error, "the folder " + walked.string() + " belongs to user " + std::to_string(st.st_uid) +
                                         ", not to this user (" + std::to_string(self) +
                                         "); another user may have made it: remove it or set XDG_RUNTIME_DIR");
            if (st.st_mode & 022)
                return refuse(error, "the folder " + walked.string() + " can be changed by other users (mode " +
                                         octal(st.st_mode) + "); remove it or set XDG_RUNTIME_DIR");
        } else {
            if (st.st_uid != self && st.st_uid != 0)
                return refuse(error, "the folder " + walked.string() + " belongs to user " + std::to_string(st.st_uid) +
                                         ", neither this user (" + std::to_string(self) +
                                         ") nor root; another user may have made it: remove it or set XDG_RUNTIME_DIR");
            if ((st.st_mode & 022) && !(st.st_mode & S_ISVTX))
                return refuse(error, "the folder " + walked.string() + " can be changed by other users (mode " +
                                         octal(st.st_mode) + ")");
        }
        Fd inner(::openat(dir.fd, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (inner.fd < 0) return refuse(error, "cannot open the folder " + walked.string() + ": " + std::strerror(errno));
        struct stat opened{};
        // The folder opened must be the one looked at (not swapped in between).
        if (::fstat(inner.fd, &opened) != 0 || opened.st_ino != st.st_ino || opened.st_dev != st.st_dev)
            return refuse(error, "the folder " + walked.string() + " changed while it was checked");
        if (last && (st.st_mode & 077)) {
            if (::fchmodat(dir.fd, name.c_str(), 0700, 0) != 0)
                return refuse(error, "cannot set the mode of " + walked.string() + ": " + std::strerror(errno));
        }
        dir = std::move(inner);
    }
    return true;
}

}  // namespace

bool preparePrivateFolder(const fs::path& folder, std::string* error) {
    fs::path wanted = (folder.is_absolute() ? folder : fs::current_path() / folder).lexically_normal();
    for (int linksFollowed = 0; linksFollowed <= kMaxLinks; ++linksFollowed) {
        fs::path next;
        if (walk(wanted, next, error)) return true;
        if (next.empty()) return false;
        wanted = next;
    }
    return refuse(error, "too many links on the way to " + folder.string());
}

}  // namespace kelto::platform
