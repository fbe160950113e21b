// The desktop's screen saver over the session bus: org.freedesktop.ScreenSaver.Inhibit once,
// UnInhibit at the release. libdbus-1 directly on a private connection, so the platform layer
// needs no event loop; the connection stays open while the inhibition is held, because the
// screen-saver service drops the inhibitions of a caller whose connection goes away.
#include "platform/ScreenSaverInhibit.h"
#include "platform/Trace.h"

#include <dbus/dbus.h>

#include <sys/stat.h>

#include <cstdarg>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace kelto::platform {

namespace {

constexpr const char* kService = "org.freedesktop.ScreenSaver";
constexpr const char* kInterface = "org.freedesktop.ScreenSaver";
// Desktops serve the interface under one of these paths (KDE and GNOME's proxy both).
constexpr const char* kPaths[] = {"/org/freedesktop/ScreenSaver", "/ScreenSaver"};
// The user-interface thread waits at most this long for the desktop's answer.
constexpr int kReplyTimeoutMs = 1000;
constexpr const char* kOwnerChangeRule =
    "type='signal',sender='org.freedesktop.DBus',interface='org.freedesktop.DBus',member='NameOwnerChanged',"
    "arg0='org.freedesktop.ScreenSaver'";

std::string sessionBusAddress() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) return address;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime) return {};
    const std::string socket = std::string(runtime) + "/bus";
    struct stat info {};
    if (::stat(socket.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode)) return {};
    char* escaped = dbus_address_escape_value(socket.c_str());
    if (!escaped) return {};
    std::string address = std::string("unix:path=") + escaped;
    dbus_free(escaped);
    return address;
}

class SessionScreenSaverInhibitor final : public ScreenSaverInhibitor {
public:
    explicit SessionScreenSaverInhibitor(std::string address) : address_(std::move(address)) {}
    ~SessionScreenSaverInhibitor() override {
        allowDisplayOff();
        disconnect();
    }

    bool keepDisplayOn() override {
        drainIncoming();
        if (cookie_) return true;
        if (!connect()) return false;
        DBusError error;
        dbus_error_init(&error);
        const char* application = "KeltoTV";
        const char* reason = "Watching television";
        for (const char* path : kPaths) {
            DBusMessage* reply = call(path, "Inhibit", &error, DBUS_TYPE_STRING, &application, DBUS_TYPE_STRING,
                                      &reason, DBUS_TYPE_INVALID);
            if (!reply) continue;
            dbus_uint32_t cookie = 0;
            if (dbus_message_get_args(reply, &error, DBUS_TYPE_UINT32, &cookie, DBUS_TYPE_INVALID)) {
                cookie_ = cookie;
                path_ = path;
                const char* owner = dbus_message_get_sender(reply);
                owner_ = owner ? owner : "";
                note("screen saver: inhibited while the viewer shows the picture");
            }
            dbus_message_unref(reply);
            if (cookie_) break;
        }
        if (!cookie_)
            note(std::string("screen saver: cannot inhibit, the screen may blank: ") +
                 (error.message ? error.message : "no answer"));
        dbus_error_free(&error);
        if (!cookie_) disconnect();
        return cookie_.has_value();
    }

    void allowDisplayOff() override {
        if (!cookie_) return;
        drainIncoming();
        if (cookie_ && bus_) {
            DBusError error;
            dbus_error_init(&error);
            dbus_uint32_t cookie = *cookie_;
            if (DBusMessage* reply = call(path_, "UnInhibit", &error, DBUS_TYPE_UINT32, &cookie, DBUS_TYPE_INVALID))
                dbus_message_unref(reply);
            else
                note(std::string("screen saver: UnInhibit failed: ") + (error.message ? error.message : "no answer"));
            dbus_error_free(&error);
        }
        cookie_.reset();
        // Closing the connection also ends the inhibition where the call above could not.
        disconnect();
    }

