#include "platform/Trace.h"

#include "platform/Paths.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <unistd.h>

namespace kelto::platform {

std::filesystem::path traceLogPath() { return keltoRoot() / "KeltoTV.log"; }

void debugOutput(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (char c : text)
        if (c != '\r') line.push_back(c);
    if (line.empty()) return;

    static std::mutex mutex;
    std::lock_guard lock(mutex);
    std::error_code ec;
    std::filesystem::create_directories(keltoRoot(), ec);
    // O_APPEND keeps lines of concurrent processes whole; one write call per line.
    const int fd = ::open(traceLogPath().c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd >= 0) {
        [[maybe_unused]] auto written = ::write(fd, line.data(), line.size());
        ::close(fd);
    }
    if (std::getenv("KELTO_DEBUG")) {
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fflush(stderr);
    }
}

void traceLine(std::string_view text) {
    std::string line(text);
    line.push_back('\n');
    debugOutput(line);
}

void tracef(const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    traceLine(buffer);
}

}  // namespace kelto::platform
