#pragma once
// Page 1 of the capture sheet (dialog 108), "Save Still Image": where the next picture goes
// (folder, stem, file type), the driver's picture size, and capturing one picture (Step) or a
// number of pictures in a row on a worker thread (Serial), which "&Stop" ends early.
#include "framework/PropertyPage.h"
#include "viewer/capture/CaptureSheetViewer.h"

#include <functional>
#include <memory>

namespace kelto::viewer::capturesheet {

class SerialCaptureRun;

class CCapturePage1 : public framework::PropertyPage {
public:
    static constexpr int kResourceId = 108;
    // Controls of the template.
    static constexpr int kLocationText = 1333;
    static constexpr int kStemText = 1338;
    static constexpr int kChangeStem = 1118;
    static constexpr int kChangeFolder = 1021;
    static constexpr int kBmpRadio = 1287;
    static constexpr int kJpgRadio = 1037;
    static constexpr int kSizeText = 1339;
    static constexpr int kChangeSize = 1076;
    static constexpr int kStepRadio = 1334;
    static constexpr int kSerialRadio = 1335;
    static constexpr int kFrameCount = 1023;
    static constexpr int kShowViewer = 1285;
    static constexpr int kCapture = 1337;
    static constexpr int kStop = 1336;
    static constexpr int kExit = 1050;
    // Frame count of a serial capture.
    static constexpr int kMinFrames = 1;
    static constexpr int kMaxFrames = 100;
    // "Cannot find the folder or directory..." (with the program's caption and the information icon).
    static constexpr int kMissingFolderString = 173;

    explicit CCapturePage1(CaptureSheetViewer& viewer, QWidget* parent = nullptr);
    // Stops and joins a running serial capture.
    ~CCapturePage1() override;

    // How "&Exit" closes the sheet (the sheet's close request).
    void setCloseSheet(std::function<void()> closeSheet) { closeSheet_ = std::move(closeSheet); }
    // Whether the serial capture runs.
    bool serialRunning() const { return serialRunning_; }
    // The viewer's still file type changed: location, stem and radios follow it.
    void adoptFileType();
    // The next file's name moved on (a picture was saved).
    void refreshLocation();

    // Takes one picture into the next file: nothing without a capture window, a box and nothing
    // written when the folder is missing. True when a picture was written.
    bool captureOneFrame();
    // The worker of the serial capture (for tests: its thread and the pictures it asked for).
    const SerialCaptureRun& serialRun() const { return *serialRun_; }

private:
    void mapControls();
    void refreshStem();
    void refreshSize();
    void setSerialMode(bool serial);
    void changeStem();
    void changeFolder();
    void chooseFileType(int type);
    void changeSize();
    void capture();
    void serialFinished();
    void setText(int controlId, const std::string& text);
    void enable(int controlId, bool enabled);

    CaptureSheetViewer& viewer_;
    std::function<void()> closeSheet_;
    bool serialRunning_ = false;
    bool serialMode_ = false;
    std::unique_ptr<SerialCaptureRun> serialRun_;
};

}  // namespace kelto::viewer::capturesheet
