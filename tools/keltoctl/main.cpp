// keltoctl: talks to a running KeltoTV the way the remote-controller program and other programs
// do: window messages, remote buttons and reservation requests.
#include "platform/WindowMessageIds.h"
#include "platform/WindowSystem.h"
#include "platform/AtomicFile.h"
#include "platform/Text.h"
#include "reservations/ReservationRequest.h"
#include "reservations/ReservationTiming.h"
#include "reservations/ReserveFile.h"
#include "tools/keltoctl/RecorderStandIn.h"
#include "tools/keltoctl/RemoteCommands.h"

#include <atomic>
#include <csignal>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

using namespace kelto;
using platform::WindowHandle;
using platform::WindowSystem;

namespace {

int usage() {
    std::fputs(
        "usage: keltoctl list\n"
        "       keltoctl post WINDOW MESSAGE [WPARAM [LPARAM]]\n"
        "       keltoctl send WINDOW MESSAGE [WPARAM [LPARAM]]\n"
        "       keltoctl key NAME [WINDOW]        remote button, sent to the KELTOTV window by default\n"
        "       keltoctl char TEXT [WINDOW]       each character as a character message\n"
        "       keltoctl reserve --channel N --start WHEN --end WHEN [--title TEXT] [--option 0|1|2]\n"
        "       keltoctl recorder                 stand in for the recorder program until stopped;\n"
        "                                         prints the keys it receives\n"
        "WINDOW is a window class or title; numbers are decimal or 0x-hex.\n"
        "Keys: fullscreen mute source previous adjust capture left up right down close 0..9\n"
        "WHEN is \"YYYY-MM-DD HH:MM\" or \"HH:MM\" (today), local time.\n",
        stderr);
    return 2;
}

WindowHandle findByClassOrTitle(WindowSystem& system, const std::string& name) {
    if (auto byClass = system.findWindow(name, "")) return byClass;
    return system.findWindow("", name);
}

int fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "keltoctl: %s%s\n", what, detail.c_str());
    return 1;
}

constexpr const char* kAgentTitle = "Vezidov ID";

bool keltoTvRunning(WindowSystem& system) { return bool(system.findWindow("", kAgentTitle)); }

// The window a command names was not found: say why in the user's terms.
int targetMissing(WindowSystem& system, const std::string& target) {
    if (!keltoTvRunning(system)) return fail("KeltoTV is not running (start it with: KeltoTV or KeltoTV /t)", "");
    return fail("no window with class or title ", target);
}

int postOrSend(WindowSystem& system, bool send, const std::vector<std::string>& args) {
    if (args.size() < 2 || args.size() > 4) return usage();
    const WindowHandle window = findByClassOrTitle(system, args[0]);
    if (!window) return targetMissing(system, args[0]);
    std::int64_t values[3] = {0, 0, 0};
    for (std::size_t i = 1; i < args.size(); ++i) {
        const auto v = ctl::parseNumber(args[i]);
        if (!v) return fail("not a number: ", args[i]);
        values[i - 1] = *v;
    }
    if (!send) return system.postMessage(window, std::uint32_t(values[0]), std::uint64_t(values[1]), values[2]) ? 0 : fail("cannot post to ", args[0]);
    const auto answer = system.sendMessage(window, std::uint32_t(values[0]), std::uint64_t(values[1]), values[2]);
    if (!answer) return fail("no answer from ", args[0]);
    std::printf("%lld\n", static_cast<long long>(*answer));
    return 0;
}

int sendKey(WindowSystem& system, const std::vector<std::string>& args) {
    if (args.empty() || args.size() > 2) return usage();
    const auto key = ctl::remoteKeyByName(args[0]);
    if (!key) return fail("unknown key: ", args[0]);
    const std::string target = args.size() > 1 ? args[1] : "KELTOTV";
    const WindowHandle window = findByClassOrTitle(system, target);
    if (!window) return targetMissing(system, target);
    std::optional<std::int64_t> answer;
    switch (key->kind) {
    case ctl::RemoteKey::Kind::Message: answer = system.sendMessage(window, key->value, 0, 0); break;
    case ctl::RemoteKey::Kind::Character: answer = system.sendMessage(window, platform::WM_CHAR, key->value, 1); break;
    case ctl::RemoteKey::Kind::Command: answer = system.sendMessage(window, platform::WM_COMMAND, key->value, 0); break;
    }
    return answer ? 0 : fail("no answer from ", target);
}

int sendText(WindowSystem& system, const std::vector<std::string>& args) {
    if (args.empty() || args.size() > 2) return usage();
    const std::string target = args.size() > 1 ? args[1] : "KELTOTV";
    const WindowHandle window = findByClassOrTitle(system, target);
    if (!window) return targetMissing(system, target);
    for (unsigned char c : args[0])
        if (!system.sendMessage(window, platform::WM_CHAR, c, 1)) return fail("no answer from ", target);
    return 0;
}

