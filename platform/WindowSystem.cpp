#include "platform/WindowSystem.h"

#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/PrivateFolder.h"
#include "platform/Trace.h"
#include "platform/WindowMessageIds.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <future>
#include <map>
#include <mutex>
#include <poll.h>
#include <signal.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kelto::platform {

namespace {

// Tags of the watched descriptors: the in-process queue, a window's listening socket (its
// number), or a connection being received (this bit and the descriptor).
constexpr std::uint64_t kQueueTag = ~0ull;
constexpr std::uint64_t kConnectionTag = 1ull << 62;
// A connection must bring its whole message within this time after it was accepted.
constexpr std::uint32_t kReceiveDeadlineMs = 1000;
// At most this many connections are received at once; beyond, the oldest is dropped.
constexpr std::size_t kMaxConnections = 64;

std::string sanitize(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == '\n' || c == '\r') c = ' ';
    return out;
}

bool processAlive(std::uint32_t pid) { return pid != 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM); }

int nowMs() {
    using namespace std::chrono;
    return int(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() & 0x3FFFFFFF);
}

// Reads exactly size bytes before the deadline; false on error, end of stream or time-out.
bool readFully(int fd, char* buffer, std::size_t size, int deadlineMs) {
    std::size_t done = 0;
    while (done < size) {
        const int left = deadlineMs - nowMs();
        if (left <= 0) return false;
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, left);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        const ssize_t n = ::read(fd, buffer + done, size - done);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) return false;
        done += std::size_t(n);
    }
    return true;
}

bool writeFully(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            if (::poll(&p, 1, kReceiveDeadlineMs) <= 0) return false;
            continue;
        }
        if (n <= 0) return false;
        done += std::size_t(n);
    }
    return true;
}

struct LocalWindow {
    WindowHandle handle;
    std::string className;
    std::string title;
    WindowProcedure procedure;
    int listenFd = -1;
};

struct Pending {
    WindowMessage message;
    std::shared_ptr<std::promise<std::int64_t>> answer;  // null for a posted message
};

// A connection from another process whose message is still arriving.
struct Connection {
    int fd = -1;
    std::uint32_t windowNumber = 0;
    std::uint32_t acceptedMs = 0;
    std::uint64_t sequence = 0;  // acceptance order, to drop the oldest
    std::string bytes;
};

enum class Received { More, Complete, Refused };

}  // namespace

struct WindowSystem::Impl {
    std::string folder;
    std::mutex mutex;
    std::map<std::uint32_t, LocalWindow> windows;
    std::deque<Pending> queue;
    std::uint32_t nextNumber = 1;
    std::thread::id owner;
    bool ownerSet = false;
    int epollFd = -1;
    int queueFd = -1;
    std::function<bool(std::uint32_t)> peerCheck = [](std::uint32_t uid) { return uid == ::getuid(); };
    bool folderProblemShown = false;
    // Connections being received; touched on the owning thread only.
    std::map<int, Connection> connections;
    std::uint64_t nextSequence = 0;

    bool peerAllowed(int fd, ucred& peer) {
        socklen_t length = sizeof peer;
        std::function<bool(std::uint32_t)> check;
        {
            std::lock_guard lock(mutex);
            check = peerCheck;
        }
        return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && check(peer.uid);
    }

    std::string socketPath(WindowHandle h) const {
        return folder + "/w-" + std::to_string(h.pid()) + "-" + std::to_string(h.number()) + ".sock";
    }
    std::string infoPath(WindowHandle h) const {
        return folder + "/w-" + std::to_string(h.pid()) + "-" + std::to_string(h.number()) + ".info";
    }

    bool prepareFolder() {
        std::string problem;
        if (preparePrivateFolder(folder, &problem)) return true;
        tracef("Windows: refusing the window folder: %s", problem.c_str());
        if (!folderProblemShown) {  // also where a command-line user sees it, once
            std::fprintf(stderr, "KeltoTV: refusing the window folder: %s\n", problem.c_str());
            folderProblemShown = true;
        }
        return false;
    }

    void writeInfo(const LocalWindow& w) {
        const std::string text = std::to_string(w.handle.pid()) + "\n" + std::to_string(w.handle.number()) + "\n" +
                                 w.className + "\n" + w.title + "\n";
        std::string error;
        if (!writeFileAtomically(infoPath(w.handle), text, &error)) tracef("Windows: %s", error.c_str());
    }

    bool onOwnerThread() const { return ownerSet && std::this_thread::get_id() == owner; }

