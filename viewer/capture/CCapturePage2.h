#pragma once
// Page 2 of the capture sheet (dialog 109), "Save Motion Picture": the next recording's file
// (folder and stem of the viewer's recording type, both changeable), the driver's size and
// compression dialogs, the audio format (139) and the recording limits (140) with a summary of
// the file format they give, and "&Capture", which records through the viewer into the next
// numbered file. The recording blocks in a nested event loop; the status line says it runs and
// when it has finished. "&Capture" stays busy for 2000 ms of timer 1 after a click, so a second
// click meanwhile does nothing.
#include "framework/PropertyPage.h"
#include "viewer/capture/CaptureSheetViewer.h"
#include "viewer/capture/MotionCaptureRules.h"

#include <functional>
#include <string>

namespace kelto::viewer::capturesheet {

class CCapturePage2 : public framework::PropertyPage {
public:
    static constexpr int kResourceId = 109;
    // Controls.
    static constexpr int kLocationText = 1333;
    static constexpr int kStemText = 1338;
    static constexpr int kStemChangeButton = 1118;
    static constexpr int kFolderChangeButton = 1021;
    static constexpr int kFileTypeGroup = 1377;
    static constexpr int kFileTypeRadios[] = {1340, 1341, 1287};
    static constexpr int kSizeButton = 1070;
    static constexpr int kAudioButton = 1071;
    static constexpr int kCompressionButton = 1072;
    static constexpr int kSetupButton = 1073;
    static constexpr int kCaptureButton = 1005;
    static constexpr int kExitButton = 1050;
    static constexpr int kStatusText = 1075;
    static constexpr int kSummaryText = 1345;
    // The busy timer of "&Capture".
    static constexpr int kBusyTimer = 1;
    static constexpr std::uint32_t kBusyPeriodMs = 2000;
    // Strings.
    static constexpr int kStartString = 191;          // "Start Capture.."
    static constexpr int kCapturingString = 192;      // "Capturing... If you want finish the job, ..."
    static constexpr int kFinishedString = 194;       // "Capture finished."
    static constexpr int kMissingFolderString = 173;

    explicit CCapturePage2(CaptureSheetViewer& viewer, QWidget* parent = nullptr);
    ~CCapturePage2() override;

    // How "E&xit" closes the sheet (the sheet's close request).
    void setCloseSheet(std::function<void()> closeSheet) { closeSheet_ = std::move(closeSheet); }
    // Whether the still page's serial capture runs: the page cannot be chosen meanwhile.
    void setStillPageBusy(std::function<bool()> busy) { stillPageBusy_ = std::move(busy); }
    // The viewer's recording type changed: location and stem follow it.
    void adoptRecordingType();

    bool onSetActive() override;

    // Whether "&Capture" is busy (its timer has not run out).
    bool busy() const { return busy_; }
    // What the page shows: next file, stem, status line and the file-format summary.
    std::string locationText() const;
    std::string stemText() const;
    std::string statusText() const;
    std::string summaryText() const { return summary_; }

private:
    void refreshLocation();
    void refreshSummary();
    void setStatus(int stringId);
    void changeStem();
    void changeFolder();
    void onSize();
    void onAudio();
    void onCompression();
    void onSetup();
    void onCapture();
    void onBusyTimer();

    CaptureSheetViewer& viewer_;
    std::function<void()> closeSheet_;
    std::function<bool()> stillPageBusy_;
    bool busy_ = false;
    // What the summary shows; kept when the capture window cannot tell (no sound format, no window).
    FileFormatSummary shown_;
    std::string summary_;
};

}  // namespace kelto::viewer::capturesheet
