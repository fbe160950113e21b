// The info page's scrolling text in virtual time: its timer 150 and period per speed, start and
// new lists, the list's end marker, and the info page that sets it going.
#include "viewer/config/ScrollingText.h"

#include "framework/VirtualTimerScheduler.h"
#include "platform/Clock.h"
#include "resources/ArtResource.h"
#include "viewer/config/InfoText.h"

#include <gtest/gtest.h>

#include <chrono>

namespace kelto::viewer::config {
namespace {

class ScrollingTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setClock(&clock);
        framework::setTimerScheduler(&scheduler);
        text = std::make_unique<ScrollingText>();
        text->resize(400, 200);
        text->setLines({"BITMAP1^", "Title", "* item", " ", "text", ""});
    }
    void TearDown() override {
        text.reset();
        framework::setTimerScheduler(nullptr);
        platform::setClock(nullptr);
    }

    platform::VirtualClock clock{std::chrono::system_clock::now()};
    framework::VirtualTimerScheduler scheduler{clock};
    std::unique_ptr<ScrollingText> text;
};

TEST_F(ScrollingTextTest, OneStepPerPeriodOfTheSpeedLevel) {
    EXPECT_EQ(text->speed(), 1);
    text->start();
    scheduler.advanceMs(399);
    EXPECT_EQ(text->position(), 9);
    scheduler.advanceMs(1);
    EXPECT_EQ(text->position(), 10);

    text->setSpeed(0);
    text->start();
    scheduler.advanceMs(700);
    EXPECT_EQ(text->position(), 10);

    text->setSpeed(2);
    text->start();
    scheduler.advanceMs(100);
    EXPECT_EQ(text->position(), 10);

    text->setSpeed(3);  // not a speed: the last one stays
    EXPECT_EQ(text->periodMs(), 10u);
    text->setSpeed(-1);
    EXPECT_EQ(text->speed(), 2);
}

TEST_F(ScrollingTextTest, TheTimerRunsOnlyWhileItScrolls) {
    EXPECT_EQ(scheduler.pending(), 0u);
    scheduler.advanceMs(1000);
    EXPECT_EQ(text->position(), 0);
    text->setSpeed(2);  // a new speed starts nothing
    EXPECT_EQ(scheduler.pending(), 0u);

    text->start();
    EXPECT_TRUE(text->scrolling());
    EXPECT_EQ(scheduler.pending(), 1u);
    scheduler.advanceMs(50);
    text->stop();
    EXPECT_EQ(scheduler.pending(), 0u);
    scheduler.advanceMs(1000);
    EXPECT_EQ(text->position(), 5);

    text->start();
    text.reset();  // the control's end ends its timer
    EXPECT_EQ(scheduler.pending(), 0u);
}

TEST_F(ScrollingTextTest, StartAndANewListBeginAtTheFirstLineAndANewListKeepsScrolling) {
    text->start();
    scheduler.advanceMs(200);
    ASSERT_EQ(text->position(), 5);
    text->start();
    EXPECT_EQ(text->position(), 0);
    EXPECT_EQ(scheduler.pending(), 1u);

    scheduler.advanceMs(120);
    ASSERT_EQ(text->position(), 3);
    text->setLines({"other", "lines", ""});
    EXPECT_EQ(text->position(), 0);
    EXPECT_TRUE(text->scrolling());
    EXPECT_EQ(text->lines(), (std::vector<std::string>{"other", "lines"}));
    scheduler.advanceMs(80);
    EXPECT_EQ(text->position(), 2);
}

TEST_F(ScrollingTextTest, TheListEndsAtItsFirstEmptyEntryAndStartsOverWhenAllHaveLeft) {
    text->setLines({"a", " ", "b", "", "never shown"});
    EXPECT_EQ(text->lines(), (std::vector<std::string>{"a", " ", "b"}));

    text->setSpeed(2);
    text->start();
    const int travel = text->height() + text->contentHeight();
    scheduler.advanceMs(std::uint64_t(travel) * 10);
    EXPECT_EQ(text->position(), travel);
    scheduler.advanceMs(10);
    EXPECT_EQ(text->position(), 0);
    scheduler.advanceMs(10);
    EXPECT_EQ(text->position(), 1);
}

TEST_F(ScrollingTextTest, PictureLinesTakeTheirPicturesHeight) {
    text->setLines({"BITMAP2^", ""});
    const int withPicture = text->contentHeight();
    text->setLines({"BITMAP9^", ""});  // not a picture: an ordinary text line
    EXPECT_GT(withPicture, bitmapResource(ScrollingText::kPictureBitmaps[1]).height());
    EXPECT_LT(text->contentHeight(), withPicture);
}

TEST(InfoArt, TheBackgroundTileAndTheFourPicturesExist) {
    EXPECT_EQ(bitmapResource(135).size(), QSize(80, 80));
    for (int id : ScrollingText::kPictureBitmaps) EXPECT_FALSE(bitmapResource(id).isNull()) << id;
}

TEST(InfoText, EachLanguageHasTheFourPicturesAndEndsWithAnEmptyEntry) {
    for (UiLanguage language : {UiLanguage::EnglishUS, UiLanguage::Japanese, UiLanguage::Korean, UiLanguage::ChineseSimplified}) {
        const auto lines = infoLines(language);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), "");
        EXPECT_EQ(std::count(lines.begin(), lines.end(), ""), 1);
        for (const char* picture : {"BITMAP1^", "BITMAP2^", "BITMAP3^", "BITMAP4^"})
            EXPECT_EQ(std::count(lines.begin(), lines.end(), picture), 1) << picture;
    }
}

TEST(InfoText, TheNativeSetFollowsTheProductNameTheStringTableGives) {
    EXPECT_EQ(infoLinesForProductName("Kelto TV"), infoLines(UiLanguage::EnglishUS));
    EXPECT_EQ(infoLinesForProductName(nativeProductName(UiLanguage::Japanese)), infoLines(UiLanguage::Japanese));
    EXPECT_EQ(infoLinesForProductName(nativeProductName(UiLanguage::Korean)), infoLines(UiLanguage::Korean));
    EXPECT_EQ(infoLinesForProductName(nativeProductName(UiLanguage::ChineseSimplified)),
              infoLines(UiLanguage::ChineseSimplified));
    EXPECT_EQ(infoLinesForProductName("Something else"), infoLines(UiLanguage::EnglishUS));
    EXPECT_NE(infoLines(UiLanguage::Japanese), infoLines(UiLanguage::EnglishUS));
}

}  // namespace
}  // namespace kelto::viewer::config
