// The capture sheet's still page over the viewer on the simulated card: what it shows, the
// folder, stem, type and size it changes, single and serial captures with the frame count read
// during the run, "Stop", a missing folder, the image window, and what the sheet refuses while a
// serial capture runs.
#include "tests/viewer/window/ViewerWindowRig.h"

#include "tests/support/TestRoot.h"
#include "viewer/capture/CCaptureFileNameDlg.h"
#include "viewer/capture/CCapturePage1.h"
#include "viewer/capture/CCaptureSheet.h"
#include "viewer/capture/CaptureFolderBrowser.h"
#include "viewer/capture/SerialCaptureRun.h"
#include "viewer/capture/StillPageRules.h"
#include "viewer/osd/CImageWindow.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

#include <chrono>
#include <thread>

namespace kelto::test {
namespace {

using viewer::capturesheet::CCapturePage1;
using viewer::capturesheet::CCaptureSheet;
using viewer::capturesheet::SerialCaptureRun;

// Calls `onEvent` for every event of one type a watched object gets.
class EventWatch : public QObject {
public:
    EventWatch(QObject* watched, QEvent::Type type, std::function<void()> onEvent)
        : type_(type), onEvent_(std::move(onEvent)) {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == type_) onEvent_();
        return false;
    }

private:
    QEvent::Type type_;
    std::function<void()> onEvent_;
};

class StillPageTest : public ViewerWindowRig {
protected:
    void SetUp() override {
        ViewerWindowRig::SetUp();
        saveState(7, QRect(40, 40, 484, 424));
        stillsInto(folder.path());
        store.writeString("user", "jpgdirectory", jpgFolder.path().string());
        store.writeString("user", "jpgfilename", "Kelto");
        ASSERT_TRUE(open());
        viewer->show();
        ASSERT_TRUE(waitForPicture());
        viewer->wiring().sendCommand(1005);
        ASSERT_TRUE(sheet());
        page = sheet()->stillPage();
        ASSERT_TRUE(page);
    }
    void TearDown() override {
        viewer::capturesheet::setCaptureFolderAnswerer(nullptr);
        ViewerWindowRig::TearDown();
    }
    CCaptureSheet* sheet() const { return viewer ? viewer->captureSheet().sheet() : nullptr; }
    ViewerSettings& settings() { return viewer->captureSheetViewer().viewerSettings(); }
    std::string text(int id) const {
        auto* label = page->control<QLabel>(id);
        return label ? label->text().toStdString() : "<none>";
    }
    bool enabled(int id) const { return page->control(id) && page->control(id)->isEnabled(); }
    bool checked(int id) const {
        auto* button = page->control<QAbstractButton>(id);
        return button && button->isChecked();
    }
    void click(int id) {
        auto* button = page->control<QAbstractButton>(id);
        ASSERT_TRUE(button) << id;
        ASSERT_TRUE(button->isEnabled()) << id;
        button->click();
    }
    QSpinBox* frameCount() const { return page->control<QSpinBox>(CCapturePage1::kFrameCount); }
    // Serial mode with `frames` and "&Capture".
    void startSerial(int frames) {
        click(CCapturePage1::kSerialRadio);
        frameCount()->setValue(frames);
        click(CCapturePage1::kCapture);
    }
    // Runs the event loop until the serial capture has ended; false after 20 s.
    bool serialEnded() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (page && page->serialRunning()) {
            if (std::chrono::steady_clock::now() > end) return false;
            QApplication::processEvents();
            std::this_thread::yield();
        }
        return true;
    }
    // Calls `atPicture(n)` as picture n is saved (the image window takes each one's title).
    std::unique_ptr<EventWatch> watchPictures(std::function<void(int)> atPicture) {
        auto counter = std::make_shared<int>(0);
        return std::make_unique<EventWatch>(viewer->imageWindow(), QEvent::WindowTitleChange,
                                            [counter, atPicture] { atPicture(++*counter); });
    }
    void expectSerialIdle() {
        EXPECT_FALSE(page->serialRunning());
        EXPECT_TRUE(enabled(CCapturePage1::kCapture));
        EXPECT_TRUE(enabled(CCapturePage1::kExit));
        EXPECT_FALSE(enabled(CCapturePage1::kStop));
        EXPECT_EQ(SerialCaptureRun::liveWorkers(), 0);
    }
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes)
            texts.push_back(box.text + "|" + box.caption +
                            (box.icon == framework::MessageIcon::Information ? "|information" : "|other"));
        return texts;
    }
    // Answers the next modal dialog once it shows.
    static void answerNextDialog(std::function<void(QDialog&)> answer) {
        QTimer::singleShot(0, [answer] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible() && dialog->isModal()) {
                    answer(*dialog);
                    return;
                }
        });
    }
    static std::string missingFolderBox() { return LoadMessage(173) + "|Kelto TV|information"; }

    TemporaryFolder folder{"still-page"};
    TemporaryFolder jpgFolder{"still-page-jpg"};
    QPointer<CCapturePage1> page;
};

