#pragma once
// A Video4Linux2 device as the driver set uses it: the calls of an open /dev/videoN behind a
// small interface, so the same code runs over the kernel (SystemVideoDevice) and over an
// in-memory card in tests (FakeBttvDevice).
//
// Results never go through errno: ioctl and munmap answer 0 or a negative error number
// (-EINVAL, -ENODEV ...); mmap answers null on failure. Closing is destroying the object; mapped
// buffers must be unmapped first. One object is used from one thread at a time.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kelto::v4l2 {

class VideoDevice {
public:
    virtual ~VideoDevice() = default;
    // One VIDIOC_* request with its argument structure; 0 or -errno.
    virtual int ioctl(unsigned long request, void* argument) = 0;
    // Maps a streaming buffer (offset from VIDIOC_QUERYBUF) for reading and writing.
    virtual void* mmap(std::size_t length, std::int64_t offset) = 0;
    virtual int munmap(void* address, std::size_t length) = 0;
    // Waits at most timeoutMs for a filled buffer: 1 ready, 0 timed out, -errno.
    virtual int poll(int timeoutMs) = 0;
};

enum class DeviceKind { Video, Radio };

// Opens devices by path and says which exist.
class DeviceOpener {
public:
    virtual ~DeviceOpener() = default;
    // The open device, or null with `error` set to the errno of the failure.
    virtual std::unique_ptr<VideoDevice> open(const std::string& path, int& error) = 0;
    // The devices of a kind present (/dev/video0, /dev/video1 ... or /dev/radio0 ...), sorted by
    // number.
    virtual std::vector<std::string> devicePaths(DeviceKind kind) = 0;
};

// The kernel's devices.
DeviceOpener& systemDeviceOpener();

}  // namespace kelto::v4l2
