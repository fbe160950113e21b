#include "mixer/MixerDiagnostics.h"

#include "platform/Trace.h"

#include <string>

namespace kelto::mixer {
namespace {

MixerDiagnosticHook& currentHook() {
    static MixerDiagnosticHook hook;
    return hook;
}

}  // namespace

void setMixerDiagnosticHook(MixerDiagnosticHook hook) { currentHook() = std::move(hook); }

void reportMixerDiagnostic(std::string_view caption, std::string_view message) {
    if (const auto& hook = currentHook()) {
        hook(caption, message);
        return;
    }
    // One write, so the message's own line breaks stay together in the log.
    std::string entry(caption);
    entry += ": ";
    entry += message;
    entry += '\n';
    platform::debugOutput(entry);
}

}  // namespace kelto::mixer
