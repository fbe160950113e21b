// The still-picture and recording types chosen from the menu and by Shift+C: a change is stored
// and announced on the display for two seconds; choosing the type already set says nothing.
#include "tests/viewer/window/ViewerWindowRig.h"

namespace kelto::test {
namespace {

class CaptureTypeCommandsTest : public ViewerWindowRig {
protected:
    void SetUp() override {
        ViewerWindowRig::SetUp();
        ASSERT_TRUE(open());
        quiet();
    }
    // Lets the opening's display go.
    void quiet() {
        scheduler.advanceMs(3000);
        ASSERT_EQ(viewer->onScreenText(), "");
    }
};

TEST_F(CaptureTypeCommandsTest, TheStillTypeIsAnnouncedWhenItChanges) {
    ASSERT_EQ(viewer->settings().imageFormat, 0);
    viewer->wiring().sendCommand(32868);  // "Save To BMP": already
    EXPECT_EQ(viewer->onScreenText(), "");
    viewer->wiring().sendCommand(32869);  // "Save To JPG"
    EXPECT_EQ(viewer->settings().imageFormat, 1);
    EXPECT_EQ(viewer->onScreenText(), "CAPTURE TYPE : JPG");
    scheduler.advanceMs(2000);
    EXPECT_EQ(viewer->onScreenText(), "");
    QTest::keyClick(viewer, Qt::Key_C, Qt::ShiftModifier);  // toggles
    EXPECT_EQ(viewer->settings().imageFormat, 0);
    EXPECT_EQ(viewer->onScreenText(), "CAPTURE TYPE : BMP");
}

TEST_F(CaptureTypeCommandsTest, TheRecordingTypeIsAnnouncedWhenItChanges) {
    ASSERT_EQ(viewer->settings().streamFormat, 0);
    viewer->wiring().sendCommand(32872);  // "Save To AVI": already
    EXPECT_EQ(viewer->onScreenText(), "");
    viewer->wiring().sendCommand(32873);
    EXPECT_EQ(viewer->settings().streamFormat, 1);
    EXPECT_EQ(viewer->onScreenText(), "RECORD TYPE : MPEG1");
    viewer->wiring().sendCommand(32874);
    EXPECT_EQ(viewer->onScreenText(), "RECORD TYPE : MPEG2");
    quiet();
    viewer->wiring().sendCommand(32874);
    EXPECT_EQ(viewer->onScreenText(), "");
    viewer->wiring().sendCommand(32872);
    EXPECT_EQ(viewer->settings().streamFormat, 0);
    EXPECT_EQ(viewer->onScreenText(), "RECORD TYPE : AVI");
}

}  // namespace
}  // namespace kelto::test
