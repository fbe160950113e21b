#pragma once
// The viewer's motion-capture settings as they travel between the settings store and the
// capture window: the audio format ("nChannel", "wSample", "dwFrequency") and the recording
// set-up ("framerate", "timelimitcheck", "totalsecond", "captureaudio"), all in section "user".
// Reads take the capture window's current values as the defaults of the stored ones.
#include "settings/SettingsStore.h"
#include "capture/CCaptureWindow.h"

#include <optional>

namespace kelto::capture {

struct AudioFormatValues {
    int channels = 2;
    int bitsPerSample = 16;
    int samplesPerSec = 44100;
    bool operator==(const AudioFormatValues&) const = default;
};

struct RecordingSetupValues {
    int frameRate = 30;
    int limitFlag = 0;
    int limitSeconds = 0;
    int audioFlag = 1;
    bool operator==(const RecordingSetupValues&) const = default;
};

// Nothing when the capture window reports no audio format (the caller keeps its values).
std::optional<AudioFormatValues> GetAudioFormat(CCaptureWindow& window, const SettingsStore& store);
// Builds a PCM record and sends it with the size the capture window reports, then stores the
// three values; does nothing when the window reports no audio format.
void SetAudioFormat(CCaptureWindow& window, SettingsStore& store, const AudioFormatValues& values);

// Nothing when the capture window cannot give its set-up.
std::optional<RecordingSetupValues> GetRecordingSetup(CCaptureWindow& window, const SettingsStore& store);
// Changes frame period, limit, time limit, audio and stream master in the window's set-up (every
// other field stays as the driver has it), with the trace lines "test 1" to "test 4", then
// stores the four values.
void SetRecordingSetup(CCaptureWindow& window, SettingsStore& store, const RecordingSetupValues& values);

}  // namespace kelto::capture