    bool inhibiting() const override { return cookie_.has_value(); }

private:
    bool connect() {
        if (bus_) return true;
        const std::string address = address_.empty() ? sessionBusAddress() : address_;
        if (address.empty()) {
            note("screen saver: no session bus, the screen may blank while the viewer shows the picture");
            return false;
        }
        if (address.find("autolaunch:") != std::string::npos) {
            note("screen saver: the session bus would be started on demand; not inhibiting");
            return false;
        }
        DBusError error;
        dbus_error_init(&error);
        bus_ = dbus_connection_open_private(address.c_str(), &error);
        if (bus_) {
            dbus_connection_set_exit_on_disconnect(bus_, FALSE);
            if (!dbus_bus_register(bus_, &error)) disconnect();
        }
        // A screen saver that restarts has forgotten our inhibition: hear of its changes of owner.
        if (bus_) dbus_bus_add_match(bus_, kOwnerChangeRule, nullptr);
        if (!bus_) note(std::string("screen saver: no session bus: ") + (error.message ? error.message : "unknown error"));
        dbus_error_free(&error);
        return bus_ != nullptr;
    }

    void disconnect() {
        if (!bus_) return;
        dbus_connection_close(bus_);
        dbus_connection_unref(bus_);
        bus_ = nullptr;
    }

    // Drops what the bus sent us unasked (name signals) and notices a lost connection, with
    // which the desktop dropped our inhibition.
    void drainIncoming() {
        if (!bus_) return;
        dbus_connection_read_write(bus_, 0);
        while (DBusMessage* message = dbus_connection_pop_message(bus_)) {
            if (cookie_ && ownerLeft(message)) {
                note("screen saver: the service went away; inhibiting again");
                cookie_.reset();
            }
            dbus_message_unref(message);
        }
        if (!dbus_connection_get_is_connected(bus_)) {
            if (cookie_) note("screen saver: the session bus went away; inhibiting again at the next call");
            cookie_.reset();
            disconnect();
        }
    }

    // The service that holds our inhibition gave up its name (it ended or restarted).
    bool ownerLeft(DBusMessage* message) const {
        if (!dbus_message_is_signal(message, DBUS_INTERFACE_DBUS, "NameOwnerChanged")) return false;
        const char* name = nullptr;
        const char* oldOwner = nullptr;
        const char* newOwner = nullptr;
        if (!dbus_message_get_args(message, nullptr, DBUS_TYPE_STRING, &name, DBUS_TYPE_STRING, &oldOwner,
                                   DBUS_TYPE_STRING, &newOwner, DBUS_TYPE_INVALID))
            return false;
        return std::string_view(name) == kService && owner_ == oldOwner;
    }

    // One blocking call; the reply (to unref) or null with `error` set.
    DBusMessage* call(const char* path, const char* method, DBusError* error, int firstType, ...) {
        DBusMessage* message = dbus_message_new_method_call(kService, path, kInterface, method);
        if (!message) return nullptr;
        va_list args;
        va_start(args, firstType);
        const bool built = dbus_message_append_args_valist(message, firstType, args);
        va_end(args);
        DBusMessage* reply = nullptr;
        if (built) {
            if (dbus_error_is_set(error)) dbus_error_free(error);
            reply = dbus_connection_send_with_reply_and_block(bus_, message, kReplyTimeoutMs, error);
        }
        dbus_message_unref(message);
        return reply;
    }

    // Trace lines on change only: the timer asks every 50 s.
    void note(const std::string& line) {
        if (line == lastNote_) return;
        lastNote_ = line;
        traceLine(line);
    }

    std::string address_;
    DBusConnection* bus_ = nullptr;
    std::optional<dbus_uint32_t> cookie_;
    const char* path_ = kPaths[0];
    std::string owner_;  // the unique bus name of the service that gave us the cookie
    std::string lastNote_;
};

}  // namespace

std::unique_ptr<ScreenSaverInhibitor> makeSessionScreenSaverInhibitor(std::string busAddress) {
    return std::make_unique<SessionScreenSaverInhibitor>(std::move(busAddress));
}

void installSessionScreenSaverInhibitor() {
    // Kept for the process's life: at exit the closing connection ends the inhibition.
    static ScreenSaverInhibitor* session = makeSessionScreenSaverInhibitor().release();
    setScreenSaverInhibitor(session);
}

}  // namespace kelto::platform
