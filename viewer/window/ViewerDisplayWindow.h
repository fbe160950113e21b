#pragma once
// The viewer window as the display modes see it: what they ask of the window, done with the
// window's widgets, its capture window and its session. The state changes made here are the
// viewer's own, so they are not taken for the desktop's minimise or maximise.
#include "viewer/window/DisplayModes.h"

#include <memory>

namespace kelto {
class CTvViewerDlg;
}

namespace kelto::viewer {

class DesktopPicture;

class ViewerDisplayWindow final : public DisplayModeWindow {
public:
    explicit ViewerDisplayWindow(CTvViewerDlg& viewer);
    ~ViewerDisplayWindow() override;

    // While the picture is on the desktop it is not laid out in the viewer.
    bool pictureOnDesktop() const;

    bool maximised() const override;
    bool minimised() const override;
    QRect frame() const override;
    QSize desktopSize() const override;
    CompanionWindows companions() const override;
    void setTopmost(bool topmost) override;
    void placeWindow(const QRect& frame, bool topmost) override;
    void resizeWindow(const QSize& size) override;
    void hideWindow() override;
    void showMaximised() override;
    void showNormal() override;
    void minimise() override;
    void setOverlay(bool on) override;
    void reconnectPicture(int qualityMode) override;
    void layoutPicture() override;
    void setChildControlsEnabled(bool enabled) override;
    void runCommand(int command) override;
    void startTimer(int timerId, std::uint32_t periodMs) override;
    void showNotice(int stringId) override;
    void showPictureOnDesktop(bool on) override;
    void showCursor() override;

private:
    template <typename Change>
    void ownStateChange(Change change);

    CTvViewerDlg& viewer_;
    std::unique_ptr<DesktopPicture> desktop_;
};

}  // namespace kelto::viewer
