#include "platform/ScreenSaverInhibit.h"
#include "platform/Trace.h"

#include <dbus/dbus.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kelto::platform::test {
namespace {

namespace fs = std::filesystem;
using Calls = std::vector<ScreenSaverCall>;

TEST(ScreenSaverInhibitTest, TheRecorderNotesOneInhibitionPerStretchOfUseAndItsRelease) {
    RecordingScreenSaverInhibitor recorder;
    recorder.allowDisplayOff();  // nothing held: nothing to give back
    EXPECT_TRUE(recorder.calls().empty());
    for (int tick = 0; tick < 3; ++tick) EXPECT_TRUE(recorder.keepDisplayOn());
    EXPECT_TRUE(recorder.inhibiting());
    EXPECT_EQ(recorder.calls(), (Calls{ScreenSaverCall::Inhibit}));
    EXPECT_EQ(recorder.keepAliveCount(), 3u);
    recorder.allowDisplayOff();
    recorder.allowDisplayOff();
    EXPECT_FALSE(recorder.inhibiting());
    recorder.keepDisplayOn();
    EXPECT_EQ(recorder.calls(), (Calls{ScreenSaverCall::Inhibit, ScreenSaverCall::UnInhibit, ScreenSaverCall::Inhibit}));
}

TEST(ScreenSaverInhibitTest, TheProcessUsesTheRecorderUntilABackendIsInstalled) {
    EXPECT_EQ(&screenSaverInhibitor(), &recordingScreenSaverInhibitor());
    RecordingScreenSaverInhibitor other;
    setScreenSaverInhibitor(&other);
    screenSaverInhibitor().keepDisplayOn();
    setScreenSaverInhibitor(nullptr);
    EXPECT_EQ(other.calls(), (Calls{ScreenSaverCall::Inhibit}));
    EXPECT_EQ(&screenSaverInhibitor(), &recordingScreenSaverInhibitor());
}

std::string traceLog() {
    std::ifstream in(traceLogPath());
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ScreenSaverInhibitTest, WithoutASessionBusTheRealBackendSaysSoOnceAndHoldsNothing) {
    const char* saved = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    const std::string savedAddress = saved ? saved : "";
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");  // and the test's runtime folder has no "bus"
    auto inhibitor = makeSessionScreenSaverInhibitor();
    EXPECT_FALSE(inhibitor->keepDisplayOn());
    EXPECT_FALSE(inhibitor->keepDisplayOn());
    EXPECT_FALSE(inhibitor->inhibiting());
    inhibitor->allowDisplayOff();
    if (saved) ::setenv("DBUS_SESSION_BUS_ADDRESS", savedAddress.c_str(), 1);

    const std::string log = traceLog();
    const auto first = log.find("screen saver: no session bus");
    ASSERT_NE(first, std::string::npos) << log;
    EXPECT_EQ(log.find("screen saver: no session bus", first + 1), std::string::npos) << "one line, not one per tick";

    auto unreachable = makeSessionScreenSaverInhibitor("unix:path=/nonexistent/keltotv/bus");
    EXPECT_FALSE(unreachable->keepDisplayOn());
    EXPECT_FALSE(unreachable->inhibiting());
}

// A private message bus (dbus-daemon) and a stand-in for the desktop's screen saver on it.
class PrivateBus {
public:
    explicit PrivateBus(const fs::path& folder) : socket_(folder / "bus") {
        const fs::path config = folder / "bus.conf";
        std::ofstream(config) << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                                 " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                                 "<busconfig><type>session</type><listen>unix:path="
                              << socket_.string()
                              << "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                                 "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                                 "<allow own=\"*\"/></policy></busconfig>\n";
        const std::string configArgument = "--config-file=" + config.string();
        char* argv[] = {const_cast<char*>("dbus-daemon"), const_cast<char*>(configArgument.c_str()),
                        const_cast<char*>("--nofork"), nullptr};
        if (::posix_spawnp(&pid_, "dbus-daemon", nullptr, nullptr, argv, environ) != 0) pid_ = 0;
        for (int wait = 0; pid_ && wait < 500 && !fs::exists(socket_); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ~PrivateBus() { stop(); }
    bool running() const { return pid_ && fs::exists(socket_); }
    std::string address() const { return "unix:path=" + socket_.string(); }
    void stop() {
        if (!pid_) return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        pid_ = 0;
    }

private:
    fs::path socket_;
    pid_t pid_ = 0;
};

class FakeScreenSaver {
public:
    explicit FakeScreenSaver(const std::string& address, dbus_uint32_t cookie) : cookie_(cookie) {
        // A bus that has just started may not take connections yet, and a service that went away
        // just now may not be gone yet in the bus's eyes: try again for a while.
        bool owner = false;
        for (int attempt = 0; attempt < 300 && !owner; ++attempt) {
            if (!bus_) bus_ = connect(address);
            owner = bus_ && dbus_bus_request_name(bus_, "org.freedesktop.ScreenSaver", DBUS_NAME_FLAG_DO_NOT_QUEUE,
                                                  nullptr) == DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER;
            if (!owner) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (!owner) {
            close();
            return;
        }
        thread_ = std::thread([this] { serve(); });
    }
    ~FakeScreenSaver() { close(); }
    bool serving() const { return bus_ != nullptr; }

    struct Seen {
        Calls calls;
        std::string application;
        dbus_uint32_t released = 0;
    };
    Seen seen() {
        std::lock_guard lock(mutex_);
        return seen_;
    }
    void close() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (bus_) {
            dbus_connection_close(bus_);
            dbus_connection_unref(bus_);
            bus_ = nullptr;
        }
    }

private:
    static DBusConnection* connect(const std::string& address) {
        DBusConnection* bus = dbus_connection_open_private(address.c_str(), nullptr);
        if (!bus) return nullptr;
        dbus_connection_set_exit_on_disconnect(bus, FALSE);
        if (dbus_bus_register(bus, nullptr)) return bus;
        dbus_connection_close(bus);
        dbus_connection_unref(bus);
        return nullptr;
    }

    void serve() {
        while (!stop_ && dbus_connection_read_write(bus_, 10)) {
            while (DBusMessage* call = dbus_connection_pop_message(bus_)) {
                answer(call);
                dbus_message_unref(call);
            }
        }
    }
    void answer(DBusMessage* call) {
        if (dbus_message_get_type(call) != DBUS_MESSAGE_TYPE_METHOD_CALL) return;
        DBusMessage* reply = dbus_message_new_method_return(call);
        if (dbus_message_is_method_call(call, "org.freedesktop.ScreenSaver", "Inhibit")) {
            const char* application = "";
            const char* reason = "";
            dbus_message_get_args(call, nullptr, DBUS_TYPE_STRING, &application, DBUS_TYPE_STRING, &reason,
                                  DBUS_TYPE_INVALID);
            std::lock_guard lock(mutex_);
            seen_.calls.push_back(ScreenSaverCall::Inhibit);
            seen_.application = application;
            dbus_message_append_args(reply, DBUS_TYPE_UINT32, &cookie_, DBUS_TYPE_INVALID);
        } else if (dbus_message_is_method_call(call, "org.freedesktop.ScreenSaver", "UnInhibit")) {
            dbus_uint32_t cookie = 0;
            dbus_message_get_args(call, nullptr, DBUS_TYPE_UINT32, &cookie, DBUS_TYPE_INVALID);
            std::lock_guard lock(mutex_);
            seen_.calls.push_back(ScreenSaverCall::UnInhibit);
            seen_.released = cookie;
        } else {
            dbus_message_unref(reply);
            reply = dbus_message_new_error(call, DBUS_ERROR_UNKNOWN_METHOD, "no such method");
        }
        dbus_connection_send(bus_, reply, nullptr);
        dbus_connection_flush(bus_);
        dbus_message_unref(reply);
    }

    DBusConnection* bus_ = nullptr;
    dbus_uint32_t cookie_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::mutex mutex_;
    Seen seen_;
};

TEST(ScreenSaverInhibitTest, TheRealBackendInhibitsOnceRenewsAfterTheServiceRestartsAndReleasesItsCookie) {
    const fs::path folder = fs::path(std::getenv("KELTO_ROOT")) / "dbus";
    fs::create_directories(folder);
    PrivateBus bus(folder);
    if (!bus.running()) GTEST_SKIP() << "dbus-daemon cannot be started here";
    auto service = std::make_unique<FakeScreenSaver>(bus.address(), 42);
    ASSERT_TRUE(service->serving());

    auto inhibitor = makeSessionScreenSaverInhibitor(bus.address());
    EXPECT_TRUE(inhibitor->keepDisplayOn());
    EXPECT_TRUE(inhibitor->keepDisplayOn());  // the timer's next tick keeps the one inhibition
    EXPECT_TRUE(inhibitor->inhibiting());
    EXPECT_EQ(service->seen().calls, (Calls{ScreenSaverCall::Inhibit}));
    EXPECT_EQ(service->seen().application, "KeltoTV");

    // The screen saver restarts and has forgotten us: a later tick inhibits again.
    service->close();
    auto restarted = std::make_unique<FakeScreenSaver>(bus.address(), 43);
    ASSERT_TRUE(restarted->serving());
    for (int tick = 0; tick < 200 && restarted->seen().calls.empty(); ++tick) {
        inhibitor->keepDisplayOn();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(restarted->seen().calls, (Calls{ScreenSaverCall::Inhibit}));

    inhibitor->allowDisplayOff();
    EXPECT_FALSE(inhibitor->inhibiting());
    EXPECT_EQ(restarted->seen().calls, (Calls{ScreenSaverCall::Inhibit, ScreenSaverCall::UnInhibit}));
    EXPECT_EQ(restarted->seen().released, 43u);

    // The bus goes away: nothing is held, nothing breaks.
    restarted->close();
    bus.stop();
    EXPECT_FALSE(inhibitor->keepDisplayOn());
    EXPECT_FALSE(inhibitor->inhibiting());
}

}  // namespace
}  // namespace kelto::platform::test
