// The capture sheet as the viewer opens and closes it: its two pages, where it goes on the
// desktop, what the viewer window lends it and gets back, and the file name dialog both pages use.
#include "tests/viewer/window/ViewerWindowRig.h"

#include "viewer/capture/CCaptureFileNameDlg.h"
#include "viewer/capture/CCapturePage1.h"
#include "viewer/capture/CCapturePage2.h"
#include "viewer/capture/CCaptureSheet.h"

#include <QLineEdit>
#include <QTabBar>

namespace kelto {
namespace {

using viewer::capturesheet::CCaptureFileNameDlg;
using viewer::capturesheet::CCaptureSheet;

class CaptureSheetTest : public test::ViewerWindowRig {
protected:
    CCaptureSheet* sheet() const { return viewer->captureSheet().sheet(); }
    static void settle() {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
    void openViewer(bool alwaysOnTop = false) {
        saveState(7, QRect(40, 40, 484, 424));
        store.writeInt("user", "s_abovescreen", alwaysOnTop ? 1 : 0);
        ASSERT_TRUE(open());
        viewer->show();
    }
    void closeSheet() {
        viewer->wiring().sendCommand(1005);  // brings the open one forward
        ASSERT_TRUE(sheet());
        platform::WindowMessage close{sheet()->windowHandle(), platform::WM_CLOSE, 0, 0, 0, {}, false};
        sheet()->wiring().dispatch(close);
        settle();
    }
};

TEST_F(CaptureSheetTest, TheCaptureButtonOpensOneSheetWithTheStillAndMotionPages) {
    openViewer();
    const int height = viewer->height();
    viewer->wiring().sendCommand(1005);
    ASSERT_TRUE(sheet());
    EXPECT_TRUE(sheet()->isVisible());
    EXPECT_EQ(sheet()->windowTitle().toStdString(), "Kelto TV Capture");
    ASSERT_EQ(sheet()->pageCount(), 2);
    EXPECT_EQ(sheet()->page(0), sheet()->stillPage());
    EXPECT_EQ(sheet()->page(1), sheet()->motionPage());
    EXPECT_EQ(sheet()->tabBar()->tabText(0), "Save Still Image");
    EXPECT_EQ(sheet()->tabBar()->tabText(1), "Save Motion Picture");
    for (int tab = 0; tab < 2; ++tab) EXPECT_FALSE(sheet()->tabBar()->tabIcon(tab).isNull()) << tab;
    EXPECT_FALSE(sheet()->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    // The viewer's panel hides meanwhile and its room goes with it.
    EXPECT_TRUE(viewer->session()->companions().captureSheetOpen);
    EXPECT_FALSE(viewer->panelShown());
    EXPECT_EQ(viewer->height(), height - 60);

    CCaptureSheet* first = sheet();
    viewer->wiring().sendCommand(1005);
    EXPECT_EQ(sheet(), first);
    int sheets = 0;
    for (QWidget* child : viewer->findChildren<QWidget*>()) sheets += dynamic_cast<CCaptureSheet*>(child) ? 1 : 0;
    EXPECT_EQ(sheets, 1);
}

TEST_F(CaptureSheetTest, TheSheetSitsNearTheDesktopsBottomRightCorner) {
    EXPECT_EQ(CCaptureSheet::placement(QRect(0, 0, 1280, 800), QSize(400, 350)), QPoint(1280 - 400 - 30, 800 - 350 - 80));
    EXPECT_EQ(CCaptureSheet::placement(QRect(100, 20, 1024, 768), QSize(400, 350)),
              QPoint(100 + 1024 - 400 - 30, 20 + 768 - 350 - 80));
}

TEST_F(CaptureSheetTest, ClosingGivesTheViewerItsPanelAndTopmostStateBack) {
    openViewer(true);
    ASSERT_TRUE(viewer->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    const int height = viewer->height();
    viewer->wiring().sendCommand(1005);
    ASSERT_TRUE(sheet());
    EXPECT_FALSE(viewer->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    closeSheet();
    EXPECT_FALSE(sheet());
    EXPECT_FALSE(viewer->session()->companions().captureSheetOpen);
    EXPECT_TRUE(viewer->panelShown());
    EXPECT_EQ(viewer->height(), height);
    EXPECT_TRUE(viewer->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    viewer->wiring().sendCommand(1005);
    EXPECT_TRUE(sheet());
}

TEST_F(CaptureSheetTest, ASheetClosedInFullScreenLeavesFullScreen) {
    openViewer();
    const QSize normal = viewer->size();
    viewer->wiring().sendCommand(32779);
    ASSERT_TRUE(viewer->showState().maximised);
    viewer->wiring().sendCommand(1005);
    ASSERT_TRUE(sheet());
    closeSheet();
    EXPECT_FALSE(viewer->showState().maximised);
    EXPECT_EQ(viewer->size(), normal);
}

TEST_F(CaptureSheetTest, ClosingTheViewerTakesAnOpenSheetWithIt) {
    openViewer();
    viewer->wiring().sendCommand(1005);
    QPointer<CCaptureSheet> open = sheet();
    ASSERT_TRUE(open);
    close();
    settle();
    EXPECT_FALSE(open);
}

TEST_F(CaptureSheetTest, TheFileNameDialogRefusesAnEmptyNameOrAPathAndKeepsWhatWasTyped) {
    openViewer();
    std::vector<std::string> boxes;
    framework::setMessageBoxAnswerer([&](const framework::MessageBoxRequest& box) {
        boxes.push_back(box.text + "|" + box.caption + (box.icon == framework::MessageIcon::Stop ? "|stop" : ""));
        return framework::IDOK;
    });
    CCaptureFileNameDlg dialog("Kelto", viewer);
    auto* edit = dialog.control<QLineEdit>(CCaptureFileNameDlg::kNameEdit);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->text(), "Kelto");

    for (const char* refused : {"", "../Pictures/x"}) {
        edit->setText(refused);
        dialog.open();
        dialog.wiring().sendCommand(framework::IDOK);
        EXPECT_TRUE(dialog.isVisible()) << refused;
        EXPECT_EQ(dialog.result(), 0) << refused;
    }
    EXPECT_EQ(boxes, std::vector<std::string>(2, "Enter a file name.|Kelto TV|stop"));

    edit->setText("Holiday");
    dialog.wiring().sendCommand(framework::IDOK);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.stem(), "Holiday");
}

}  // namespace
}  // namespace kelto
