#pragma once
// Top-level windows that other processes of the same user can find and message.
//
// Each window this process creates gets a handle, a class name and a title, and a Unix socket in
// the per-user window folder ($XDG_RUNTIME_DIR/keltotv, mode 0700; sockets 0600) with a small
// description file beside it, so other processes find it by class, by title or both. Messages
// (a number and two parameters, or the copy-data message with its data block) are posted (no
// answer) or sent (the caller waits for the window's answer). Inside one process posting and
// sending use the same numbers and the same dispatch.
//
// Delivery: every message for a window runs its procedure on the thread that owns the windows
// (the user-interface thread), inside dispatchPending(). The event loop watches pollFd() and
// calls dispatchPending() when it is readable (see qt/WindowPump.h). A message sent from the
// owning thread to one of its own windows runs at once, as a direct call.
//
// Connections from processes of another user are refused (the peer's user id is checked), and a
// client sends nothing to a window whose listener belongs to another user. A window folder that
// another user owns or could change (any folder on the way) is refused: no window is created there
// and none is believed (see PrivateFolder.h). Connections are read as their bytes arrive, never
// waiting on a slow client; a message runs when it has arrived whole, in arrival order.
// Description files of processes that have ended are removed when found.
#include "platform/WindowWire.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelto::platform {

// A window handle: the owning process id in the high 32 bits, a per-process number in the low.
struct WindowHandle {
    std::uint64_t value = 0;

    static WindowHandle of(std::uint32_t pid, std::uint32_t number) { return {(std::uint64_t(pid) << 32) | number}; }
    std::uint32_t pid() const { return std::uint32_t(value >> 32); }
    std::uint32_t number() const { return std::uint32_t(value); }
    explicit operator bool() const { return value != 0; }
    bool operator==(const WindowHandle&) const = default;
};

struct WindowMessage {
    WindowHandle window;  // the window the message is for
    std::uint32_t message = 0;
    std::uint64_t wParam = 0;
    std::int64_t lParam = 0;
    // The copy-data message only: its tag (dwData) and data block; wParam is the sender.
    std::uint64_t copyDataTag = 0;
    std::string data;
    bool fromOtherProcess = false;
};

// What a window does with its messages. The answer goes back to a sender.
using WindowProcedure = std::function<std::int64_t(const WindowMessage&)>;

struct WindowInfo {
    WindowHandle handle;
    std::string className;
    std::string title;
};

class WindowSystem {
public:
    // The window system of this process (window folder from platform::runtimeFolder()).
    static WindowSystem& instance();

    explicit WindowSystem(std::string folder);
    ~WindowSystem();
    WindowSystem(const WindowSystem&) = delete;
    WindowSystem& operator=(const WindowSystem&) = delete;

    // Creates a window owned by the calling thread; a null handle when its socket cannot be made.
    WindowHandle createWindow(std::string_view className, std::string_view title, WindowProcedure procedure);
    // Removes the window: its socket and description go, pending messages for it are dropped.
    void destroyWindow(WindowHandle window);
    bool isWindow(WindowHandle window);
    bool setWindowTitle(WindowHandle window, std::string_view title);

    // Finds a top-level window of any process of this user. An empty class or title matches any.
    WindowHandle findWindow(std::string_view className, std::string_view title);
    std::vector<WindowInfo> listWindows();

    // Queues the message for the window; false when the window does not exist or cannot be reached.
    bool postMessage(WindowHandle window, std::uint32_t message, std::uint64_t wParam, std::int64_t lParam);
    // Delivers the message and waits (at most timeoutMs for another process) for the answer;
    // nullopt when the window does not exist, cannot be reached or did not answer in time.
    std::optional<std::int64_t> sendMessage(WindowHandle window, std::uint32_t message, std::uint64_t wParam,
                                            std::int64_t lParam, std::uint32_t timeoutMs = kDefaultSendTimeoutMs);
    // The copy-data message: sender as wParam, tag and data block as given.
    std::optional<std::int64_t> sendCopyData(WindowHandle window, WindowHandle sender, std::uint64_t tag,
                                             std::string_view data, std::uint32_t timeoutMs = kDefaultSendTimeoutMs);

    // For the event loop: readable when messages wait; then call dispatchPending on the owning thread.
    int pollFd() const;
    // Runs the procedures of every message that has arrived; returns how many ran.
    int dispatchPending();

    // Tests replace the check of the other end's user id (clients and windows alike).
    void setPeerCheck(std::function<bool(std::uint32_t peerUid)> check);

    static constexpr std::uint32_t kDefaultSendTimeoutMs = 5000;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace kelto::platform
