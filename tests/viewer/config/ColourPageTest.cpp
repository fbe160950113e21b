// The colour page and the info page on a real viewer over the hardware-control library and the
// simulated card: what the card receives for each picture level, the display colour and its
// preview, tooltips, the mixer line, and what the page leaves in the viewer and the store.
#include "tests/viewer/window/ViewerWindowRig.h"

#include "viewer/config/CEnvironmentPage2.h"
#include "viewer/config/CEnvironmentPage3.h"
#include "viewer/config/InfoText.h"
#include "viewer/config/ScrollingText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

#include <cstdlib>
#include <memory>

namespace kelto {
namespace {

using viewer::config::CEnvironmentPage2;
using viewer::config::CEnvironmentPage3;
using viewer::config::ScrollingText;

class ColourPageTest : public test::ViewerWindowRig {
protected:
    void SetUp() override {
        test::ViewerWindowRig::SetUp();
        ASSERT_NE(open(), nullptr);
    }
    void TearDown() override {
        page.reset();
        test::ViewerWindowRig::TearDown();
    }
    viewer::config::SheetViewer& sheetViewer() { return viewer->sheetViewer(); }
    CEnvironmentPage2& openPage() {
        page = std::make_unique<CEnvironmentPage2>(sheetViewer());
        return *page;
    }
    // What the hardware-control library holds for picture control `code` (3 brightness, 4
    // contrast, 5 hue, 6 saturation).
    int cardLevel(unsigned code) { return sheetViewer().tunerController().rurorizi().GetTVParam(code).value_or(-1); }
    QScrollBar* bar(int i) { return page->control<QScrollBar>(CEnvironmentPage2::kLevelBars[std::size_t(i)]); }
    QString field(int i) { return page->control<QLabel>(CEnvironmentPage2::kLevelFields[std::size_t(i)])->text(); }
    // The thumb dragged to `position` and let go.
    static void dragTo(QScrollBar* b, int position) {
        b->setSliderDown(true);
        b->setSliderPosition(position);
        b->setSliderDown(false);
    }
    QColor previewCentre() {
        QWidget* preview = page->control(CEnvironmentPage2::kPreview);
        return preview->grab().toImage().pixelColor(preview->width() / 2, preview->height() / 2);
    }

    std::unique_ptr<CEnvironmentPage2> page;
};

TEST_F(ColourPageTest, OpensWithTheViewersLevelsAndSendsEachToTheCard) {
    sheetViewer().viewerSettings().picture = {10, 20, 30, 40};
    openPage();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bar(i)->minimum(), 0);
        EXPECT_EQ(bar(i)->maximum(), 127);
        EXPECT_EQ(bar(i)->value(), 10 * (i + 1));
        EXPECT_EQ(field(i), QString::number(10 * (i + 1)));
    }
    EXPECT_EQ(cardLevel(3), 20);
    EXPECT_EQ(cardLevel(4), 40);
    EXPECT_EQ(cardLevel(5), 60);
    EXPECT_EQ(cardLevel(6), 80);
}

TEST_F(ColourPageTest, LevelScrollsStopAtTheEndsOfTheRange) {
    openPage();
    dragTo(bar(0), 127);
    EXPECT_EQ(field(0), "127");
    bar(0)->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar(0)->value(), 127);
    EXPECT_EQ(field(0), "127");
    EXPECT_EQ(cardLevel(3), 254);

    dragTo(bar(1), 2);
    bar(1)->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(bar(1)->value(), 0);
    EXPECT_EQ(field(1), "0");
    EXPECT_EQ(cardLevel(4), 0);

    bar(2)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(field(2), "65");
    EXPECT_EQ(cardLevel(5), 130);
    bar(3)->triggerAction(QAbstractSlider::SliderToMaximum);  // not one of the bar's steps: the level stays
    EXPECT_EQ(bar(3)->value(), 64);
    EXPECT_EQ(field(3), "64");
}

TEST_F(ColourPageTest, ADragIsTakenWhenTheThumbIsLetGo) {
    openPage();
    bar(0)->setSliderDown(true);
    bar(0)->setSliderPosition(90);
    EXPECT_EQ(field(0), "64");
    EXPECT_EQ(cardLevel(3), 128);
    bar(0)->setSliderDown(false);
    EXPECT_EQ(field(0), "90");
    EXPECT_EQ(cardLevel(3), 180);
}

TEST_F(ColourPageTest, ColorDefaultShows64AndSends128AndCancelRestoresTheOpeningLevels) {
    sheetViewer().viewerSettings().picture = {100, 90, 80, 70};
    openPage();
    QTest::mouseClick(page->control<QPushButton>(CEnvironmentPage2::kLevelDefaultButton), Qt::LeftButton);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(field(i), "64");
        EXPECT_EQ(bar(i)->value(), 64);
        EXPECT_EQ(cardLevel(3u + unsigned(i)), 128);
    }
    QTest::mouseClick(page->control<QPushButton>(CEnvironmentPage2::kLevelCancelButton), Qt::LeftButton);
    EXPECT_EQ(field(0), "100");
    EXPECT_EQ(field(3), "70");
    EXPECT_EQ(cardLevel(3), 200);
    EXPECT_EQ(cardLevel(6), 140);
}

