#pragma once
// The kinds of file the capture layer writes, as the settings number them.
#include <cstdint>

namespace kelto::capture {

// "imageformat": 0 BMP, 1 JPG.
enum class StillFileType { Bmp = 0, Jpg = 1 };
// "streamformat": 0 AVI, 1 MPEG-1, 2 MPEG-2.
enum class RecordingType { Avi = 0, Mpeg1 = 1, Mpeg2 = 2 };

// A stored number as a type; values outside the list mean the first (BMP, AVI).
StillFileType stillFileTypeFrom(int value);
RecordingType recordingTypeFrom(int value);

// The frame period in microseconds for a whole frame rate: 1 000 000 / rate (integer division);
// rates below 1 count as 1.
std::uint32_t framePeriodUsFromRate(int framesPerSecond);
// The frame rate for a period: (1 000 000 / period) + 0.5, truncated; a period of 0 gives 0.
int frameRateFromPeriodUs(std::uint32_t periodUs);

}  // namespace kelto::capture
