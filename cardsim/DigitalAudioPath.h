#pragma once
// The Bt878's digital (RISC) audio path, driven by the audio command library's numbered
// commands. Each command answers 0 for success:
//   32 route (1 tuner, 2 second input, 3 external input; 0 silent)   66 answers 0 while running
//   33, 80, 81 settings the path keeps                                68 mute, 69 unmute
//   112 start the path, 113 stop it
// Any other command, or a route outside 0..3, answers 1. While the path runs, the audio source
// comes from bits 24 and 25 of the register word at 0x10C.
#include <cstdint>
#include <map>
#include <set>

namespace kelto::cardsim {

class DigitalAudioPath {
public:
    static constexpr std::uint32_t kSetRoute = 32;
    static constexpr std::uint32_t kSetting33 = 33;
    static constexpr std::uint32_t kIsRunning = 66;
    static constexpr std::uint32_t kMute = 68;
    static constexpr std::uint32_t kUnmute = 69;
    static constexpr std::uint32_t kSetting80 = 80;
    static constexpr std::uint32_t kSetting81 = 81;
    static constexpr std::uint32_t kStart = 112;
    static constexpr std::uint32_t kStop = 113;

    std::uint32_t processCommand(std::uint32_t command, std::uint32_t value);

    bool running() const { return running_; }
    bool muted() const { return muted_; }
    std::uint32_t route() const { return route_; }
    // The value last sent with a settings command (33, 80, 81), if any.
    std::map<std::uint32_t, std::uint32_t> settings;
    // Commands made to fail (answer 1) by tests.
    std::set<std::uint32_t> failingCommands;

private:
    bool running_ = false;
    bool muted_ = false;
    std::uint32_t route_ = 1;
};

}  // namespace kelto::cardsim
