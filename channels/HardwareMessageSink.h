#pragma once
// Where the tuner controller's messages go: the viewer shows them as message boxes without an
// owner window and with the stop icon; tests collect them.
#include <string>

namespace kelto {

constexpr int kCaptionStringId = 157;         // "Kelto TV"
constexpr int kDriversMissingStringId = 186;  // a library cannot be loaded
constexpr int kDriversMismatchStringId = 187; // a required entry point is missing

class HardwareMessageSink {
public:
    virtual ~HardwareMessageSink() = default;
    // Called on the thread that loads the libraries. text and caption come from the string table.
    virtual void showHardwareMessage(int stringId, const std::string& text, const std::string& caption) = 0;
};

}  // namespace kelto