TEST_F(StillPageTest, OpensWithTheNextFileTheStemTheSizeAndStepMode) {
    EXPECT_EQ(text(CCapturePage1::kLocationText), (folder / "Kelto.BMP").string());
    EXPECT_EQ(text(CCapturePage1::kStemText), "Kelto");
    EXPECT_EQ(text(CCapturePage1::kSizeText), "320*240");
    EXPECT_TRUE(checked(CCapturePage1::kBmpRadio));
    EXPECT_FALSE(checked(CCapturePage1::kJpgRadio));
    EXPECT_TRUE(checked(CCapturePage1::kStepRadio));
    ASSERT_TRUE(frameCount());
    EXPECT_FALSE(frameCount()->isEnabled());
    EXPECT_EQ(frameCount()->minimum(), 1);
    EXPECT_EQ(frameCount()->maximum(), 100);
    EXPECT_EQ(frameCount()->value(), 1);
    EXPECT_FALSE(enabled(CCapturePage1::kStop));
    EXPECT_TRUE(checked(CCapturePage1::kShowViewer));

    click(CCapturePage1::kSerialRadio);
    EXPECT_TRUE(frameCount()->isEnabled());
    click(CCapturePage1::kStepRadio);
    EXPECT_FALSE(frameCount()->isEnabled());
}

TEST(StillPageRulesTest, PictureSizeTexts) {
    using viewer::capturesheet::pictureSizeText;
    EXPECT_EQ(pictureSizeText(80), "80*60");
    EXPECT_EQ(pictureSizeText(160), "160*120");
    EXPECT_EQ(pictureSizeText(320), "320*240");
    EXPECT_EQ(pictureSizeText(640), "640*480");
    for (std::uint32_t other : {0u, 81u, 352u, 720u}) EXPECT_EQ(pictureSizeText(other), "320*240") << other;
}

TEST_F(StillPageTest, TheFormatDialogChangesTheSizeText) {
    answerNextDialog([](QDialog& dialog) {
        if (auto* size = dialog.findChild<QRadioButton*>("size640x480")) size->setChecked(true);
        dialog.accept();
    });
    click(CCapturePage1::kChangeSize);
    EXPECT_EQ(text(CCapturePage1::kSizeText), "640*480");
    answerNextDialog([](QDialog& dialog) {
        if (auto* size = dialog.findChild<QRadioButton*>("size80x60")) size->setChecked(true);
        dialog.accept();
    });
    click(CCapturePage1::kChangeSize);
    EXPECT_EQ(text(CCapturePage1::kSizeText), "80*60");
}

