#include "platform/qt/WindowPump.h"

#include "platform/WindowSystem.h"
#include "tests/support/TestRoot.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace kelto::platform {
namespace {

int connectTo(const std::string& folder, WindowHandle h) {
    const std::string path = folder + "/w-" + std::to_string(h.pid()) + "-" + std::to_string(h.number()) + ".sock";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    return fd;
}

// Clients that connect and then say nothing must not stall the user-interface thread: its
// timers and the messages of other clients still run at once.
TEST(WindowPumpTest, TimersAndMessagesRunWhileClientsStaySilent) {
    test::TemporaryFolder folder;
    WindowSystem system(folder.path().string());
    WindowPump pump(system);
    bool messageRan = false;
    const WindowHandle window = system.createWindow("KELTOTV", "KELTOTV", [&](const WindowMessage& m) {
        messageRan = messageRan || m.message == 0x46D;
        return std::int64_t(0);
    });
    ASSERT_TRUE(window);

    std::vector<int> silent;
    for (int i = 0; i < 8; ++i) silent.push_back(connectTo(folder.path().string(), window));
    const int talking = connectTo(folder.path().string(), window);
    const std::string post = encodeWireMessage(WireMessage{WireKind::Post, 0x46D, window.value, 0, 0, 0, {}});
    ASSERT_EQ(::write(talking, post.data(), post.size()), ssize_t(post.size()));
    ::shutdown(talking, SHUT_WR);
    bool timerRan = false;
    QTimer::singleShot(20, [&] { timerRan = true; });

    QElapsedTimer elapsed;
    elapsed.start();
    while (!(messageRan && timerRan) && elapsed.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_TRUE(messageRan);
    EXPECT_TRUE(timerRan);
    EXPECT_LT(elapsed.elapsed(), 1000);  // not the 8 s eight silent clients took
    for (int fd : silent) ::close(fd);
    ::close(talking);
}

}  // namespace
}  // namespace kelto::platform