    void enqueue(Pending pending) {
        {
            std::lock_guard lock(mutex);
            queue.push_back(std::move(pending));
        }
        const std::uint64_t one = 1;
        [[maybe_unused]] auto n = ::write(queueFd, &one, sizeof one);
    }

    std::int64_t run(const WindowMessage& message) {
        WindowProcedure procedure;
        {
            std::lock_guard lock(mutex);
            auto it = windows.find(message.window.number());
            if (it == windows.end()) return 0;
            procedure = it->second.procedure;
        }
        return procedure ? procedure(message) : 0;
    }

    // Connects to another process's window; -1 when it cannot be reached or is not this user's.
    // While the window's backlog is full (a burst of clients) the connection waits for room and is
    // tried again, within the caller's time-out.
    int connectTo(WindowHandle window, std::uint32_t timeoutMs) {
        const std::string path = socketPath(window);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (path.size() >= sizeof address.sun_path) return -1;
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return -1;
        const int deadline = nowMs() + int(std::max<std::uint32_t>(timeoutMs, 1));
        for (;;) {
            const int left = deadline - nowMs();
            if (left > 0) {
                // The kernel waits this long for room in the backlog, then says EAGAIN.
                timeval tv{long(left / 1000), long(left % 1000) * 1000};
                ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
                if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) break;
                if (errno == EINTR || errno == EAGAIN) continue;
                if (!processAlive(window.pid())) {
                    ::unlink(path.c_str());
                    ::unlink(infoPath(window).c_str());
                }
            } else {
                tracef("Windows: %s stayed busy; gave up after %u ms", path.c_str(), unsigned(timeoutMs));
            }
            ::close(fd);
            return -1;
        }
        // The window must belong to this user too, as its server checks this client.
        ucred peer{};
        if (!peerAllowed(fd, peer)) {
            tracef("Windows: window %s belongs to user %u (process %d), not to this user; not sending to it",
                   path.c_str(), unsigned(peer.uid), int(peer.pid));
            ::close(fd);
            return -1;
        }
        return fd;
    }

    std::optional<std::int64_t> deliverRemote(const WireMessage& request, std::uint32_t timeoutMs) {
        const int fd = connectTo(WindowHandle{request.target}, timeoutMs);
        if (fd < 0) return std::nullopt;
        std::optional<std::int64_t> result;
        if (writeFully(fd, encodeWireMessage(request))) {
            ::shutdown(fd, SHUT_WR);
            if (request.kind == WireKind::Post) {
                result = 0;
            } else {
                char reply[8];
                if (readFully(fd, reply, sizeof reply, nowMs() + int(timeoutMs))) {
                    std::uint64_t v = 0;
                    for (int i = 0; i < 8; ++i) v |= std::uint64_t(static_cast<unsigned char>(reply[i])) << (8 * i);
                    result = std::int64_t(v);
                }
            }
        }
        ::close(fd);
        return result;
    }

    std::optional<std::int64_t> deliver(WireMessage request, std::uint32_t timeoutMs) {
        const WindowHandle target{request.target};
        if (target.pid() != std::uint32_t(::getpid())) return deliverRemote(request, timeoutMs);
        {
            std::lock_guard lock(mutex);
            if (!windows.count(target.number())) return std::nullopt;
        }
        WindowMessage message{target, request.message, request.wParam, request.lParam, request.copyDataTag,
                              std::move(request.data), false};
        if (request.kind == WireKind::Post) {
            enqueue({std::move(message), nullptr});
            return 0;
        }
        if (onOwnerThread()) return run(message);
        auto answer = std::make_shared<std::promise<std::int64_t>>();
        auto future = answer->get_future();
        enqueue({std::move(message), answer});
        if (future.wait_for(std::chrono::milliseconds(timeoutMs)) != std::future_status::ready) return std::nullopt;
        return future.get();
    }

    // Takes a new connection: refused at once when another user made it, else watched until its
    // message has arrived.
    void accept(int fd, std::uint32_t windowNumber) {
        ucred peer{};
        if (!peerAllowed(fd, peer)) {
            tracef("Windows: refused a message from user %u (process %d)", unsigned(peer.uid), int(peer.pid));
            ::close(fd);
            return;
        }
        if (connections.size() >= kMaxConnections) {
            auto oldest = std::min_element(connections.begin(), connections.end(), [](const auto& a, const auto& b) {
                return a.second.sequence < b.second.sequence;
            });
            traceLine("Windows: too many connections at once; dropped the oldest");
            drop(oldest->first);
        }
        connections[fd] = Connection{fd, windowNumber, tickCountMs(), nextSequence++, {}};
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.u64 = kConnectionTag | std::uint64_t(fd);
        ::epoll_ctl(epollFd, EPOLL_CTL_ADD, fd, &event);
    }

    void drop(int fd) {
        ::epoll_ctl(epollFd, EPOLL_CTL_DEL, fd, nullptr);
        ::close(fd);
        connections.erase(fd);
    }

    // Reads what has arrived on a connection without waiting.
    Received receive(Connection& c) {
        for (;;) {
            std::size_t wanted = kWireHeaderSize + 1;  // one byte more shows bytes past the block
            if (c.bytes.size() >= kWireHeaderSize) {
                const auto dataLength = wireDataLength(std::string_view(c.bytes).substr(0, kWireHeaderSize));
                if (!dataLength) {
                    traceLine("Windows: refused a message with a bad header");
                    return Received::Refused;
                }
                wanted = kWireHeaderSize + *dataLength + 1;
                if (c.bytes.size() >= wanted) {
                    traceLine("Windows: refused a message with bytes past its data block");
                    return Received::Refused;
                }
            }
            const std::size_t have = c.bytes.size();
            const std::size_t chunk = std::min<std::size_t>(wanted - have, 64 * 1024);
            c.bytes.resize(have + chunk);
            const ssize_t n = ::recv(c.fd, c.bytes.data() + have, chunk, MSG_DONTWAIT);
            c.bytes.resize(have + std::size_t(std::max<ssize_t>(n, 0)));
            if (n > 0) continue;
            if (n < 0 && errno == EINTR) continue;
            const bool complete = c.bytes.size() >= kWireHeaderSize && c.bytes.size() == wanted - 1;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return complete ? Received::Complete : Received::More;
            // The sender has finished (or failed): what has come is all there is.
            if (complete) return Received::Complete;
            if (c.bytes.size() > kWireHeaderSize) traceLine("Windows: refused a message whose data block ended early");
            return Received::Refused;
        }
    }

    // Runs a message that has arrived whole and answers a sender; the connection ends.
    void serve(int fd, std::uint32_t windowNumber, const std::string& bytes) {
        std::string reason;
        auto request = decodeWireMessage(bytes, &reason);
        if (!request) {
            tracef("Windows: refused a message: %s", reason.c_str());
            return;
        }
        if (WindowHandle{request->target}.number() != windowNumber ||
            WindowHandle{request->target}.pid() != std::uint32_t(::getpid())) {
            traceLine("Windows: refused a message addressed to another window");
            return;
        }
        WindowMessage message{WindowHandle{request->target}, request->message, request->wParam, request->lParam,
                              request->copyDataTag, std::move(request->data), true};
        const std::int64_t result = run(message);
        if (request->kind == WireKind::Send) {
            std::string reply;
            for (int i = 0; i < 8; ++i) reply.push_back(char((std::uint64_t(result) >> (8 * i)) & 0xFF));
            writeFully(fd, reply);
        }
    }

    // Drops connections that did not bring their message in time.
    void dropLate() {
        const std::uint32_t now = tickCountMs();
        std::vector<int> late;
        for (const auto& [fd, c] : connections)
            if (now - c.acceptedMs >= kReceiveDeadlineMs) late.push_back(fd);
        for (int fd : late) {
            traceLine("Windows: dropped a connection that sent no whole message in time");
            drop(fd);
        }
    }
};

