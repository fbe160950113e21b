#pragma once
// The limits of a recording (dialog 140, "Kelto Avi Capture limititation"): frame rate, an
// optional time limit in minutes and seconds (at most three hours) and whether sound is
// recorded. OK checks the values; a refused one is put back with "Input data error!" and the
// dialog stays. The sound box is offered only when the card has sound, and shown only for AVI.
#include "framework/Dialog.h"
#include "viewer/capture/CaptureSheetViewer.h"
#include "viewer/capture/MotionCaptureRules.h"

namespace kelto::viewer::capturesheet {

class CAviLimitsDlg : public framework::Dialog {
public:
    static constexpr int kResourceId = 140;
    // Each edit carries its up-down arrows (one spin box under the edit's identifier).
    static constexpr int kFrameRateEdit = 1023;
    static constexpr int kTimeLimitCheck = 1093;
    static constexpr int kMinutesEdit = 1273;
    static constexpr int kSecondsEdit = 1274;
    static constexpr int kAudioCheck = 1094;
    static constexpr int kInputErrorString = 237;

    explicit CAviLimitsDlg(CaptureSheetViewer& viewer, QWidget* parent = nullptr);

    // The values the controls hold now, and putting values into them.
    RecordingLimits limits() const;
    void showLimits(const RecordingLimits& limits);

private:
    void enableTimeLimit();
    void onOk();

    CaptureSheetViewer& viewer_;
};

}  // namespace kelto::viewer::capturesheet
