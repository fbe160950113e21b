#pragma once
// Draws the card's pictures. A picture is a pure function of its scene (what the card passes
// on, the picture controls, the moment), so the same scene always gives the same pixels:
// - TestCard: colour bars with the station's name, a grey ramp, a running clock and two moving
//   elements (a square crossing the bars, a line sweeping the ramp); a station whose programme
//   is a video file shows the file's picture of the moment instead (the test card when the file
//   gives none);
// - CompositeInput / SVideoInput: the two external inputs' own generated sources (a scrolling
//   checkerboard, moving colour stripes), each with its label and clock;
// - Snow: what an empty channel shows.
// A scene's noise (0..1) replaces that share of the pixels with snow, as a slight detune does.
// Pixels are 32-bit 0xFFRRGGBB, rows top first, no padding.
#include "cardsim/VideoDecoder.h"
#include "cardsim/VideoFileProgramme.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace kelto::cardsim {

enum class SceneKind { Snow, TestCard, CompositeInput, SVideoInput };

struct Scene {
    SceneKind kind = SceneKind::Snow;
    std::string title{};  // station name or input label
    double noise = 0.0;
    PictureControls controls{};
    std::chrono::system_clock::time_point time{};
    double framesPerSecond = 30000.0 / 1001.0;
    std::shared_ptr<VideoFileProgramme> programme{};  // a station playing a file
};

class FrameSynthesizer {
public:
    // Smallest and largest picture the card delivers.
    static constexpr int kMinWidth = 80;
    static constexpr int kMinHeight = 60;
    static constexpr int kMaxWidth = 640;
    static constexpr int kMaxHeight = 480;

    // Fills width x height pixels; a size outside the limits above draws nothing.
    static void render(const Scene& scene, int width, int height, std::uint32_t* pixels);

    // The frame number of a moment: frames counted from the epoch at the scene's rate.
    static std::uint64_t frameNumber(const Scene& scene);
};

}  // namespace kelto::cardsim
