#pragma once
// The viewer on the simulated card with its capture sheet open on the motion page: recordings go
// to a temporary folder (stems "Kelto", "MPGOne", "MPGTwo"), the page's buttons are pressed by
// their identifiers, and the modal dialogs they open are answered from the event loop.
#include "tests/viewer/window/ViewerWindowRig.h"

#include "tests/support/TestRoot.h"
#include "viewer/capture/CCapturePage2.h"
#include "viewer/capture/CCaptureSheet.h"

#include <QTimer>

#include <functional>

namespace kelto::test {

class MotionPageRig : public ViewerWindowRig {
protected:
    using CCapturePage2 = viewer::capturesheet::CCapturePage2;

    void SetUp() override {
        ViewerWindowRig::SetUp();
        saveState(7, QRect(40, 40, 484, 424));
        for (const char* setting : {"avidirectory", "mpg1directory", "mpg2directory"})
            store.writeString("user", setting, folder.path().string());
        store.writeString("user", "avifilename", "Kelto");
        store.writeString("user", "mpg1filename", "MPGOne");
        store.writeString("user", "mpg2filename", "MPGTwo");
    }
    // Opens the viewer, waits for its picture and opens the sheet on the motion page.
    bool openPage() {
        if (!open()) return false;
        viewer->show();
        if (!waitForPicture()) return false;
        viewer->wiring().sendCommand(1005);
        auto* sheet = viewer->captureSheet().sheet();
        return sheet && sheet->setActivePage(1) && page();
    }
    CCapturePage2* page() const {
        auto* sheet = viewer->captureSheet().sheet();
        return sheet ? sheet->motionPage() : nullptr;
    }
    void press(int controlId) { page()->wiring().sendCommand(controlId); }
    // The next visible dialog of type Dialog that opens (modal, from a button) is handed to
    // `answer`, which must close it.
    template <typename Dialog>
    static void answerDialog(std::function<void(Dialog&)> answer) {
        QTimer::singleShot(0, [answer] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* dialog = dynamic_cast<Dialog*>(widget); dialog && dialog->isVisible()) {
                    answer(*dialog);
                    return;
                }
            ADD_FAILURE() << "no dialog to answer";
        });
    }
    // A recording of `seconds` at 30 pictures a second, with sound.
    void limitRecordingTo(int seconds) { viewer->setRecordingSetup({30, 1, seconds, 1}); }
    // Lets the busy timer of "&Capture" run out.
    void letBusyTimerRunOut() { scheduler.advanceMs(CCapturePage2::kBusyPeriodMs); }

    TemporaryFolder folder{"motion"};
};

}  // namespace kelto::test
