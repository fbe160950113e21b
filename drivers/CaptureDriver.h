#pragma once
// Video capture drivers as the capture layer sees them: a numbered list of drivers (index 0..9),
// each with a description (name, version) and, once opened, a picture format, a frame rate,
// frames grabbed on request and PCM sound for any stretch of time.
//
// Drivers register into the list (CaptureDriverList::add): the simulated card's driver,
// "MSVIDEO: Brooktree PCI Video Capture Driver", when the program starts; tests register their own.
//
// Picture formats: 80x60 up to 640x480, 24 bits (B, G, R bytes per pixel, rows padded to a
// multiple of 4 bytes) or 32 bits (B, G, R, unused; the native 0xFFRRGGBB word on this
// little-endian machine); rows run top to bottom. Sound: 16-bit signed PCM, interleaved, 1 or 2
// channels, 8000 to 48000 samples per second.
//
// A driver object is used from one thread at a time; different objects may be used from
// different threads (the card serialises their access).
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kelto::drivers {

// The name of the driver the capture window looks for.
inline constexpr const char* kBrooktreeCaptureDriverName = "MSVIDEO: Brooktree PCI Video Capture Driver";

struct CaptureDriverDescription {
    std::string name;
    std::string version;
    // The driver writes its overlay into the display's video memory, which limits the display
    // modes it can serve. The simulated card's driver hands every picture to the program instead.
    bool overlayInVideoMemory = false;
};

struct FrameFormat {
    std::uint32_t width = 320;
    std::uint32_t height = 240;
    std::uint16_t bitsPerPixel = 24;

    std::uint32_t bytesPerRow() const { return (width * bitsPerPixel / 8 + 3) & ~3u; }
    std::size_t imageBytes() const { return std::size_t(bytesPerRow()) * height; }
    bool operator==(const FrameFormat&) const = default;
};

struct SoundFormat {
    std::uint32_t sampleRateHz = 44100;
    std::uint16_t channels = 2;
    std::uint16_t bitsPerSample = 16;
    bool operator==(const SoundFormat&) const = default;
};

class CaptureDriver {
public:
    virtual ~CaptureDriver() = default;

    virtual CaptureDriverDescription description() const = 0;
    // False when the hardware cannot be reached; a driver may be opened once at a time.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    virtual FrameFormat frameFormat() const = 0;
    // False (format unchanged) for sizes or depths the driver does not deliver.
    virtual bool setFrameFormat(const FrameFormat& format) = 0;
    // Frames per second of the video standard (29.97 or 25) and the matching frame period.
    virtual double framesPerSecond() const = 0;
    virtual std::uint32_t microsecondsPerFrame() const = 0;

    // The picture at a moment (the current one by the process clock when not given) in the
    // current format. False when the driver is not open or the buffer is smaller than
    // frameFormat().imageBytes().
    virtual bool grabFrame(std::span<std::uint8_t> buffer,
                           std::optional<std::chrono::system_clock::time_point> at = std::nullopt) = 0;

    virtual bool hasAudio() const = 0;
    virtual SoundFormat soundFormat() const = 0;
    virtual bool setSoundFormat(const SoundFormat& format) = 0;
    // Fills the buffer with the sound from `start` on (buffer.size() / channels sample frames).
    // False when not open.
    virtual bool readSound(std::chrono::system_clock::time_point start, std::span<std::int16_t> buffer) = 0;

    // What went wrong with the last call that failed, in words for the user (the device is
    // gone, ...); empty when the driver has nothing to say.
    virtual std::string lastError() const { return {}; }
};

// The numbered list of capture drivers on this machine: ten slots that drivers register into.
// Every function may be called from any thread.
class CaptureDriverList {
public:
    static constexpr std::size_t kMaxDrivers = 10;
    using Factory = std::function<std::unique_ptr<CaptureDriver>()>;

    // The description of driver `index`, or nullopt when there is none.
    static std::optional<CaptureDriverDescription> describe(std::size_t index);
    // A new (closed) driver object for `index`, or null.
    static std::unique_ptr<CaptureDriver> create(std::size_t index);

    // Registers a driver in the first free slot: its index, or nullopt when all slots are taken
    // or the factory is empty.
    static std::optional<std::size_t> add(Factory factory);
    // Registers a driver in slot `index`, replacing what was there; false past the last slot.
    static bool addAt(std::size_t index, Factory factory);
    // Empties one slot, or every slot.
    static void remove(std::size_t index);
    static void clear();
};

}  // namespace kelto::drivers
