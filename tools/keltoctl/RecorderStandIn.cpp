#include "tools/keltoctl/RecorderStandIn.h"

#include "links/LinkMessages.h"
#include "platform/Text.h"
#include "platform/WindowMessageIds.h"

#include <poll.h>

namespace kelto::ctl {

namespace {
constexpr const char* kKeyWindowTitle = "CyberLink PowerVCR II";
constexpr int kStopCheckMs = 100;
}  // namespace

std::string describeRecorderKey(std::uint64_t character, std::int64_t keyData) {
    std::string name;
    if (character == ' ') name = "SPACE";
    else if (character == 13) name = "ENTER";
    else if (character == 9) name = "TAB";
    else if (character < 32) name = std::string("^") + char('@' + character);
    else if (character < 127) name = std::string(1, char(character));
    else name = "?";
    return platform::formatText("%s %llu 0x%08llx", name.c_str(), static_cast<unsigned long long>(character),
                                static_cast<unsigned long long>(std::uint64_t(keyData) & 0xFFFFFFFFu));
}

int runRecorderStandIn(platform::WindowSystem& system, std::FILE* out, const std::atomic<bool>& stop) {
    // Both windows answer a character with 1 and print it; other messages are answered 0.
    auto procedure = [out](const platform::WindowMessage& m) -> std::int64_t {
        if (m.message != platform::WM_CHAR) return 0;
        std::fprintf(out, "%s\n", describeRecorderKey(m.wParam, m.lParam).c_str());
        std::fflush(out);
        return 1;
    };
    const auto main = system.createWindow(kPowerVcrClass, kPowerVcrTitle, procedure);
    const auto keys = system.createWindow(kPowerVcrKeyClass, kKeyWindowTitle, procedure);
    if (!main || !keys) {
        if (main) system.destroyWindow(main);
        if (keys) system.destroyWindow(keys);
        std::fprintf(stderr, "keltoctl: cannot make the recorder's windows\n");
        return 1;
    }
    std::fprintf(out, "keltoctl: standing in for the recorder (\"%s\" and \"%s\"); Ctrl+C ends\n", kPowerVcrClass,
                 kPowerVcrKeyClass);
    std::fflush(out);
    while (!stop.load()) {
        pollfd watched{system.pollFd(), POLLIN, 0};
        if (::poll(&watched, 1, kStopCheckMs) > 0) system.dispatchPending();
    }
    system.destroyWindow(keys);
    system.destroyWindow(main);
    return 0;
}

}  // namespace kelto::ctl
