#pragma once
// The viewer's system menu. The window has no caption, so the desktop's window menu may not be
// offered for it; the viewer shows its own (Alt+Space, or a right click on the panel strip
// outside its buttons, the strip being the part that drags like a caption). Its items reach the
// window as WM_SYSCOMMAND, as they would from a system menu; this file decides what each does,
// and which system command a change of the window's state made by the window manager stands for.
#include "resources/MenuResource.h"

#include <cstdint>
#include <optional>

namespace kelto::viewer {

// The about item the viewer adds to its system menu.
inline constexpr std::uint32_t kAboutSystemCommand = 0x0010;

struct WindowShowState {
    bool minimised = false;
    bool maximised = false;  // full screen
    bool operator==(const WindowShowState&) const = default;
};

// The menu in the current language: Restore, Minimize, Maximize, Close, and the about item; each
// item's command is its system command. Items that cannot act in `state` are grey.
MenuItem systemMenu(WindowShowState state);

struct SystemCommandAction {
    enum class Kind { AboutBox, Command, DefaultHandling, Nothing };
    Kind kind = Kind::DefaultHandling;
    int command = 0;  // Kind::Command only
    bool operator==(const SystemCommandAction&) const = default;
};

// What the viewer does with system command `command` in `state`: the about box; minimise runs
// command 32778; maximise runs the full-screen toggle 32779 unless the window is maximised
// already (then nothing); restore runs it only to leave full screen; the rest is the default handling (which
// also restores a minimised window).
SystemCommandAction systemCommandAction(std::uint32_t command, WindowShowState state);

// The system command a change of the window's state stands for when the window manager made it
// (a taskbar click, a desktop shortcut): becoming minimised is SC_MINIMIZE, becoming maximised is
// SC_MAXIMIZE, going back from maximised to normal is SC_RESTORE. Coming back from minimised is
// none: the window returns to what it was. The actions above find the window already in the
// state asked for, so a change the viewer made itself comes back without effect (no loop).
std::optional<std::uint32_t> systemCommandForStateChange(WindowShowState before, WindowShowState after);

}  // namespace kelto::viewer