WindowSystem& WindowSystem::instance() {
    static WindowSystem system(runtimeFolder().string());
    return system;
}

WindowSystem::WindowSystem(std::string folder) : impl_(std::make_unique<Impl>()) {
    impl_->folder = std::move(folder);
    impl_->epollFd = ::epoll_create1(EPOLL_CLOEXEC);
    impl_->queueFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.u64 = kQueueTag;
    ::epoll_ctl(impl_->epollFd, EPOLL_CTL_ADD, impl_->queueFd, &event);
}

WindowSystem::~WindowSystem() {
    std::vector<WindowHandle> handles;
    {
        std::lock_guard lock(impl_->mutex);
        for (const auto& [number, w] : impl_->windows) handles.push_back(w.handle);
    }
    for (auto h : handles) destroyWindow(h);
    for (const auto& [fd, c] : impl_->connections) ::close(fd);
    ::close(impl_->queueFd);
    ::close(impl_->epollFd);
}

WindowHandle WindowSystem::createWindow(std::string_view className, std::string_view title, WindowProcedure procedure) {
    if (!impl_->prepareFolder()) return {};
    LocalWindow w;
    {
        std::lock_guard lock(impl_->mutex);
        if (!impl_->ownerSet) {
            impl_->owner = std::this_thread::get_id();
            impl_->ownerSet = true;
        }
        w.handle = WindowHandle::of(std::uint32_t(::getpid()), impl_->nextNumber++);
    }
    w.className = sanitize(className);
    w.title = sanitize(title);
    w.procedure = std::move(procedure);

    const std::string path = impl_->socketPath(w.handle);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        tracef("Windows: socket path too long: %s", path.c_str());
        return {};
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    ::unlink(path.c_str());
    w.listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const mode_t previous = ::umask(0177);
    const bool bound = w.listenFd >= 0 && ::bind(w.listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::umask(previous);
    if (!bound || ::listen(w.listenFd, SOMAXCONN) != 0) {
        tracef("Windows: cannot listen on %s: %s", path.c_str(), std::strerror(errno));
        if (w.listenFd >= 0) ::close(w.listenFd);
        return {};
    }
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.u64 = w.handle.number();
    ::epoll_ctl(impl_->epollFd, EPOLL_CTL_ADD, w.listenFd, &event);
    impl_->writeInfo(w);
    const WindowHandle handle = w.handle;
    std::lock_guard lock(impl_->mutex);
    impl_->windows.emplace(handle.number(), std::move(w));
    return handle;
}

void WindowSystem::destroyWindow(WindowHandle window) {
    if (window.pid() != std::uint32_t(::getpid())) return;
    LocalWindow w;
    {
        std::lock_guard lock(impl_->mutex);
        auto it = impl_->windows.find(window.number());
        if (it == impl_->windows.end()) return;
        w = std::move(it->second);
        impl_->windows.erase(it);
        std::erase_if(impl_->queue, [&](const Pending& p) {
            if (p.message.window != window) return false;
            if (p.answer) p.answer->set_value(0);
            return true;
        });
    }
    ::epoll_ctl(impl_->epollFd, EPOLL_CTL_DEL, w.listenFd, nullptr);
    ::close(w.listenFd);
    ::unlink(impl_->socketPath(window).c_str());
    ::unlink(impl_->infoPath(window).c_str());
}

bool WindowSystem::isWindow(WindowHandle window) {
    if (window.pid() == std::uint32_t(::getpid())) {
        std::lock_guard lock(impl_->mutex);
        return impl_->windows.count(window.number()) > 0;
    }
    for (const auto& info : listWindows())
        if (info.handle == window) return true;
    return false;
}

bool WindowSystem::setWindowTitle(WindowHandle window, std::string_view title) {
    std::lock_guard lock(impl_->mutex);
    if (window.pid() != std::uint32_t(::getpid())) return false;
    auto it = impl_->windows.find(window.number());
    if (it == impl_->windows.end()) return false;
    it->second.title = sanitize(title);
    impl_->writeInfo(it->second);
    return true;
}

std::vector<WindowInfo> WindowSystem::listWindows() {
    std::vector<WindowInfo> found;
    // Descriptions in a folder another user could change are not believed.
    if (!impl_->prepareFolder()) return found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(impl_->folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with("w-") || !name.ends_with(".info")) continue;
        std::string text;
        if (!readWholeFile(entry.path(), text)) continue;
        std::vector<std::string> lines;
        std::size_t pos = 0;
        while (pos < text.size()) {
            const auto end = text.find('\n', pos);
            if (end == std::string::npos) break;
            lines.push_back(text.substr(pos, end - pos));
            pos = end + 1;
        }
        if (lines.size() != 4) continue;
        char* end = nullptr;
        const unsigned long pid = std::strtoul(lines[0].c_str(), &end, 10);
        const unsigned long number = std::strtoul(lines[1].c_str(), &end, 10);
        if (pid == 0 || number == 0 || pid > 0xFFFFFFFFul || number > 0xFFFFFFFFul) continue;
        const WindowHandle handle = WindowHandle::of(std::uint32_t(pid), std::uint32_t(number));
        if (!processAlive(handle.pid())) {
            ::unlink(entry.path().c_str());
            ::unlink(impl_->socketPath(handle).c_str());
            continue;
        }
        found.push_back({handle, lines[2], lines[3]});
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.handle.value < b.handle.value; });
    return found;
}

