// The XRandR backend against a real X server: an Xvfb started here on a display number it picks
// itself (-displayfd), 1024x768 at 24 bits. Xvfb offers only the mode it runs in, so the test
// sees the modes listed and read back, and a switch to 640x480 refused without a change. Skipped
// when Xvfb is not installed.
#include "platform/DisplayModes.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace kelto::platform {
namespace {

class Xvfb {
public:
    Xvfb() {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                   "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // Xvfb writes its display number once it accepts clients.
        pollfd ready{fds[0], POLLIN, 0};
        std::string number;
        while (pid_ > 0 && poll(&ready, 1, 10000) == 1) {
            char c = 0;
            if (read(fds[0], &c, 1) != 1 || c == '\n') break;
            number += c;
        }
        close(fds[0]);
        if (!number.empty()) name_ = ":" + number;
    }
    ~Xvfb() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    const std::string& name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
};

bool xvfbInstalled() { return std::system("command -v Xvfb >/dev/null 2>&1") == 0; }

TEST(XRandrDisplayModesTest, ListsXvfbsModeAndRefusesA640x480ItDoesNotOffer) {
    if (!xvfbInstalled()) GTEST_SKIP() << "Xvfb is not installed";
    Xvfb server;
    ASSERT_FALSE(server.name().empty()) << "Xvfb did not start";
    auto display = makeXRandrDisplayModes(server.name());
    ASSERT_NE(display, nullptr) << "no RandR on " << server.name();

    const auto current = display->current();
    ASSERT_TRUE(current.has_value());
    EXPECT_EQ(current->bitsPerPixel, 24);
    EXPECT_EQ(current->width, 1024);
    EXPECT_EQ(current->height, 768);
    EXPECT_NE(current->id, 0u);

    // The listed modes end, and the one in use is among them.
    bool listed = false;
    int index = 0;
    DisplayMode mode;
    for (; index < 64; ++index) {
        const ModeQuery answer = display->mode(index, mode);
        if (answer == ModeQuery::End) break;
        ASSERT_EQ(answer, ModeQuery::Found) << index;
        EXPECT_EQ(mode.bitsPerPixel, 24);
        listed = listed || mode == *current;
    }
    EXPECT_LT(index, 64);
    EXPECT_TRUE(listed);
    EXPECT_EQ(display->mode(-1, mode), ModeQuery::End);

    // No 640x480 (nor another depth): refused, nothing changed.
    EXPECT_FALSE(display->apply({24, 640, 480, 0, 0}, false));
    EXPECT_FALSE(display->apply({16, 1024, 768, 0, 0}, false));
    EXPECT_EQ(display->current(), current);
    // The mode in use again is no change, and taken.
    EXPECT_TRUE(display->apply(*current, true));
    EXPECT_EQ(display->current(), current);
}

TEST(XRandrDisplayModesTest, NoDisplayGivesNoBackend) {
    EXPECT_EQ(makeXRandrDisplayModes(":9999"), nullptr);
}

}  // namespace
}  // namespace kelto::platform