TEST_F(StillPageTest, StemAndFolderChangesMoveTheNextFile) {
    answerNextDialog([](QDialog& dialog) {
        auto* edit = dialog.findChild<QLineEdit*>();
        ASSERT_TRUE(edit);
        EXPECT_EQ(edit->text(), "Kelto");  // pre-filled with the current stem
        edit->setText("Holiday");
        dialog.accept();
    });
    click(CCapturePage1::kChangeStem);
    EXPECT_EQ(settings().bmpFileName, "Holiday");
    EXPECT_EQ(text(CCapturePage1::kStemText), "Holiday");
    EXPECT_EQ(text(CCapturePage1::kLocationText), (folder / "Holiday.BMP").string());

    answerNextDialog([](QDialog& dialog) { dialog.reject(); });
    click(CCapturePage1::kChangeStem);
    EXPECT_EQ(settings().bmpFileName, "Holiday");

    std::string startedAt;
    TemporaryFolder other{"still-page-other"};
    test::writeFile(other / "Holiday4.BMP", "x");
    viewer::capturesheet::setCaptureFolderAnswerer([&](const std::string& current) -> std::optional<std::string> {
        startedAt = current;
        return other.path().string();
    });
    click(CCapturePage1::kChangeFolder);
    EXPECT_EQ(startedAt, folder.path().string());
    EXPECT_EQ(settings().bmpDirectory, other.path().string());
    EXPECT_EQ(text(CCapturePage1::kLocationText), (other / "Holiday5.BMP").string());
    // The JPG pair is not touched.
    EXPECT_EQ(settings().jpgDirectory, jpgFolder.path().string());
    EXPECT_EQ(settings().jpgFileName, "Kelto");

    viewer::capturesheet::setCaptureFolderAnswerer([](const std::string&) { return std::nullopt; });
    click(CCapturePage1::kChangeFolder);
    EXPECT_EQ(settings().bmpDirectory, other.path().string());
}

TEST_F(StillPageTest, TheTypeRadiosAnnounceTheTypeAndShiftCMovesThem) {
    click(CCapturePage1::kJpgRadio);
    EXPECT_EQ(settings().imageFormat, 1);
    EXPECT_EQ(viewer->onScreenText(), "CAPTURE TYPE : JPG");
    EXPECT_EQ(text(CCapturePage1::kLocationText), (jpgFolder / "Kelto.JPG").string());

    QTest::keyClick(viewer, Qt::Key_C, Qt::ShiftModifier);
    EXPECT_EQ(settings().imageFormat, 0);
    EXPECT_EQ(viewer->onScreenText(), "CAPTURE TYPE : BMP");
    EXPECT_TRUE(checked(CCapturePage1::kBmpRadio));
    EXPECT_FALSE(checked(CCapturePage1::kJpgRadio));
    EXPECT_EQ(text(CCapturePage1::kLocationText), (folder / "Kelto.BMP").string());

    viewer->wiring().sendCommand(32869);  // the menu's "Save To JPG"
    EXPECT_TRUE(checked(CCapturePage1::kJpgRadio));
}

TEST_F(StillPageTest, AJpgCaptureIsShownByTheImageWindow) {
    click(CCapturePage1::kJpgRadio);
    click(CCapturePage1::kCapture);
    const auto written = jpgFolder / "Kelto.JPG";
    ASSERT_TRUE(std::filesystem::exists(written));
    EXPECT_GT(std::filesystem::file_size(written), 1000u);
    ASSERT_TRUE(viewer->imageWindow());
    EXPECT_TRUE(viewer->imageWindow()->isVisible());
    EXPECT_FALSE(viewer->imageWindow()->picture().isNull());
    EXPECT_TRUE(viewer->imageWindow()->windowTitle().endsWith(QString::fromStdString(written.string())));
    // The next name moved on.
    EXPECT_EQ(text(CCapturePage1::kLocationText), (jpgFolder / "Kelto1.JPG").string());
}

