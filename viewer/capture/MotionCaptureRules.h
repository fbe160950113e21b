#pragma once
// What the motion page and its two dialogs decide, without widgets: the folder and stem of the
// current recording type, the file-format summary, the audio format dialog's radio indexes, and
// the recording limits dialog's checks and corrections.
#include "capture/MotionCaptureSettings.h"
#include "settings/ViewerSettings.h"

#include <string>

namespace kelto::viewer::capturesheet {

// --- The recording type's folder and stem ("streamformat": 0 AVI, 1 MPEG-1, 2 MPEG-2; other
// values count as AVI, as the capture naming reads them).
std::string& recordingFolder(ViewerSettings& settings);
std::string& recordingStem(ViewerSettings& settings);
// The next numbered file of the current recording type.
std::string nextRecordingFile(ViewerSettings& settings);

// --- The file-format summary.
struct FileFormatSummary {
    int width = 320;
    int height = 240;
    capture::AudioFormatValues audio;
    capture::RecordingSetupValues setup;
};
// The summary text (header lines end in "\r\n", value lines in "\n\r"); the time limit reads 0
// while the limit is off; the sample rate is shown in whole kilohertz.
std::string fileFormatSummaryText(const FileFormatSummary& summary);

// --- The audio format dialog: one index per radio group.
struct AudioFormatIndexes {
    int sampleSize = 1;  // 0 "8 Bit", 1 "16 Bit"
    int channels = 1;    // 0 "Mono", 1 "Stereo"
    int rate = 2;        // 0 "11 Khz", 1 "22 Khz", 2 "44 Khz"
    bool operator==(const AudioFormatIndexes&) const = default;
};
// bits / 16, channels - 1, rate / 22050; a value beyond a group's choices marks the nearest one,
// so some radio of each group is always checked.
AudioFormatIndexes audioFormatIndexes(const capture::AudioFormatValues& format);
// channels = index + 1, bits = (index + 1) x 8, rate = 44100 for index 2 else (index + 1) x 11025.
capture::AudioFormatValues audioFormatFromIndexes(const AudioFormatIndexes& indexes);

// --- The recording limits dialog.
inline constexpr int kLowestFrameRate = 1;
inline constexpr int kHighestFrameRate = 99;
inline constexpr int kMostMinutes = 180;
inline constexpr int kMostSeconds = 59;
inline constexpr int kLongestLimitSeconds = 10800;  // three hours
// What the dialog puts back after a refusal.
inline constexpr int kFrameRateAfterError = 30;
inline constexpr int kMinutesAfterError = 1;
inline constexpr int kSecondsAfterError = 0;

struct RecordingLimits {
    int frameRate = 30;
    bool limitOn = false;
    int minutes = 0;
    int seconds = 0;
    bool audio = true;
    bool operator==(const RecordingLimits&) const = default;
};
RecordingLimits recordingLimitsFrom(const capture::RecordingSetupValues& setup);
// The set-up stored on OK: the seconds are kept even while the limit is off.
capture::RecordingSetupValues recordingSetupFrom(const RecordingLimits& limits);

enum class LimitsCheck { Accepted, BadFrameRate, BadTimeLimit };
// The frame rate first (1..99), then, with the limit on, minutes x 60 + seconds (1..10800).
LimitsCheck checkRecordingLimits(const RecordingLimits& limits);
// The limits with the refused value put back as the dialog does (frame rate 30, or 1 minute 0 seconds).
RecordingLimits correctedLimits(const RecordingLimits& limits, LimitsCheck refusal);

}  // namespace kelto::viewer::capturesheet
