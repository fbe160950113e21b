// The real power-off backend: asks systemd-logind on the system bus to power the machine off.
// libdbus-1 is used directly (a private connection, one blocking call), so the platform layer
// needs no event loop and no Qt. Reached only through installSystemPowerControl().
#include "platform/Power.h"
#include "platform/Trace.h"

#include <dbus/dbus.h>

namespace kelto::platform {

namespace {

class LogindPowerControl final : public PowerControl {
public:
    bool enableShutdownPrivilege() override { return true; }

    bool requestShutdown(ShutdownKind kind) override {
        traceLine(kind == ShutdownKind::PowerOff ? "power off: asking logind (power off)"
                                                 : "power off: asking logind (shut down)");
        DBusError error;
        dbus_error_init(&error);
        DBusConnection* bus = dbus_bus_get_private(DBUS_BUS_SYSTEM, &error);
        if (!bus) {
            tracef("power off: no system bus: %s", error.message ? error.message : "unknown error");
            dbus_error_free(&error);
            return false;
        }
        dbus_connection_set_exit_on_disconnect(bus, FALSE);

        bool accepted = false;
        DBusMessage* call = dbus_message_new_method_call("org.freedesktop.login1", "/org/freedesktop/login1",
                                                         "org.freedesktop.login1.Manager", "PowerOff");
        dbus_bool_t interactive = TRUE;  // lets polkit ask the user when the policy wants it
        if (call && dbus_message_append_args(call, DBUS_TYPE_BOOLEAN, &interactive, DBUS_TYPE_INVALID)) {
            constexpr int kReplyTimeoutMs = 30000;
            DBusMessage* reply = dbus_connection_send_with_reply_and_block(bus, call, kReplyTimeoutMs, &error);
            if (reply) {
                accepted = true;
                dbus_message_unref(reply);
            } else {
                tracef("power off: logind refused: %s", error.message ? error.message : "unknown error");
            }
        } else {
            traceLine("power off: cannot build the logind request");
        }
        if (call) dbus_message_unref(call);
        dbus_error_free(&error);
        dbus_connection_close(bus);
        dbus_connection_unref(bus);
        return accepted;
    }
};

}  // namespace

void installSystemPowerControl() {
    static LogindPowerControl logind;
    setPowerControl(&logind);
}

}  // namespace kelto::platform
