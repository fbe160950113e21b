#pragma once
// Paints the recorder controller's window: the face (bitmap 295), the channel in lit digits
// (166 to 175, the dash 176 when no channel is tuned), the mode symbol (177 TV, 178 CATV,
// 179 VIDEO), the recorder lamp and the key held down.
#include "links/PowerVcrKeys.h"
#include "settings/VideoMode.h"

#include <optional>

class QPainter;

namespace kelto {

struct VcrView {
    bool started = false;               // the tuner started: the mode is known
    VideoMode mode = VideoMode::TV;
    std::optional<int> channel;         // the tuned channel, none while an input is shown
    bool recorderRunning = false;
    const VcrKeyPress* keys = nullptr;  // which key shows pressed
};

namespace vcr_art {
constexpr int kFaceBitmap = 295;
constexpr int kFirstDigitBitmap = 166;  // 166 + d is the digit d
constexpr int kDashBitmap = 176;
constexpr int kTvSymbolBitmap = 177;
constexpr int kCatvSymbolBitmap = 178;
constexpr int kVideoSymbolBitmap = 179;
// Where the art puts the three digit cells (15 by 24) and the mode symbol (60 by 12).
constexpr int kDigitCellX[3] = {50, 67, 84};
constexpr int kDigitCellY = 8;
constexpr int kModeSymbolX = 11;
constexpr int kModeSymbolY = 43;
constexpr int kLampX = 141;
constexpr int kLampY = 77;
}  // namespace vcr_art

class PowerVcrPainter {
public:
    static void paint(QPainter& painter, const VcrView& view);
};

}  // namespace kelto