std::string clockText(std::uint32_t time) {
    const std::time_t t = time;
    std::tm tm{};
    localtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &tm);
    return text;
}

// Why KeltoTV refused a well-formed request: the table it keeps on disk says (it is saved after
// every change). Read only: a file that does not decode is left where it is.
std::string refusalReason(const ReservationRequest& request) {
    std::string bytes;
    ReservationTable table;
    if (!platform::readWholeFile(ReserveFile::defaultPath(), bytes) || !ReserveFile::decode(bytes, table))
        return "its start minute is taken or its table is full";
    if (table.full()) return platform::formatText("its table is full (%d reservations)", ReservationTable::kSlots);
    const int minute = toLocalTime(request.startTime).minuteOfDay();
    for (int i = 0; i < table.count(); ++i) {
        const ReservationRecord record = table.record(i);
        if (toLocalTime(record.startTime).minuteOfDay() == minute)
            return platform::formatText("%02d:%02d is taken by \"%s\" (channel %u, %s)", minute / 60, minute % 60,
                                        record.comment.c_str(), record.channel, record.isActive() ? "active" : "inactive");
    }
    if (toLocalTime(table.turnOff().time).minuteOfDay() == minute)
        return platform::formatText("%02d:%02d is the time of the timed turn-off", minute / 60, minute % 60);
    return "its start minute is taken or its table is full";
}

int reserve(WindowSystem& system, const std::vector<std::string>& args) {
    std::optional<std::int64_t> channel, option = 0;
    std::optional<std::time_t> start, end;
    std::string title;
    const std::time_t now = std::time(nullptr);
    for (std::size_t i = 0; i + 1 < args.size(); i += 2) {
        const std::string& name = args[i];
        const std::string& value = args[i + 1];
        if (name == "--channel") channel = ctl::parseNumber(value);
        else if (name == "--start") start = ctl::parseLocalTime(value, now);
        else if (name == "--end") end = ctl::parseLocalTime(value, now);
        else if (name == "--title") title = value;
        else if (name == "--option") option = ctl::parseNumber(value);
        else return usage();
        if ((name == "--start" && !start) || (name == "--end" && !end)) return fail("not a time: ", value);
    }
    if (args.size() % 2 != 0 || !channel || !start || !end) return usage();
    if (*channel < 1 || *channel > 256) return fail("channel out of 1..256: ", std::to_string(*channel));
    if (!option || *option < 0 || *option > 2) return fail("option must be 0, 1 or 2", "");
    const WindowHandle agent = system.findWindow("", "Vezidov ID");
    if (!agent) return fail("KeltoTV is not running", "");
    ReservationRequest request;
    request.channel = std::int16_t(*channel);
    request.startTime = std::uint32_t(*start);
    request.endTime = std::uint32_t(*end);
    request.title = title;
    request.option = AfterRecording(*option);
    const std::string block = request.encode();
    // KeltoTV answers before it shows anything or records.
    const auto answer = system.sendCopyData(agent, {}, 0, block);
    if (!answer) return fail("no answer from KeltoTV", "");
    if (*answer == 0) return fail("KeltoTV refused the reservation: ", refusalReason(request));
    std::printf("keltoctl: KeltoTV accepted \"%s\", channel %d, %s to %s%s\n", title.c_str(), int(*channel),
                clockText(request.startTime).c_str(), clockText(request.endTime).c_str(),
                programmeOnAir(request.startTime, request.endTime, now) ? "; it is on air: recording starts now" : "");
    return 0;
}

std::atomic<bool> stopRequested{false};

void requestStop(int) { stopRequested = true; }

int standInForRecorder(WindowSystem& system, const std::vector<std::string>& args) {
    if (!args.empty()) return usage();
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    return ctl::runRecorderStandIn(system, stdout, stopRequested);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    WindowSystem& system = WindowSystem::instance();
    if (command == "list") {
        const auto windows = system.listWindows();
        if (windows.empty()) return fail("KeltoTV is not running (start it with: KeltoTV or KeltoTV /t)", "");
        for (const auto& w : windows)
            std::printf("0x%016llx  %-28s %s\n", static_cast<unsigned long long>(w.handle.value), w.className.c_str(),
                        w.title.c_str());
        return 0;
    }
    if (command == "post" || command == "send") return postOrSend(system, command == "send", args);
    if (command == "key") return sendKey(system, args);
    if (command == "char") return sendText(system, args);
    if (command == "reserve") return reserve(system, args);
    if (command == "recorder") return standInForRecorder(system, args);
    return usage();
}