TEST_F(StillPageTest, WithTheViewerBoxOffNoCaptureShowsTheImageWindow) {
    int shown = 0;
    EventWatch watch(viewer->imageWindow(), QEvent::Show, [&] { ++shown; });
    click(CCapturePage1::kShowViewer);
    EXPECT_EQ(settings().imageShow, 0);
    click(CCapturePage1::kCapture);
    startSerial(3);
    ASSERT_TRUE(serialEnded());
    EXPECT_EQ(fileNames(folder.path()).size(), 4u);
    EXPECT_EQ(shown, 0);
    EXPECT_FALSE(viewer->imageWindow()->isVisible());

    click(CCapturePage1::kShowViewer);  // on again: the next capture shows it
    EXPECT_EQ(settings().imageShow, 1);
    click(CCapturePage1::kStepRadio);
    click(CCapturePage1::kCapture);
    EXPECT_TRUE(viewer->imageWindow()->isVisible());
}

TEST_F(StillPageTest, SerialCaptureOfAHundredMakesAHundredFiles) {
    startSerial(100);
    // While it runs only "Stop" is offered, the sheet stays and the motion page cannot be chosen.
    EXPECT_TRUE(page->serialRunning());
    EXPECT_FALSE(enabled(CCapturePage1::kCapture));
    EXPECT_FALSE(enabled(CCapturePage1::kExit));
    EXPECT_TRUE(enabled(CCapturePage1::kStop));
    EXPECT_FALSE(sheet()->requestClose());
    EXPECT_FALSE(sheet()->setActivePage(1));
    EXPECT_EQ(sheet()->activeIndex(), 0);
    ASSERT_TRUE(serialEnded());
    expectSerialIdle();

    const auto names = fileNames(folder.path());
    ASSERT_EQ(names.size(), 100u);
    EXPECT_TRUE(std::filesystem::exists(folder / "Kelto.BMP"));
    EXPECT_TRUE(std::filesystem::exists(folder / "Kelto99.BMP"));
    EXPECT_EQ(text(CCapturePage1::kLocationText), (folder / "Kelto100.BMP").string());

    // Afterwards both work again.
    EXPECT_TRUE(sheet()->setActivePage(1));
    EXPECT_TRUE(sheet()->setActivePage(0));
    click(CCapturePage1::kExit);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(sheet());
}

TEST_F(StillPageTest, ChangingTheFrameCountDuringTheRunChangesTheTarget) {
    auto watch = watchPictures([&](int picture) {
        if (picture == 2) frameCount()->setValue(7);
    });
    startSerial(4);
    ASSERT_TRUE(serialEnded());
    EXPECT_EQ(fileNames(folder.path()).size(), 7u);

    watch = watchPictures([&](int picture) {
        if (picture == 3) frameCount()->setValue(2);
    });
    click(CCapturePage1::kCapture);
    frameCount()->setValue(50);
    ASSERT_TRUE(serialEnded());
    EXPECT_EQ(fileNames(folder.path()).size(), 10u);
}

TEST_F(StillPageTest, StopEndsTheRunAndTheNextRunIsWhole) {
    auto watch = watchPictures([&](int picture) {
        if (picture == 3) click(CCapturePage1::kStop);
    });
    startSerial(100);
    ASSERT_TRUE(serialEnded());
    expectSerialIdle();
    EXPECT_EQ(fileNames(folder.path()).size(), 3u);

    watch.reset();
    frameCount()->setValue(2);
    click(CCapturePage1::kCapture);
    ASSERT_TRUE(serialEnded());
    EXPECT_EQ(fileNames(folder.path()).size(), 5u);
}

TEST_F(StillPageTest, AMissingFolderShowsOneBoxAndWritesNothing) {
    const auto missing = folder / "gone";
    settings().bmpDirectory = missing.string();
    click(CCapturePage1::kCapture);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{missingFolderBox()});
    EXPECT_FALSE(std::filesystem::exists(missing));

    // A serial run stops at the first refusal: one box, not a hundred.
    boxes.clear();
    startSerial(100);
    ASSERT_TRUE(serialEnded());
    expectSerialIdle();
    EXPECT_EQ(boxTexts(), std::vector<std::string>{missingFolderBox()});
    EXPECT_TRUE(fileNames(folder.path()).empty());
}

