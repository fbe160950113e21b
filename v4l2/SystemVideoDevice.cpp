// The kernel's Video4Linux2 devices through the system calls.
#include "v4l2/VideoDevice.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace kelto::v4l2 {

namespace {

class SystemVideoDevice final : public VideoDevice {
public:
    explicit SystemVideoDevice(int fd) : fd_(fd) {}
    ~SystemVideoDevice() override { ::close(fd_); }
    SystemVideoDevice(const SystemVideoDevice&) = delete;
    SystemVideoDevice& operator=(const SystemVideoDevice&) = delete;

    int ioctl(unsigned long request, void* argument) override {
        int r;
        do r = ::ioctl(fd_, request, argument);
        while (r < 0 && errno == EINTR);
        return r < 0 ? -errno : 0;
    }

    void* mmap(std::size_t length, std::int64_t offset) override {
        void* address = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, off_t(offset));
        return address == MAP_FAILED ? nullptr : address;
    }

    int munmap(void* address, std::size_t length) override { return ::munmap(address, length) < 0 ? -errno : 0; }

    int poll(int timeoutMs) override {
        pollfd p{fd_, POLLIN, 0};
        int r;
        do r = ::poll(&p, 1, timeoutMs);
        while (r < 0 && errno == EINTR);
        if (r < 0) return -errno;
        if (r == 0) return 0;
        if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) return -ENODEV;
        return 1;
    }

private:
    int fd_;
};

class SystemDeviceOpener final : public DeviceOpener {
public:
    std::unique_ptr<VideoDevice> open(const std::string& path, int& error) override {
        // Non-blocking, so a dequeue with no filled buffer answers at once; poll waits.
        const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            error = errno;
            return nullptr;
        }
        error = 0;
        return std::make_unique<SystemVideoDevice>(fd);
    }

    std::vector<std::string> devicePaths(DeviceKind kind) override {
        const std::string stem = kind == DeviceKind::Radio ? "radio" : "video";
        std::vector<std::pair<long, std::string>> found;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator("/dev", ec)) {
            const std::string name = entry.path().filename().string();
            if (!name.starts_with(stem) || name.size() == stem.size()) continue;
            char* end = nullptr;
            const long number = std::strtol(name.c_str() + stem.size(), &end, 10);
            if (*end == '\0') found.emplace_back(number, entry.path().string());
        }
        std::sort(found.begin(), found.end());
        std::vector<std::string> paths;
        for (auto& [number, path] : found) paths.push_back(path);
        return paths;
    }
};

}  // namespace

DeviceOpener& systemDeviceOpener() {
    static SystemDeviceOpener opener;
    return opener;
}

}  // namespace kelto::v4l2
