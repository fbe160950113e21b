#pragma once
// A picture on its way from the driver to the screen, and the interfaces through which the
// capture service reaches the widgets around it (the live picture and the driver's dialogs).
#include "drivers/CaptureDriver.h"

#include <chrono>
#include <cstdint>
#include <span>
#include <string>

namespace kelto::capture {

class CaptureService;

struct LiveFrame {
    drivers::FrameFormat format;
    std::span<const std::uint8_t> pixels;  // valid during the call only
    std::chrono::steady_clock::time_point leftDriverAt;  // real time, for the picture's delay
};

// Shows the live picture; called on the user-interface thread.
class FrameSink {
public:
    virtual ~FrameSink() = default;
    virtual void presentFrame(const LiveFrame& frame) = 0;
    // The live picture cannot be had, in words for the user (the card is gone, ...); empty once
    // pictures arrive again.
    virtual void presentTrouble(const std::string& text) { (void)text; }
};

// The driver's own dialogs; each returns true when the user confirmed it.
class DriverDialogHost {
public:
    virtual ~DriverDialogHost() = default;
    virtual bool showVideoFormatDialog(CaptureService& service) = 0;
    virtual bool showVideoCompressionDialog(CaptureService& service) = 0;
    virtual bool showVideoDisplayDialog(CaptureService& service) = 0;
};

// Options of the driver's display dialog.
struct DisplayOptions {
    bool scaleToWindow = true;  // off: the picture at its own size, centred
    bool showCaption = false;   // a caption line with picture size and frame rate over the picture
    bool operator==(const DisplayOptions&) const = default;
};

}  // namespace kelto::capture
