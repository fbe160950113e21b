#pragma once
// Page 1 of the configuration sheet (dialog 104), the channel page: the registered channels of the band, fine tuning and the auto scan.
#include "framework/PropertyPage.h"
#include "viewer/config/ChannelPageLogic.h"
#include "viewer/config/ScanThread.h"
#include "viewer/config/SheetViewer.h"

#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QProgressBar;
class QSlider;

namespace kelto::framework {
class CReportListCtrl;
}

namespace kelto::viewer::config {

class CEnvironmentPage1 : public framework::PropertyPage, private ScanPage {
public:
    static constexpr int kResourceId = 104;
    // Controls of dialog 104.
    static constexpr int kChannelLabel = 1006;
    static constexpr int kChannelList = 1008;
    static constexpr int kFineSlider = 1011;
    static constexpr int kAutoScan = 1012;
    static constexpr int kStopScan = 1013;
    static constexpr int kScanProgress = 1017;
    static constexpr int kScanStatus = 1018;
    static constexpr int kFrequencyField = 1112;
    static constexpr int kDefaultFine = 1114;
    static constexpr int kBandLabel = 1115;
    static constexpr int kCancelFine = 1123;
    static constexpr int kStopAndKeep = 1255;
    static constexpr int kScanExtent = 1277;
    // The sheet's tab images; the rows' images are two of them.
    static constexpr int kImageStrip = 133;
    static constexpr int kImageWidth = 15;

    explicit CEnvironmentPage1(SheetViewer& viewer, QWidget* parent = nullptr);
    // Stops a running scan and waits for it (the viewer gets its sound and tuning back).
    ~CEnvironmentPage1() override;

    // 1 while the auto scan runs (the sheet refuses to close meanwhile).
    int scanning() const { return scanning_; }
    // How the scan disables and enables the sheet's "Close" button (144).
    void setCloseButtonSwitch(std::function<void(bool enabled)> closeButton) { closeButton_ = std::move(closeButton); }

    bool onApply() override;

    // What tests look at.
    const ChannelPageLogic& logic() const { return logic_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMessageMap();
    void fillList();
    void selectCurrentRow();
    void onRowStateChanged(int row, int newState);
    void showFrequency();
    void fineTuned(int channel);
    bool deleteKey();
    void startScan();
    // The controls the scan disables (and "Cancel"/"Current Status Save" the other way round).
    void enableScanControls(bool idle);
    void resetProgress();
    void endScan();

    // --- ScanPage
    void scanStarted() override;
    void tuneForScan(int channel) override;
    void channelFound(int row, int channel) override;
    void channelTested(int channel) override;
    void scanCompleted() override;
    int askRegistration() override;
    void scanRegistration(int answer, const ScanFindings& findings) override;
    void scanCancelled() override;

    SheetViewer& viewer_;
    int scanning_ = 0;
    std::function<void(bool)> closeButton_;
    ChannelPageLogic logic_;
    ScanPlan plan_;
    std::unique_ptr<ScanThread> scan_;
    framework::CReportListCtrl* list_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QSlider* slider_ = nullptr;
    bool settingSlider_ = false;
    bool listShowsScan_ = false;
};

}  // namespace kelto::viewer::config
