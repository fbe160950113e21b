#pragma once
// The picture source of the viewer: tuner band or external input.

namespace kelto {

// The picture source: the tuner on the broadcast or the cable band, or one of the two inputs.
// Stored as its integer value.
enum class VideoMode : int { TV = 0, CATV = 1, VIDEO = 2, SVHS = 3 };

// The on-screen label of a mode ("TV", "CATV", "VIDEO", "SVHS"); "TV" for a value out of range.
const char* videoModeLabel(VideoMode mode);
// An integer read from the settings as a mode; values outside 0..3 give TV.
VideoMode videoModeFromInt(int value);

}  // namespace kelto
