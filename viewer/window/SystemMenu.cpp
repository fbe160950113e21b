#include "viewer/window/SystemMenu.h"

#include "platform/WindowMessageIds.h"

#include <array>

namespace kelto::viewer {

namespace {

using platform::SC_CLOSE;
using platform::SC_MAXIMIZE;
using platform::SC_MINIMIZE;
using platform::SC_RESTORE;

constexpr int kFullScreenToggle = 32779;
constexpr int kMinimise = 32778;
constexpr int kAboutCommand = 32797;  // its caption names the about item in the context menu

// The window items as a system menu names them, per language: Restore, Minimize, Maximize, Close.
struct WindowItemTexts {
    const char* restore;
    const char* minimise;
    const char* maximise;
    const char* close;
};

WindowItemTexts windowItemTexts(UiLanguage language) {
    switch (language) {
    case UiLanguage::Japanese:
        return {"元のサイズに戻す(&R)", "最小化(&N)", "最大化(&X)", "閉じる(&C)\tAlt+F4"};
    case UiLanguage::Korean: return {"이전 크기로(&R)", "최소화(&N)", "최대화(&X)", "닫기(&C)\tAlt+F4"};
    case UiLanguage::ChineseSimplified: return {"还原(&R)", "最小化(&N)", "最大化(&X)", "关闭(&C)\tAlt+F4"};
    case UiLanguage::EnglishUS: break;
    }
    return {"&Restore", "Mi&nimize", "Ma&ximize", "&Close\tAlt+F4"};
}

MenuItem item(std::uint32_t command, std::string text, bool enabled) {
    MenuItem entry;
    entry.command = int(command);
    entry.text = std::move(text);
    entry.enabled = enabled;
    return entry;
}

MenuItem separator() {
    MenuItem entry;
    entry.kind = MenuItem::Kind::Separator;
    return entry;
}

std::string aboutText(UiLanguage language) {
    if (auto menu = loadMenu(129, language))
        if (const MenuItem* about = menu->findCommand(kAboutCommand)) return about->text;
    return "Kelto TV..";
}

}  // namespace

MenuItem systemMenu(WindowShowState state) {
    const UiLanguage language = currentUiLanguage();
    const WindowItemTexts texts = windowItemTexts(language);
    MenuItem menu;
    menu.kind = MenuItem::Kind::Popup;
    menu.children = {
        item(SC_RESTORE, texts.restore, state.minimised || state.maximised),
        item(SC_MINIMIZE, texts.minimise, !state.minimised),
        item(SC_MAXIMIZE, texts.maximise, !state.maximised),
        separator(),
        item(SC_CLOSE, texts.close, true),
        separator(),
        item(kAboutSystemCommand, aboutText(language), true),
    };
    menu.children[4].isDefault = true;
    return menu;
}

SystemCommandAction systemCommandAction(std::uint32_t command, WindowShowState state) {
    using Kind = SystemCommandAction::Kind;
    switch (command & 0xFFF0) {
    case kAboutSystemCommand: return {Kind::AboutBox, 0};
    case SC_MINIMIZE: return {Kind::Command, kMinimise};
    case SC_MAXIMIZE:
        if (state.maximised) return {Kind::Nothing, 0};
        return {Kind::Command, kFullScreenToggle};
    case SC_RESTORE:
        // A minimised window is restored by the default handling; a maximised one leaves full
        // screen through the toggle.
        if (state.maximised && !state.minimised) return {Kind::Command, kFullScreenToggle};
        return {Kind::DefaultHandling, 0};
    default: return {Kind::DefaultHandling, 0};
    }
}

std::optional<std::uint32_t> systemCommandForStateChange(WindowShowState before, WindowShowState after) {
    if (before == after) return std::nullopt;
    if (after.minimised) return before.minimised ? std::nullopt : std::optional<std::uint32_t>(SC_MINIMIZE);
    if (before.minimised) return std::nullopt;
    if (after.maximised && !before.maximised) return SC_MAXIMIZE;
    if (before.maximised && !after.maximised) return SC_RESTORE;
    return std::nullopt;
}

}  // namespace kelto::viewer
