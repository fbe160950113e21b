#pragma once
// A window's table of handlers: window messages by number and commands by identifier, so a menu
// item, an accelerator, a panel button and a message from another program reach the same code.
#include "platform/WindowMessageIds.h"
#include "platform/WindowSystem.h"

#include <functional>
#include <map>
#include <optional>

namespace kelto::framework {

class MessageMap {
public:
    using MessageHandler = std::function<std::int64_t(const platform::WindowMessage&)>;
    using CommandHandler = std::function<void()>;

    void onMessage(std::uint32_t message, MessageHandler handler) { messages_[message] = std::move(handler); }
    void onCommand(int commandId, CommandHandler handler) { commands_[commandId] = std::move(handler); }

    bool hasCommand(int commandId) const { return commands_.count(commandId) > 0; }

    // Runs the command's handler; false when the table has none.
    bool dispatchCommand(int commandId) const {
        auto it = commands_.find(commandId);
        if (it == commands_.end()) return false;
        it->second();
        return true;
    }

    // Runs the handler of a message; WM_COMMAND goes to the command table by the low word of its
    // first parameter (answer 0). nullopt when nothing in the table takes the message.
    std::optional<std::int64_t> dispatch(const platform::WindowMessage& message) const {
        if (auto it = messages_.find(message.message); it != messages_.end()) return it->second(message);
        if (message.message == platform::WM_COMMAND && dispatchCommand(int(message.wParam & 0xFFFF))) return 0;
        return std::nullopt;
    }

private:
    std::map<std::uint32_t, MessageHandler> messages_;
    std::map<int, CommandHandler> commands_;
};

}  // namespace kelto::framework