TEST_F(ColourPageTest, TheCloseCommitsLevelsColoursAndQualityAndSavesTheLevelsAtOnce) {
    struct Case {
        int openingMode;
        int stored;
    };
    for (const Case c : {Case{2, 2}, Case{3, 1}, Case{0, 0}, Case{1, 0}}) {
        SCOPED_TRACE(c.openingMode);
        sheetViewer().setQualityMode(c.openingMode);
        store.writeInt("user", "s_screenflag", 0);
        openPage();
        bar(0)->triggerAction(QAbstractSlider::SliderPageStepAdd);
        bar(3)->triggerAction(QAbstractSlider::SliderSingleStepSub);
        page.reset();
        EXPECT_EQ(sheetViewer().qualityMode(), c.stored);
        EXPECT_EQ(store.readInt("user", "s_quality", -1), c.stored);
        EXPECT_EQ(store.readInt("user", "s_screenflag", -1), 1);
        EXPECT_EQ(store.readInt("user", "s_brightness", -1), sheetViewer().viewerSettings().picture.brightness);
        EXPECT_EQ(store.readInt("user", "s_contrast", -1), sheetViewer().viewerSettings().picture.contrast);
        EXPECT_EQ(store.readInt("user", "s_hue", -1), sheetViewer().viewerSettings().picture.hue);
        EXPECT_EQ(store.readInt("user", "s_saturation", -1), sheetViewer().viewerSettings().picture.saturation);
    }
    EXPECT_EQ(sheetViewer().viewerSettings().picture, (PictureLevels{84, 64, 64, 60}));
    EXPECT_EQ(store.readInt("user", "s_brightness", -1), 84);
    EXPECT_EQ(store.readInt("user", "s_saturation", -1), 60);
    EXPECT_EQ(store.readInt("user", "s_osdred", -1), -1);  // the colours wait for the viewer's close
}

TEST_F(ColourPageTest, TheQualityAndTargetRadiosAreHiddenAndTheColourGroupIsRetitled) {
    sheetViewer().setQualityMode(3);
    openPage();
    EXPECT_EQ(page->qualityRadio(), 2);
    EXPECT_TRUE(page->control<QAbstractButton>(1038)->isChecked());   // "Ca&pture"
    EXPECT_TRUE(page->control<QAbstractButton>(1116)->isChecked());   // the display colour is edited
    EXPECT_FALSE(page->control<QAbstractButton>(1117)->isChecked());
    for (int id : {1115, 1037, 1039, 1038, 1116, 1117}) EXPECT_TRUE(page->control(id)->isHidden()) << id;
    EXPECT_EQ(page->control<QGroupBox>(CEnvironmentPage2::kColourGroup)->title(), "OSD Color");
    EXPECT_EQ(page->windowTitle(), "Color/Mixer/Quality");
    EXPECT_FALSE(page->control(1032)->toolTip().isEmpty());
}

TEST_F(ColourPageTest, TipsAndTheColourGroupsTitleFollowTheLanguage) {
    setUiLanguage(UiLanguage::Japanese);
    openPage();
    setUiLanguage(std::nullopt);
    EXPECT_EQ(page->control<QGroupBox>(CEnvironmentPage2::kColourGroup)->title(), "OSD の色");
    EXPECT_EQ(page->control(1032)->toolTip(), "画面の明るさ");
    EXPECT_EQ(page->control<QPushButton>(CEnvironmentPage2::kColourDefaultButton)->text(), "初期値(&F)");
}

TEST_F(ColourPageTest, ABlueChangeMovesTheDisplayColourOffTheKeysGreenWithoutMovingTheSliders) {
    openPage();  // display yellow (255, 255, 0), key magenta (255, 0, 255)
    auto* green = page->control<QSlider>(CEnvironmentPage2::kGreenSlider);
    auto* blue = page->control<QSlider>(CEnvironmentPage2::kBlueSlider);
    EXPECT_EQ(green->maximum(), 255);
    EXPECT_EQ(green->value(), 255);
    blue->setValue(10);
    EXPECT_EQ(page->displayColour(), (ColorTriple{255, 255, 10}));
    green->setValue(2);
    EXPECT_EQ(page->displayColour(), (ColorTriple{255, 2, 10}));  // only a blue change checks
    blue->setValue(100);
    EXPECT_EQ(page->displayColour(), (ColorTriple{255, 105, 105}));
    EXPECT_EQ(green->value(), 2);
    EXPECT_EQ(blue->value(), 100);

    scheduler.advanceMs(CEnvironmentPage2::kPreviewPeriodMs);
    EXPECT_EQ(previewCentre(), QColor(255, 105, 105));
    page.reset();
    EXPECT_EQ(sheetViewer().viewerSettings().osdColor, (ColorTriple{255, 105, 105}));
    EXPECT_EQ(sheetViewer().viewerSettings().colorKey, (ColorTriple{255, 0, 255}));
}

