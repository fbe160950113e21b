// The audio format (139) and recording limits (140) dialogs as the motion page opens them: what
// they show, what OK sends to the capture window and keeps in the store, the refusals with
// "Input data error!" and their corrections, and the summary that follows.
#include "tests/viewer/capture/MotionPageRig.h"

#include "capture/CCaptureWindow.h"
#include "capture/VideoCompressionDialog.h"
#include "capture/VideoFormatDialog.h"
#include "viewer/capture/CAudioFormatDlg.h"
#include "viewer/capture/CAviLimitsDlg.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QSpinBox>

#include <cstring>

namespace kelto::test {
namespace {

using viewer::capturesheet::CAudioFormatDlg;
using viewer::capturesheet::CAviLimitsDlg;
using viewer::capturesheet::RecordingLimits;

class MotionDialogsTest : public MotionPageRig {
protected:
    capture::CCaptureWindow& captureWindow() { return *viewer->captureSheetViewer().captureWindowOrNull(); }
    capture::WaveFormat driverWaveFormat() {
        capture::WaveFormat format;
        std::byte buffer[sizeof format];
        EXPECT_EQ(captureWindow().GetAudioFormat(buffer), int(sizeof format));
        std::memcpy(&format, buffer, sizeof format);
        return format;
    }
    capture::CaptureSequenceSetup driverSetup() {
        capture::CaptureSequenceSetup setup;
        captureWindow().GetSequenceSetup(setup);
        return setup;
    }
    static void setSpin(CAviLimitsDlg& dialog, int id, int value) { dialog.control<QSpinBox>(id)->setValue(value); }
    static void click(framework::Dialog& dialog, int id) { dialog.control<QAbstractButton>(id)->click(); }
    bool summaryHas(const std::string& piece) const { return page()->summaryText().find(piece) != std::string::npos; }
};

// 16-bit stereo 44 kHz: the capture window gets a PCM format with block alignment 4 and
// 176 400 bytes a second; 8-bit mono 22 kHz shows in the summary as "22khz".
TEST_F(MotionDialogsTest, AudioFormatGoesToTheCaptureWindowAndTheSummary) {
    store.writeInt("user", "nChannel", 1);
    store.writeInt("user", "wSample", 8);
    store.writeInt("user", "dwFrequency", 11025);
    ASSERT_TRUE(openPage());
    bool shownStored = false;
    answerDialog<CAudioFormatDlg>([&shownStored](CAudioFormatDlg& dialog) {
        shownStored = dialog.indexes() == viewer::capturesheet::AudioFormatIndexes{0, 0, 0};
        click(dialog, 1087);
        click(dialog, 1085);
        click(dialog, 1089);
        dialog.wiring().sendCommand(framework::IDOK);
    });
    press(CCapturePage2::kAudioButton);
    EXPECT_TRUE(shownStored);
    const capture::WaveFormat wave = driverWaveFormat();
    EXPECT_EQ(wave.formatTag, capture::kWaveFormatPcm);
    EXPECT_EQ(wave.channels, 2);
    EXPECT_EQ(wave.bitsPerSample, 16);
    EXPECT_EQ(wave.samplesPerSec, 44100u);
    EXPECT_EQ(wave.blockAlign, 4);
    EXPECT_EQ(wave.avgBytesPerSec, 176400u);
    EXPECT_EQ(store.readInt("user", "dwFrequency", 0), 44100);
    EXPECT_TRUE(summaryHas("Channels : Stereo\n\rBits Per Sample : 16bit\n\rSample Rate : 44khz\n\r")) << page()->summaryText();

    answerDialog<CAudioFormatDlg>([](CAudioFormatDlg& dialog) {
        click(dialog, 1086);
        click(dialog, 1090);
        click(dialog, 1088);
        dialog.wiring().sendCommand(framework::IDOK);
    });
    press(CCapturePage2::kAudioButton);
    EXPECT_EQ(driverWaveFormat().samplesPerSec, 22050u);
    EXPECT_TRUE(summaryHas("Channels : Mono\n\rBits Per Sample : 8bit\n\rSample Rate : 22khz\n\r")) << page()->summaryText();

    // Cancel changes nothing.
    answerDialog<CAudioFormatDlg>([](CAudioFormatDlg& dialog) {
        click(dialog, 1089);
        dialog.wiring().sendCommand(framework::IDCANCEL);
    });
    press(CCapturePage2::kAudioButton);
    EXPECT_EQ(driverWaveFormat().samplesPerSec, 22050u);
}

// Frame rate 30 is a period of 33 333 microseconds, which reads back as 30 even without the
// stored value.
TEST_F(MotionDialogsTest, FrameRateThirtyIsAPeriodOf33333AndReadsBackAsThirty) {
    ASSERT_TRUE(openPage());
    answerDialog<CAviLimitsDlg>([](CAviLimitsDlg& dialog) {
        setSpin(dialog, CAviLimitsDlg::kFrameRateEdit, 30);
        dialog.wiring().sendCommand(framework::IDOK);
    });
    press(CCapturePage2::kSetupButton);
    EXPECT_EQ(driverSetup().requestMicroSecPerFrame, 33333u);
    store.registry().deleteValue(platform::RegHive::CurrentUser, store.sectionPath("user"), "framerate");
    int shown = 0;
    answerDialog<CAviLimitsDlg>([&shown](CAviLimitsDlg& dialog) {
        shown = dialog.limits().frameRate;
        dialog.wiring().sendCommand(framework::IDCANCEL);
    });
    press(CCapturePage2::kSetupButton);
    EXPECT_EQ(shown, 30);
    EXPECT_TRUE(summaryHas("Frame Rate : 30fps\n\r"));
}

// With the limit on, 180:01 and 0:00 are refused with "Input data error!" and put back to 1:00;
// 180:00 is taken and stored as 10800 seconds.
TEST_F(MotionDialogsTest, TheTimeLimitIsOneSecondToThreeHours) {
    ASSERT_TRUE(openPage());
    std::vector<RecordingLimits> afterRefusal;
    bool stayedOpen = true;
    answerDialog<CAviLimitsDlg>([&](CAviLimitsDlg& dialog) {
        dialog.control<QCheckBox>(CAviLimitsDlg::kTimeLimitCheck)->setChecked(false);
        click(dialog, CAviLimitsDlg::kTimeLimitCheck);  // on
        for (auto [minutes, seconds] : {std::pair{180, 1}, std::pair{0, 0}}) {
            setSpin(dialog, CAviLimitsDlg::kMinutesEdit, minutes);
            setSpin(dialog, CAviLimitsDlg::kSecondsEdit, seconds);
            dialog.wiring().sendCommand(framework::IDOK);
            stayedOpen = stayedOpen && dialog.isVisible();
            afterRefusal.push_back(dialog.limits());
        }
        setSpin(dialog, CAviLimitsDlg::kMinutesEdit, 180);
        setSpin(dialog, CAviLimitsDlg::kSecondsEdit, 0);
        dialog.wiring().sendCommand(framework::IDOK);
    });
    press(CCapturePage2::kSetupButton);
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(afterRefusal.size(), 2u);
    for (const RecordingLimits& limits : afterRefusal) {
        EXPECT_EQ(limits.minutes, 1);
        EXPECT_EQ(limits.seconds, 0);
        EXPECT_TRUE(limits.limitOn);
    }
    ASSERT_EQ(boxes.size(), 2u);
    for (const auto& box : boxes) EXPECT_EQ(box.text, "Input data error!");
    EXPECT_EQ(store.readInt("user", "timelimitcheck", -1), 1);
    EXPECT_EQ(store.readInt("user", "totalsecond", -1), 10800);
    EXPECT_EQ(driverSetup().limitEnabled, 1);
    EXPECT_EQ(driverSetup().timeLimitSeconds, 10800u);
    EXPECT_TRUE(summaryHas("Time Limit : 10800sec\n\r"));
}

// With the limit off the minutes and seconds take no input and whatever they hold is stored;
// the summary shows no limit.
TEST_F(MotionDialogsTest, WithTheLimitOffTheTimeIsStoredAsItStands) {
    ASSERT_TRUE(openPage());
    bool editable = true;
    answerDialog<CAviLimitsDlg>([&editable](CAviLimitsDlg& dialog) {
        auto* limit = dialog.control<QCheckBox>(CAviLimitsDlg::kTimeLimitCheck);
        limit->setChecked(true);
        click(dialog, CAviLimitsDlg::kTimeLimitCheck);  // off
        editable = dialog.control(CAviLimitsDlg::kMinutesEdit)->isEnabled() ||
                   dialog.control(CAviLimitsDlg::kSecondsEdit)->isEnabled();
        setSpin(dialog, CAviLimitsDlg::kMinutesEdit, 0);
        setSpin(dialog, CAviLimitsDlg::kSecondsEdit, 0);
        dialog.wiring().sendCommand(framework::IDOK);
    });
    press(CCapturePage2::kSetupButton);
    EXPECT_FALSE(editable);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(store.readInt("user", "timelimitcheck", -1), 0);
    EXPECT_EQ(store.readInt("user", "totalsecond", -1), 0);
    EXPECT_TRUE(summaryHas("Time Limit : 0sec\n\r"));
}

// The sound box is offered with the card's sound and shown for AVI recordings only.
TEST_F(MotionDialogsTest, TheAudioBoxIsShownForAviOnly) {
    ASSERT_TRUE(openPage());
    ASSERT_TRUE(captureWindow().HasAudioHardware());
    for (int type : {0, 1, 2}) {
        viewer->wiring().sendCommand(32872 + type);
        bool visible = false;
        bool enabled = false;
        answerDialog<CAviLimitsDlg>([&](CAviLimitsDlg& dialog) {
            visible = !dialog.control(CAviLimitsDlg::kAudioCheck)->isHidden();
            enabled = dialog.control(CAviLimitsDlg::kAudioCheck)->isEnabled();
            dialog.wiring().sendCommand(framework::IDCANCEL);
        });
        press(CCapturePage2::kSetupButton);
        EXPECT_EQ(visible, type == 0) << type;
        EXPECT_TRUE(enabled) << type;
    }
}

// "&Size.." is the driver's picture-format dialog; the summary then shows the size chosen there.
// "Com&pression.." is the driver's compression dialog.
TEST_F(MotionDialogsTest, SizeAndCompressionAreTheDriversDialogs) {
    ASSERT_TRUE(openPage());
    ASSERT_TRUE(summaryHas("Capture Size : 320 * 240\n\r"));
    answerDialog<capture::VideoFormatDialog>([](capture::VideoFormatDialog& dialog) {
        if (auto* size = dialog.findChild<QRadioButton*>("size640x480")) size->click();
        dialog.accept();
    });
    press(CCapturePage2::kSizeButton);
    EXPECT_EQ(viewer->settings().capStreamWidth, 640);
    EXPECT_TRUE(summaryHas("Capture Size : 640 * 480\n\r")) << page()->summaryText();

    bool compressionShown = false;
    answerDialog<capture::VideoCompressionDialog>([&compressionShown](capture::VideoCompressionDialog& dialog) {
        compressionShown = true;
        dialog.reject();
    });
    press(CCapturePage2::kCompressionButton);
    EXPECT_TRUE(compressionShown);
}

}  // namespace
}  // namespace kelto::test
