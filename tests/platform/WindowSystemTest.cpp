#include "platform/WindowSystem.h"

#include "platform/Clock.h"
#include "platform/NamedMutex.h"
#include "platform/WindowMessageIds.h"
#include "links/LinkMessages.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>
#include <atomic>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kelto::platform {
namespace {

constexpr std::uint32_t kAdd = WM_USER + 0x100;
constexpr std::uint32_t kOpenViewer = kMsgOpenViewer;

// Runs a window in a child process until it gets WM_CLOSE. Its procedure adds the parameters of
// kAdd, counts 0x46D posts, answers copy-data with the block's size (and remembers the last block).
pid_t startChildWindow(const std::string& folder, bool refusePeers = false) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    WindowSystem system(folder);
    if (refusePeers) system.setPeerCheck([](std::uint32_t) { return false; });
    bool done = false;
    int opens = 0;
    std::string lastBlock;
    system.createWindow("Child Class", "Child Title", [&](const WindowMessage& m) -> std::int64_t {
        switch (m.message) {
        case kAdd: return std::int64_t(m.wParam) + m.lParam;
        case kOpenViewer: ++opens; return 0;
        case WM_USER + 1: return opens;
        case WM_USER + 2: return std::int64_t(lastBlock.size()) * 1000 + (lastBlock == "hello" ? 1 : 0);
        case WM_COPYDATA: lastBlock = m.data; return std::int64_t(m.data.size()) + std::int64_t(m.copyDataTag);
        case WM_CLOSE: done = true; return 0;
        }
        return 0;
    });
    for (int i = 0; i < 400 && !done; ++i) {
        pollfd p{system.pollFd(), POLLIN, 0};
        ::poll(&p, 1, 25);
        system.dispatchPending();
    }
    ::_exit(done ? 0 : 3);
}

WindowHandle waitForWindow(WindowSystem& system, std::string_view title) {
    for (int i = 0; i < 200; ++i) {
        if (auto h = system.findWindow("", title)) return h;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {};
}

int waitExit(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Writes raw bytes to a window's socket, as a broken or hostile program might.
void sendRaw(const std::string& folder, WindowHandle h, const std::string& bytes) {
    const std::string path = folder + "/w-" + std::to_string(h.pid()) + "-" + std::to_string(h.number()) + ".sock";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    ::shutdown(fd, SHUT_WR);
    char reply[8];
    EXPECT_LE(::read(fd, reply, sizeof reply), 0);  // refused: no answer
    ::close(fd);
}

std::string socketPathOf(const std::string& folder, WindowHandle h) {
    return folder + "/w-" + std::to_string(h.pid()) + "-" + std::to_string(h.number()) + ".sock";
}

// A client that connects to a window and sends nothing (yet); -1 when the connection failed.
int connectSilently(const std::string& folder, WindowHandle h) {
    const std::string path = socketPathOf(folder, h);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void writeAll(int fd, std::string_view bytes) {
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
}

std::string postBytes(WindowHandle h, std::uint32_t message) {
    return encodeWireMessage(WireMessage{WireKind::Post, message, h.value, 0, 0, 0, {}});
}

// Dispatches until nothing more runs; returns the real time it took.
std::chrono::milliseconds dispatchAll(WindowSystem& system) {
    const auto start = std::chrono::steady_clock::now();
    while (system.dispatchPending() > 0) {
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
}

TEST(WindowSystemTest, SilentConnectionsDoNotHoldUpOtherMessages) {
    test::TemporaryFolder folder;
    VirtualClock clock;
    setClock(&clock);
    WindowSystem system(folder.path().string());
    std::vector<std::uint32_t> seen;
    const WindowHandle window = system.createWindow("KELTOTV", "KELTOTV", [&](const WindowMessage& m) {
        seen.push_back(m.message);
        return std::int64_t(0);
    });
    ASSERT_TRUE(window);
    std::vector<int> silent;
    for (int i = 0; i < 8; ++i) silent.push_back(connectSilently(folder.path().string(), window));
    // One client sends half a message now, another a whole one; and a post from inside.
    const std::string first = postBytes(window, 1);
    const int slow = connectSilently(folder.path().string(), window);
    writeAll(slow, first.substr(0, 20));
    const int quick = connectSilently(folder.path().string(), window);
    writeAll(quick, postBytes(window, 2));
    ::shutdown(quick, SHUT_WR);
    system.postMessage(window, 3, 0, 0);

    EXPECT_LT(dispatchAll(system).count(), 500);  // eight silent clients held it 8 s
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{2, 3}));
    writeAll(slow, first.substr(20));
    EXPECT_LT(dispatchAll(system).count(), 500);  // eight silent clients held it 8 s
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{2, 3, 1}));

    // The silent ones are dropped when their time is up.
    char byte;
    EXPECT_LT(::read(silent[0], &byte, 1), 0);  // still open, nothing to read
    clock.advanceMs(1000);
    system.dispatchPending();
    for (int fd : silent) {
        EXPECT_EQ(::read(fd, &byte, 1), 0);  // closed by the window
        ::close(fd);
    }
    ::close(slow);
    ::close(quick);
    setClock(nullptr);
}

