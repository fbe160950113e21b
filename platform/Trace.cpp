#include "platform/Trace.h"

#include "platform/Clock.h"
#include "platform/Paths.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelto::platform {

namespace {

// "2026-12-08 22:49:10.123 " in local time, from the program's clock.
std::string timestamp(std::chrono::system_clock::time_point now) {
    using namespace std::chrono;
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d ", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, int(ms < 0 ? ms + 1000 : ms));
    return text;
}

// Which file a line went to: a log removed or replaced since ends a run of repeats.
struct LogIdentity {
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const LogIdentity&) const = default;
};

LogIdentity currentLog() {
    LogIdentity id{traceLogPath().string()};
    struct stat st{};
    if (::stat(id.path.c_str(), &st) == 0) id.device = st.st_dev, id.inode = st.st_ino;
    return id;
}

// Appends bytes to the log, moving a full log aside first. The log file's lock orders the
// writers of every process, so only one of them rotates and no line lands in a moved file.
// Returns the file written to.
LogIdentity appendToLog(std::string_view bytes) {
    const auto path = traceLogPath();
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (fd < 0) return {};
        ::flock(fd, LOCK_EX);
        struct stat opened{}, current{};
        const bool stillTheLog = ::fstat(fd, &opened) == 0 && ::stat(path.c_str(), &current) == 0 &&
                                 opened.st_ino == current.st_ino && opened.st_dev == current.st_dev;
        if (!stillTheLog) {  // another process rotated it meanwhile: open the new one
            ::close(fd);
            continue;
        }
        if (std::uint64_t(opened.st_size) + bytes.size() > kTraceLogMaxBytes && opened.st_size > 0) {
            std::string older = path.string() + ".1";
            ::rename(path.c_str(), older.c_str());
            ::close(fd);  // releases the lock on the moved file; its waiters find it moved
            continue;
        }
        [[maybe_unused]] auto written = ::write(fd, bytes.data(), bytes.size());
        ::close(fd);
        return {path.string(), opened.st_dev, opened.st_ino};
    }
    return {};
}

// The writer's state in this process: whether the last text ended its line, and the line that is
// being repeated with how many repeats were left out.
struct TraceState {
    std::mutex mutex;
    bool atLineStart = true;
    std::string lastLine;
    LogIdentity lastLog;
    std::uint64_t repeats = 0;

    // Writes the count of left-out repeats, if any.
    void flushRepeats(std::chrono::system_clock::time_point now) {
        if (repeats == 0) return;
        std::string note = timestamp(now) + "(the line above was repeated " + std::to_string(repeats) + " more times)\n";
        repeats = 0;
        lastLog = appendToLog(note);
        if (std::getenv("KELTO_DEBUG")) std::fputs(note.c_str(), stderr);
    }
    // At exit a test's clock may be gone: the machine's clock stamps the last count.
    ~TraceState() {
        std::lock_guard lock(mutex);
        flushRepeats(std::chrono::system_clock::now());
    }
};

TraceState& state() {
    static TraceState s;
    return s;
}

}  // namespace

std::filesystem::path traceLogPath() { return keltoRoot() / "KeltoTV.log"; }

void debugOutput(std::string_view text) {
    std::string body;
    body.reserve(text.size());
    for (char c : text)
        if (c != '\r') body.push_back(c);
    if (body.empty()) return;

    TraceState& s = state();
    std::lock_guard lock(s.mutex);
    // A whole line equal to the one before is only counted; the count is written before the
    // next different line (or at exit, or every kTraceRepeatFlush repeats).
    const auto now = clock().now();
    const bool wholeLine = s.atLineStart && body.back() == '\n' && body.find('\n') == body.size() - 1;
    if (wholeLine && !s.lastLine.empty() && body == s.lastLine && currentLog() == s.lastLog) {
        if (++s.repeats >= kTraceRepeatFlush) s.flushRepeats(now);
        return;
    }
    s.flushRepeats(now);
    s.lastLine = wholeLine ? body : std::string();

    // Every line starts with the time it was written.
    std::string out;
    out.reserve(body.size() + 32);
    const std::string stamp = timestamp(now);
    for (char c : body) {
        if (s.atLineStart) out += stamp;
        out.push_back(c);
        s.atLineStart = c == '\n';
    }
    std::error_code ec;
    std::filesystem::create_directories(keltoRoot(), ec);
    s.lastLog = appendToLog(out);
    if (std::getenv("KELTO_DEBUG")) {
        std::fwrite(out.data(), 1, out.size(), stderr);
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