TEST_F(ColourPageTest, ColourDefaultIsYellowAndCancelTheOpeningColourOnSlidersAndPreview) {
    sheetViewer().viewerSettings().osdColor = {0, 128, 255};
    openPage();
    EXPECT_EQ(previewCentre(), QColor(0, 128, 255));
    QTest::mouseClick(page->control<QPushButton>(CEnvironmentPage2::kColourDefaultButton), Qt::LeftButton);
    EXPECT_EQ(page->displayColour(), (ColorTriple{255, 255, 0}));
    EXPECT_EQ(page->control<QSlider>(CEnvironmentPage2::kBlueSlider)->value(), 0);
    EXPECT_EQ(previewCentre(), QColor(255, 255, 0));
    QTest::mouseClick(page->control<QPushButton>(CEnvironmentPage2::kColourCancelButton), Qt::LeftButton);
    EXPECT_EQ(page->displayColour(), (ColorTriple{0, 128, 255}));
    EXPECT_EQ(page->control<QSlider>(CEnvironmentPage2::kRedSlider)->value(), 0);
}

TEST_F(ColourPageTest, TheTooltipCheckSetsTheViewersFlagAtOnce) {
    sheetViewer().viewerSettings().tooltip = 1;
    openPage();
    auto* check = page->control<QCheckBox>(CEnvironmentPage2::kTooltipCheck);
    EXPECT_TRUE(check->isChecked());
    check->click();
    EXPECT_EQ(sheetViewer().viewerSettings().tooltip, 0);
    check->click();
    EXPECT_EQ(sheetViewer().viewerSettings().tooltip, 1);
}

TEST_F(ColourPageTest, ChoosingAMixerLineSelectsItAndTakesTheVolumeStepFromIt) {
    openPage();
    auto* combo = page->control<QComboBox>(CEnvironmentPage2::kMixerCombo);
    EXPECT_TRUE(combo->isEnabled());
    ASSERT_EQ(combo->count(), 3);  // the output, then the sources with a volume control
    EXPECT_EQ(combo->itemText(1), "Wave");
    EXPECT_EQ(combo->currentIndex(), 0);

    QTest::keyClick(combo, Qt::Key_Down);  // "Wave", its louder channel at 0x2000
    EXPECT_EQ(sheetViewer().selectedMixerLine(), 1);
    EXPECT_EQ(viewer->session()->volumeStep(), 2);
}

class ColourPageWithoutMixerTest : public ColourPageTest {
protected:
    void SetUp() override {
        withSoundCard = false;
        ColourPageTest::SetUp();
    }
};

TEST_F(ColourPageWithoutMixerTest, TheMixerListIsDisabledAndEmpty) {
    openPage();
    auto* combo = page->control<QComboBox>(CEnvironmentPage2::kMixerCombo);
    EXPECT_FALSE(combo->isEnabled());
    EXPECT_EQ(combo->count(), 0);
}

// The info page sets its text going fast over the background tile with the product's lines.
TEST_F(ColourPageTest, TheInfoPageScrollsTheProductsLinesAtTheFastestSpeed) {
    CEnvironmentPage3 info(sheetViewer());
    auto* text = qobject_cast<ScrollingText*>(info.control(CEnvironmentPage3::kTextControl));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text, info.scrollingText());
    EXPECT_EQ(text->geometry(), info.rect());
    EXPECT_TRUE(text->scrolling());
    EXPECT_EQ(text->speed(), 2);
    std::vector<std::string> expected = viewer::config::infoLines(UiLanguage::EnglishUS);
    expected.pop_back();  // the end marker
    EXPECT_EQ(text->lines(), expected);
    scheduler.advanceMs(100);
    EXPECT_EQ(text->position(), 10);

    if (const char* folder = std::getenv("KELTO_PAGE_PICTURES")) {
        openPage();
        page->grab().save(QString(folder) + "/page-105.png");
        setUiLanguage(UiLanguage::Japanese);
        openPage();
        page->grab().save(QString(folder) + "/page-105-ja.png");
        setUiLanguage(std::nullopt);
        for (int shot = 1; shot <= 4; ++shot) {
            scheduler.advanceMs(1500);
            info.grab().save(QString(folder) + "/page-106-" + QString::number(shot) + ".png");
        }
    }
}

}  // namespace
}  // namespace kelto
