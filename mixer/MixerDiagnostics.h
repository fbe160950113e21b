#pragma once
// Where the mixer classes report why a binding failed. The hook shows nothing to the user; the
// standard one writes "<caption>: <message>" to the trace log. Tests install their own.
#include <functional>
#include <string_view>

namespace kelto::mixer {

using MixerDiagnosticHook = std::function<void(std::string_view caption, std::string_view message)>;

// Replaces the hook; an empty hook restores the trace log. Not for use while mixer calls run on
// other threads.
void setMixerDiagnosticHook(MixerDiagnosticHook hook);

// Passes one diagnostic to the hook. caption names the failing method ("CMixerBase::Init").
void reportMixerDiagnostic(std::string_view caption, std::string_view message);

}  // namespace kelto::mixer