WindowHandle WindowSystem::findWindow(std::string_view className, std::string_view title) {
    for (const auto& info : listWindows())
        if ((className.empty() || info.className == className) && (title.empty() || info.title == title))
            return info.handle;
    return {};
}

bool WindowSystem::postMessage(WindowHandle window, std::uint32_t message, std::uint64_t wParam, std::int64_t lParam) {
    if (!window) return false;
    WireMessage request{WireKind::Post, message, window.value, wParam, lParam, 0, {}};
    return impl_->deliver(std::move(request), kDefaultSendTimeoutMs).has_value();
}

std::optional<std::int64_t> WindowSystem::sendMessage(WindowHandle window, std::uint32_t message, std::uint64_t wParam,
                                                      std::int64_t lParam, std::uint32_t timeoutMs) {
    if (!window) return std::nullopt;
    WireMessage request{WireKind::Send, message, window.value, wParam, lParam, 0, {}};
    return impl_->deliver(std::move(request), timeoutMs);
}

std::optional<std::int64_t> WindowSystem::sendCopyData(WindowHandle window, WindowHandle sender, std::uint64_t tag,
                                                       std::string_view data, std::uint32_t timeoutMs) {
    if (!window || data.size() > kMaxCopyDataBytes) return std::nullopt;
    WireMessage request{WireKind::Send, WM_COPYDATA, window.value, sender.value, 0, tag, std::string(data)};
    return impl_->deliver(std::move(request), timeoutMs);
}

