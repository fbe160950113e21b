#pragma once
// The display's modes: list them, read the one in use, switch to another and back. The viewer's
// 640 by 480 full screen switches the whole display through this and restores the mode it found.
//
// Backends: XRandR on an X11 display (the program's start installs it when the program runs on
// X11), and an in-memory display that records every switch and can be told to fail. The
// process-wide backend is an in-memory display offering nothing until the program installs the
// real one, so tests never touch the user's screen; where no switch is possible (Wayland without
// XWayland, the offscreen platform) that stays so and every switch is refused.
//
// Threads: call from the user-interface thread.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelto::platform {

struct DisplayMode {
    int bitsPerPixel = 0;
    int width = 0;
    int height = 0;
    int refreshHz = 0;       // 0: not known, or any
    std::uint64_t id = 0;    // the backend's own name for the mode (0: none); picks it exactly
    bool operator==(const DisplayMode&) const = default;
};

enum class ModeQuery { Found, End, Failed };

class DisplayModes {
public:
    virtual ~DisplayModes() = default;
    // The mode in use; nullopt when the display cannot be read.
    virtual std::optional<DisplayMode> current() = 0;
    // Mode number `index` (0, 1, 2, ...) into `mode`; End past the last one, Failed when the
    // display could not be asked (a caller may ask again).
    virtual ModeQuery mode(int index, DisplayMode& mode) = 0;
    // Puts `mode` on the display: the mode named by its id when that has the same size, else the
    // first listed one of its size and depth. `remember` asks for the mode to be kept as the
    // display's setting; the switch never outlives the session whatever it says. False when the
    // display has no such mode or refused it (and then nothing changed).
    virtual bool apply(const DisplayMode& mode, bool remember) = 0;
};

// A display held in memory: a list of modes and the one in use.
class InMemoryDisplay final : public DisplayModes {
public:
    struct Switch {
        DisplayMode mode;
        bool remember = false;
        bool applied = false;
        bool operator==(const Switch&) const = default;
    };
    InMemoryDisplay() = default;
    InMemoryDisplay(std::vector<DisplayMode> modes, int currentIndex);

    std::optional<DisplayMode> current() override;
    ModeQuery mode(int index, DisplayMode& mode) override;
    bool apply(const DisplayMode& mode, bool remember) override;

    // Every apply, in order (refused ones too).
    const std::vector<Switch>& switches() const { return switches_; }
    // How often mode() was asked.
    int queries() const { return queries_; }
    // The next `count` mode() calls fail; every apply fails while `refuse` is set.
    void failQueries(int count) { failingQueries_ = count; }
    void refuseSwitches(bool refuse) { refuseSwitches_ = refuse; }

private:
    std::vector<DisplayMode> modes_;
    int current_ = -1;
    std::vector<Switch> switches_;
    int queries_ = 0;
    int failingQueries_ = 0;
    bool refuseSwitches_ = false;
};

// The modes a typical monitor offers, at `bitsPerPixel`, with `width` by `height` in use:
// 640x480, 800x600, 1024x768, 1280x1024 (and the one in use when it is none of them).
InMemoryDisplay typicalDisplay(int width, int height, int bitsPerPixel);

DisplayModes& displayModes();
// Installs a backend (which must outlive its installation); nullptr goes back to the default.
void setDisplayModes(DisplayModes* backend);

// The X11 display `displayName` ("" : $DISPLAY) through the RandR extension; null when there
// is no such display or it lacks RandR 1.2. Modes are those of the primary output (or the
// first connected one) at the screen's depth.
std::unique_ptr<DisplayModes> makeXRandrDisplayModes(const std::string& displayName = {});
// Installs the XRandR backend for the process when $DISPLAY has one. Only the program's
// start-up calls this. False when it stays without one.
bool installXRandrDisplayModes();

}  // namespace kelto::platform
