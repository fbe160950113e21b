#pragma once
// What the reservation engine needs of the tray agent window that owns it: its timers, posting
// the power-off message to itself, and its exit. Every call is made on the user-interface thread.
#include <cstdint>
#include <functional>

namespace kelto {

class ReservationAgentHost {
public:
    virtual ~ReservationAgentHost() = default;

    // (Re)starts the agent window's repeating timer timerId with periodMs; when it expires the
    // agent calls ReservationEngine::onTimer(timerId). Starting a running timer restarts it.
    // A period of 0 expires as soon as the event loop runs again.
    virtual void setTimer(int timerId, std::uint32_t periodMs) = 0;
    virtual void killTimer(int timerId) = 0;
    // Posts message 0x46E with firstParameter to the agent itself; when it arrives the agent calls
    // ReservationEngine::handlePowerOffMessage(firstParameter). Never handled inside this call.
    virtual void postPowerOffMessage(std::uint32_t firstParameter) = 0;
    // Runs action from the event loop, after the message being handled now has been answered
    // (a question box or a recording must not keep another program waiting for its answer).
    virtual void runLater(std::function<void()> action) = 0;
    // Runs the agent's exit sequence (close the viewer and the list, save "reserve.rsd", remove
    // the tray icon, end). It may destroy the engine; the engine touches nothing of itself after.
    virtual void runExitSequence() = 0;
};

}  // namespace kelto