TEST(WindowSystemTest, ABurstOfClientsIsServedWhole) {
    test::TemporaryFolder folder;
    WindowSystem system(folder.path().string());
    std::vector<std::uint32_t> seen;
    const WindowHandle window = system.createWindow("KELTOTV", "KELTOTV", [&](const WindowMessage& m) {
        seen.push_back(m.message);
        return std::int64_t(m.wParam) + m.lParam;
    });
    ASSERT_TRUE(window);
    // Clients that do not wait for room: the window takes far more than a handful at once.
    std::vector<int> clients;
    for (std::uint32_t i = 0; i < 100; ++i) {
        const int fd = connectSilently(folder.path().string(), window);
        ASSERT_GE(fd, 0) << "connection " << i;
        writeAll(fd, postBytes(window, 100 + i));
        ::shutdown(fd, SHUT_WR);
        clients.push_back(fd);
    }
    dispatchAll(system);
    ASSERT_EQ(seen.size(), 100u);
    for (std::uint32_t i = 0; i < 100; ++i) EXPECT_EQ(seen[i], 100 + i);  // in the order they came
    for (int fd : clients) ::close(fd);

    // Another process's clients in a burst, each waiting for an answer.
    const pid_t child = ::fork();
    if (child == 0) {
        WindowSystem client(folder.path().string());
        std::vector<std::thread> threads;
        std::atomic<int> answered{0};
        for (int t = 0; t < 40; ++t)
            threads.emplace_back([&, t] {
                if (client.sendMessage(window, kAdd, std::uint64_t(t), 1, 3000) == t + 1) ++answered;
            });
        for (auto& t : threads) t.join();
        ::_exit(answered == 40 ? 0 : 1);
    }
    seen.clear();
    for (int i = 0; i < 400 && seen.size() < 40; ++i) {
        pollfd p{system.pollFd(), POLLIN, 0};
        ::poll(&p, 1, 10);
        system.dispatchPending();
    }
    EXPECT_EQ(waitExit(child), 0);
}