int WindowSystem::pollFd() const { return impl_->epollFd; }

int WindowSystem::dispatchPending() {
    int ran = 0;
    epoll_event events[64];
    const int n = ::epoll_wait(impl_->epollFd, events, 64, 0);
    // Messages that arrived whole, in the order they did; they run after the reading, so a
    // procedure that dispatches again (a nested event loop) finds no half-handled state.
    std::vector<Connection> complete;
    auto receive = [&](int fd) {
        auto it = impl_->connections.find(fd);
        if (it == impl_->connections.end()) return;
        const Received result = impl_->receive(it->second);
        if (result == Received::More) return;
        ::epoll_ctl(impl_->epollFd, EPOLL_CTL_DEL, fd, nullptr);
        if (result == Received::Complete) complete.push_back(std::move(it->second));
        else ::close(fd);
        impl_->connections.erase(it);
    };
    for (int i = 0; i < n; ++i) {
        const std::uint64_t tag = events[i].data.u64;
        if (tag == kQueueTag) {
            std::uint64_t count;
            while (::read(impl_->queueFd, &count, sizeof count) > 0) {
            }
            continue;
        }
        if (tag & kConnectionTag) {
            receive(int(tag & 0xFFFFFFFFu));
            continue;
        }
        int listenFd = -1;
        {
            std::lock_guard lock(impl_->mutex);
            auto it = impl_->windows.find(std::uint32_t(tag));
            if (it != impl_->windows.end()) listenFd = it->second.listenFd;
        }
        if (listenFd < 0) continue;
        for (;;) {
            const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (fd < 0) break;
            impl_->accept(fd, std::uint32_t(tag));
            receive(fd);  // a short message is usually there already
        }
    }
    impl_->dropLate();
    for (auto& c : complete) {
        impl_->serve(c.fd, c.windowNumber, c.bytes);
        ::close(c.fd);
        ++ran;
    }
    // Messages queued before this call run now; those they queue wait for the next call.
    std::size_t waiting;
    {
        std::lock_guard lock(impl_->mutex);
        waiting = impl_->queue.size();
    }
    for (; waiting > 0; --waiting) {
        Pending pending;
        {
            std::lock_guard lock(impl_->mutex);
            if (impl_->queue.empty()) break;
            pending = std::move(impl_->queue.front());
            impl_->queue.pop_front();
        }
        const std::int64_t result = impl_->run(pending.message);
        if (pending.answer) pending.answer->set_value(result);
        ++ran;
    }
    bool more;
    {
        std::lock_guard lock(impl_->mutex);
        more = !impl_->queue.empty();
    }
    if (more) {
        const std::uint64_t one = 1;
        [[maybe_unused]] auto w = ::write(impl_->queueFd, &one, sizeof one);
    }
    return ran;
}

void WindowSystem::setPeerCheck(std::function<bool(std::uint32_t)> check) {
    std::lock_guard lock(impl_->mutex);
    impl_->peerCheck = std::move(check);
}

}  // namespace kelto::platform