// A three-character folder text is an ordinary relative folder here: tested like any other.
TEST_F(StillPageTest, AThreeCharacterFolderIsTestedLikeAnyOther) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    settings().bmpDirectory = "Pix";
    click(CCapturePage1::kCapture);
    const auto refused = boxTexts();
    std::filesystem::create_directory("Pix");
    click(CCapturePage1::kCapture);
    const bool written = std::filesystem::exists("Pix/Kelto.BMP");
    std::filesystem::current_path(previous);
    EXPECT_EQ(refused, std::vector<std::string>{missingFolderBox()});
    EXPECT_TRUE(written);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(StillPageTest, ANameTakenAlreadyIsNeverWrittenOver) {
    test::writeFile(folder / "Kelto999.BMP", "first");
    test::writeFile(folder / "Kelto1000.BMP", "second");  // counts 0: the next name is Kelto1000 again
    click(CCapturePage1::kCapture);
    EXPECT_EQ(readFile(folder / "Kelto1000.BMP"), "second");
    EXPECT_EQ(fileNames(folder.path()).size(), 2u);
    EXPECT_TRUE(boxes.empty());
}

// Escape on the page is the sheet's close request: refused while a run goes, never a hidden page.
TEST_F(StillPageTest, EscapeOnThePageAsksTheSheetToClose) {
    startSerial(100);
    QTest::keyClick(page->control(CCapturePage1::kStop), Qt::Key_Escape);
    EXPECT_TRUE(page->isVisible());
    EXPECT_TRUE(sheet() && sheet()->isVisible());
    ASSERT_TRUE(serialEnded());
    QTest::keyClick(page->control(CCapturePage1::kCapture), Qt::Key_Escape);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(sheet());
}

TEST_F(StillPageTest, ClosingTheViewerDuringARunEndsTheWorker) {
    startSerial(100);
    close();
    QApplication::processEvents();
    EXPECT_FALSE(page);
    EXPECT_EQ(SerialCaptureRun::liveWorkers(), 0);
    EXPECT_LT(fileNames(folder.path()).size(), 100u);
}

// A viewer without a capture window: the page's capture does nothing at all.
class ViewerWithoutCaptureWindow final : public viewer::capturesheet::CaptureSheetViewer {
public:
    QWidget* viewerWidget() override { return &widget; }
    ViewerSettings& viewerSettings() override { return settings; }
    SettingsStore& settingsStore() override { return store; }
    capture::CCaptureWindow* captureWindowOrNull() override { return nullptr; }
    void setStillFileType(int type) override { settings.imageFormat = type; }
    bool CaptureStill(const std::string&) override {
        ++captures;
        return true;
    }
    bool RecordStream(const std::string&) override { return false; }
    bool recording() const override { return false; }
    bool volumeControlHasMixer() const override { return false; }

    QWidget widget;
    ViewerSettings settings;
    SettingsStore store;
    int captures = 0;
};

TEST(StillPageWithoutCaptureWindowTest, CaptureDoesNothing) {
    int boxes = 0;
    framework::setMessageBoxAnswerer([&](const framework::MessageBoxRequest&) {
        ++boxes;
        return framework::IDOK;
    });
    ViewerWithoutCaptureWindow viewer;
    viewer.settings.bmpDirectory = "/nonexistent-kelto-folder";  // not even the folder is looked at
    viewer.settings.bmpFileName = "Kelto";
    CCapturePage1 page(viewer);
    EXPECT_EQ(page.control<QLabel>(CCapturePage1::kSizeText)->text(), "320*240");
    page.wiring().sendCommand(CCapturePage1::kCapture);
    EXPECT_FALSE(page.captureOneFrame());
    EXPECT_EQ(viewer.captures, 0);
    EXPECT_EQ(boxes, 0);
    framework::setMessageBoxAnswerer(nullptr);
}

}  // namespace
}  // namespace kelto::test