// A window made by another user in this user's folder (here: a socket whose listener changed to
// user "nobody" before it listened) gets nothing from this user's clients.
TEST(WindowSystemTest, ClientsSendNothingToAWindowOfAnotherUser) {
    if (::getuid() != 0) GTEST_SKIP() << "a listener of another user needs root";
    test::TemporaryFolder folder;
    WindowSystem system(folder.path().string());
    ASSERT_TRUE(system.createWindow("Mine", "Mine", [](const WindowMessage&) { return std::int64_t(0); }));
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const WindowHandle self = WindowHandle::of(std::uint32_t(::getpid()), 1);
        const std::string path = socketPathOf(folder.path().string(), self);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, path.c_str());
        const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) ::_exit(90);
        if (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0) ::_exit(91);
        if (::listen(listener, 4) != 0) ::_exit(92);
        [[maybe_unused]] auto n = ::write(ready[1], "r", 1);
        pollfd p{listener, POLLIN, 0};
        if (::poll(&p, 1, 2000) <= 0) ::_exit(93);
        const int fd = ::accept(listener, nullptr, nullptr);
        std::size_t received = 0;
        char buffer[256];
        for (;;) {
            pollfd q{fd, POLLIN, 0};
            if (::poll(&q, 1, 2000) <= 0) break;
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got <= 0) break;
            received += std::size_t(got);
        }
        ::_exit(received == 0 ? 0 : 1);  // 1: the client told it something
    }
    char byte;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    const WindowHandle theirs = WindowHandle::of(std::uint32_t(child), 1);
    EXPECT_FALSE(system.sendMessage(theirs, kAdd, 1, 2, 500));
    EXPECT_EQ(waitExit(child), 0);
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(WindowSystemTest, MessagesAndCopyDataReachAWindowOfAnotherProcess) {
    test::TemporaryFolder folder;
    const pid_t child = startChildWindow(folder.path().string());
    WindowSystem system(folder.path().string());
    const WindowHandle window = waitForWindow(system, "Child Title");
    ASSERT_TRUE(window);
    EXPECT_EQ(window.pid(), std::uint32_t(child));
    EXPECT_EQ(system.findWindow("Child Class", ""), window);
    EXPECT_FALSE(system.findWindow("Other Class", "Child Title"));

    EXPECT_EQ(system.sendMessage(window, kAdd, 40, 2), 42);
    EXPECT_TRUE(system.postMessage(window, kOpenViewer, 0, 0));
    EXPECT_TRUE(system.postMessage(window, kOpenViewer, 0, 0));
    EXPECT_EQ(system.sendMessage(window, WM_USER + 1, 0, 0), 2);
    EXPECT_EQ(system.sendCopyData(window, {}, 7, "hello"), 12);
    EXPECT_EQ(system.sendCopyData(window, {}, 0, std::string(100000, 'x')), 100000);

    EXPECT_EQ(system.sendMessage(window, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(waitExit(child), 0);
}

TEST(WindowSystemTest, MalformedMessagesAreRefusedWithoutHarm) {
    test::TemporaryFolder folder;
    const pid_t child = startChildWindow(folder.path().string());
    WindowSystem system(folder.path().string());
    const WindowHandle window = waitForWindow(system, "Child Title");
    ASSERT_TRUE(window);
    ASSERT_EQ(system.sendCopyData(window, {}, 0, "hello"), 5);

    WireMessage copy{WireKind::Send, WM_COPYDATA, window.value, 0, 0, 0, "abc"};
    const std::string good = encodeWireMessage(copy);
    sendRaw(folder.path().string(), window, "garbage that is not a message at all, not even close......");
    sendRaw(folder.path().string(), window, good.substr(0, good.size() - 1));  // block ends early
    sendRaw(folder.path().string(), window, good + "trailing");                // bytes past the block
    std::string huge = good;
    huge[48] = char(0xFF), huge[49] = char(0xFF), huge[50] = char(0xFF), huge[51] = char(0x7F);  // absurd size
    sendRaw(folder.path().string(), window, huge);
    WireMessage elsewhere = copy;
    elsewhere.target = WindowHandle::of(window.pid(), window.number() + 1).value;
    sendRaw(folder.path().string(), window, encodeWireMessage(elsewhere));

    // The window still works and none of the broken blocks reached it.
    EXPECT_EQ(system.sendMessage(window, WM_USER + 2, 0, 0), 5001);
    system.sendMessage(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(waitExit(child), 0);
}

TEST(WindowSystemTest, AnotherUsersProcessIsRefused) {
    test::TemporaryFolder folder;
    const pid_t child = startChildWindow(folder.path().string(), /*refusePeers=*/true);
    WindowSystem system(folder.path().string());
    const WindowHandle window = waitForWindow(system, "Child Title");
    ASSERT_TRUE(window);
    EXPECT_FALSE(system.sendMessage(window, kAdd, 1, 1, 2000));
    ::kill(child, SIGTERM);
    waitExit(child);
}

TEST(WindowSystemTest, WindowsOfEndedProcessesAreForgotten) {
    test::TemporaryFolder folder;
    const pid_t child = ::fork();
    if (child == 0) {
        WindowSystem system(folder.path().string());
        system.createWindow("Gone", "Gone", [](const WindowMessage&) { return std::int64_t(0); });
        ::_exit(0);  // ends without removing its window
    }
    waitExit(child);
    WindowSystem system(folder.path().string());
    EXPECT_FALSE(system.findWindow("Gone", ""));
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    EXPECT_FALSE(system.postMessage(WindowHandle::of(std::uint32_t(child), 1), kOpenViewer, 0, 0));
}

TEST(WindowSystemTest, InsideOneProcessPostsQueueAndSendsRunOnTheOwningThread) {
    test::TemporaryFolder folder;
    WindowSystem system(folder.path().string());
    std::vector<std::string> seen;
    const auto owner = std::this_thread::get_id();
    WindowHandle window;
    window = system.createWindow("KELTOTV", "KELTOTV", [&](const WindowMessage& m) -> std::int64_t {
        EXPECT_EQ(std::this_thread::get_id(), owner);
        seen.push_back(std::to_string(m.message));
        if (m.message == 1) system.postMessage(window, 3, 0, 0);  // queued behind what is waiting
        return std::int64_t(m.message) * 10;
    });
    ASSERT_TRUE(window);
    EXPECT_TRUE(system.postMessage(window, 1, 0, 0));
    EXPECT_TRUE(system.postMessage(window, 2, 0, 0));
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(system.sendMessage(window, 9, 0, 0), 90);  // same thread: a direct call
    EXPECT_EQ(system.dispatchPending(), 2);
    EXPECT_EQ(seen, (std::vector<std::string>{"9", "1", "2"}));
    EXPECT_EQ(system.dispatchPending(), 1);
    EXPECT_EQ(seen.back(), "3");

    // A send from another thread waits until the owning thread dispatches it.
    std::optional<std::int64_t> answer;
    std::thread other([&] { answer = system.sendMessage(window, 4, 0, 0); });
    for (int i = 0; i < 200 && !answer; ++i) {
        pollfd p{system.pollFd(), POLLIN, 0};
        ::poll(&p, 1, 10);
        system.dispatchPending();
    }
    other.join();
    EXPECT_EQ(answer, 40);

    system.postMessage(window, 5, 0, 0);
    system.destroyWindow(window);
    EXPECT_EQ(system.dispatchPending(), 0);  // pending messages of a destroyed window are dropped
    EXPECT_FALSE(system.postMessage(window, 6, 0, 0));
    EXPECT_FALSE(system.findWindow("KELTOTV", ""));
}

TEST(NamedMutexTest, OneHolderAtATimeAndReleasedWithItsProcess) {
    NamedMutex::Result result;
    auto held = NamedMutex::create("KELTO TV", result);
    ASSERT_TRUE(held);
    EXPECT_EQ(result, NamedMutex::Result::Created);
    EXPECT_FALSE(NamedMutex::create("KELTO TV", result));
    EXPECT_EQ(result, NamedMutex::Result::AlreadyExists);
    held.reset();

    const pid_t child = ::fork();
    if (child == 0) {
        NamedMutex::Result r;
        auto m = NamedMutex::create("KELTO TV", r);
        ::_exit(r == NamedMutex::Result::Created ? 0 : 1);  // dies holding it
    }
    EXPECT_EQ(waitExit(child), 0);
    EXPECT_TRUE(NamedMutex::create("KELTO TV", result));
}

}  // namespace
}  // namespace kelto::platform
