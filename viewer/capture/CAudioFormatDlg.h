#pragma once
// The audio format of recordings (dialog 139, "Kelto Audio Format"): sampling size, channels and
// sampling rate as three radio groups, filled from the capture window's format (with the stored
// choice) and, on OK, sent to the capture window and stored.
#include "framework/Dialog.h"
#include "viewer/capture/CaptureSheetViewer.h"
#include "viewer/capture/MotionCaptureRules.h"

namespace kelto::viewer::capturesheet {

class CAudioFormatDlg : public framework::Dialog {
public:
    static constexpr int kResourceId = 139;
    // Radios of each group, in index order.
    static constexpr int kSampleSizeRadios[] = {1086, 1087};
    static constexpr int kChannelRadios[] = {1090, 1085};
    static constexpr int kRateRadios[] = {1084, 1088, 1089};

    explicit CAudioFormatDlg(CaptureSheetViewer& viewer, QWidget* parent = nullptr);

    // The indexes the radios show now.
    AudioFormatIndexes indexes() const;

private:
    void onOk();

    CaptureSheetViewer& viewer_;
};

}  // namespace kelto::viewer::capturesheet
