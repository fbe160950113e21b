// The channel page over the real viewer: opening, choosing (also by the program's selection,
// which tunes), fine tuning by the slider and its buttons, the Delete key with its question,
// list positions for country code 86, and the apply.
#include "tests/viewer/config/ChannelPageRig.h"

namespace kelto::test {
namespace {

using Page = viewer::config::CEnvironmentPage1;

class ChannelPageTest : public ChannelPageRig {};

TEST_F(ChannelPageTest, OpeningShowsTheBandsListAndSelectsAndTunesTheCurrentChannel) {
    open();
    viewer->session()->TuneChannel(9, false);
    cardsim::test::clearI2cLog();
    openPage();

    EXPECT_EQ(page->caption(), "Selecting channel");
    EXPECT_EQ(rows(), (std::vector<QString>{"CH6", "CH7", "CH9", "CH11", "CH12"}));
    EXPECT_EQ(listCtrl()->headerItem()->text(0), "TV CHANNEL");
    EXPECT_EQ(listCtrl()->columnCount(), 1);
    EXPECT_EQ(listCtrl()->rowImage(0), 4);
    EXPECT_EQ(selectedRow(), 2);
    EXPECT_EQ(text(Page::kChannelLabel), "CH : 9");
    EXPECT_EQ(text(Page::kBandLabel), "TV");
    EXPECT_EQ(text(Page::kFrequencyField), "187.2500");
    EXPECT_EQ(text(Page::kScanStatus), "Channel Scan Progress");
    EXPECT_FALSE(enabled(Page::kStopScan));
    EXPECT_FALSE(enabled(Page::kStopAndKeep));
    EXPECT_TRUE(page->control(Page::kScanExtent)->isHidden());
    EXPECT_EQ(slider()->minimum(), -16);
    EXPECT_EQ(slider()->maximum(), 16);
    // US broadcast 2..69: the bar runs 1..68 and starts at 1.
    EXPECT_EQ(progress()->minimum(), 1);
    EXPECT_EQ(progress()->maximum(), 68);
    EXPECT_EQ(progress()->value(), 1);
    // The selection made by the page tuned the channel again.
    EXPECT_FALSE(cardsim::test::i2cLog().empty());
    EXPECT_EQ(tunedChannel(), 9);
}

TEST_F(ChannelPageTest, OpeningWithAnEmptyListSelectsAndTunesNothing) {
    open();
    setList(ChannelBand::Broadcast, {});
    cardsim::test::clearI2cLog();
    openPage();
    EXPECT_EQ(listCtrl()->rowCount(), 0);
    EXPECT_TRUE(cardsim::test::i2cLog().empty());
    EXPECT_EQ(text(Page::kChannelLabel), "CH : ");  // the template's text
    EXPECT_EQ(text(Page::kFrequencyField), "");
}

TEST_F(ChannelPageTest, ClickingARowChoosesAndTunesIt) {
    openPage();
    listCtrl()->setRowState(3, true, true);
    EXPECT_EQ(tunedChannel(), 11);
    EXPECT_EQ(text(Page::kChannelLabel), "CH : 11");
    EXPECT_EQ(text(Page::kFrequencyField), "199.2500");
}

TEST_F(ChannelPageTest, FineTuningBySliderShowsSixteenthsUpToOneMegahertzAndTunes) {
    open();
    viewer->session()->TuneChannel(7, false);
    openPage();
    slider()->setValue(16);
    EXPECT_EQ(text(Page::kFrequencyField), "176.2500");
    EXPECT_EQ(registered().fineTune(ChannelBand::Broadcast, 7), 16);
    // The viewer retuned with the fine tuning in the divider: (45.75 + 175.25) x 16 + 16.
    const auto log = cardsim::test::i2cLog();
    auto lastDivider = [&] {
        for (auto it = log.rbegin(); it != log.rend(); ++it)
            if (!it->read && it->address == 0xC0 && !(it->bytes[0] & 0x80)) return it->bytes[0] << 8 | it->bytes[1];
        return 0;
    };
    EXPECT_EQ(lastDivider(), 3536 + 16);

    slider()->setValue(-16);
    EXPECT_EQ(text(Page::kFrequencyField), "174.2500");
    click(Page::kDefaultFine);
    EXPECT_EQ(text(Page::kFrequencyField), "175.2500");
    EXPECT_EQ(slider()->value(), 0);
    EXPECT_EQ(registered().fineTune(ChannelBand::Broadcast, 7), 0);
}

TEST_F(ChannelPageTest, FineTuningCancelRestoresTheValueAtChoice) {
    open();
    registered().setFineTune(ChannelBand::Broadcast, 9, 5);
    viewer->session()->TuneChannel(9, false);
    openPage();
    EXPECT_EQ(slider()->value(), 5);
    slider()->setValue(-9);
    click(Page::kCancelFine);
    EXPECT_EQ(registered().fineTune(ChannelBand::Broadcast, 9), 5);
    EXPECT_EQ(slider()->value(), 5);
    EXPECT_EQ(text(Page::kFrequencyField), "187.5625");
}

TEST_F(ChannelPageTest, DeleteAsksWithTheNumberDirectlyFollowedByTheQuestion) {
    open();
    viewer->session()->TuneChannel(12, false);
    openPage();
    answer = framework::IDNO;
    pressDelete();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "12 channel : Are you sure to delete? ");
    EXPECT_EQ(boxes[0].caption, "Kelto Delete");
    EXPECT_EQ(boxes[0].buttons, framework::MessageButtons::YesNo);
    EXPECT_EQ(boxes[0].icon, framework::MessageIcon::Question);
    EXPECT_EQ(list(ChannelBand::Broadcast).size(), 5u);
    EXPECT_EQ(listCtrl()->rowCount(), 5);
}

TEST_F(ChannelPageTest, DeletingTheLastOfSeveralSelectsAndTunesThePreviousOne) {
    open();
    viewer->session()->TuneChannel(12, false);
    openPage();
    pressDelete();
    EXPECT_EQ(list(ChannelBand::Broadcast), (std::vector<int>{6, 7, 9, 11}));
    EXPECT_EQ(rows(), (std::vector<QString>{"CH6", "CH7", "CH9", "CH11"}));
    EXPECT_EQ(selectedRow(), 3);
    EXPECT_EQ(tunedChannel(), 11);
    EXPECT_EQ(text(Page::kChannelLabel), "CH : 11");
}

TEST_F(ChannelPageTest, DeletingAMiddleEntrySelectsTheOneThatTookItsPlace) {
    open();
    viewer->session()->TuneChannel(7, false);
    openPage();
    pressDelete();
    EXPECT_EQ(rows(), (std::vector<QString>{"CH6", "CH9", "CH11", "CH12"}));
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(tunedChannel(), 9);
}

TEST_F(ChannelPageTest, DeletingTheOnlyChannelLeavesAnEmptyListAndTheCurrentChannel) {
    open();
    setList(ChannelBand::Broadcast, {7});
    viewer->session()->TuneChannel(7, false);
    openPage();
    pressDelete();
    EXPECT_EQ(registered().count(ChannelBand::Broadcast), 0);
    EXPECT_EQ(listCtrl()->rowCount(), 0);
    EXPECT_EQ(page->logic().currentChannel(), 7);
    EXPECT_EQ(text(Page::kChannelLabel), "CH : 7");
    // A second Delete on the empty list asks nothing.
    pressDelete();
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(ChannelPageTest, CountryCode86ShowsListPositionsAndChannels) {
    store.writeInt("user", "CountryCode", 86);
    open();
    setList(ChannelBand::Broadcast, {6, 9, 11});
    viewer->session()->TuneChannel(9, false);
    openPage();
    EXPECT_EQ(rows(0), (std::vector<QString>{"1", "2", "3"}));
    EXPECT_EQ(rows(1), (std::vector<QString>{"CH6", "CH9", "CH11"}));
    EXPECT_EQ(listCtrl()->headerItem()->text(0), "CH");
    EXPECT_EQ(listCtrl()->headerItem()->text(1), "TV CHANNEL");
    EXPECT_EQ(listCtrl()->rowImage(0), -1);
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(text(Page::kChannelLabel), "CH : 2");
    EXPECT_EQ(tunedChannel(), 9);
}

TEST_F(ChannelPageTest, CountryCode86StartsFromTheViewersChannelEvenWhenItIsNotRegistered) {
    store.writeInt("user", "CountryCode", 86);
    open();
    setList(ChannelBand::Broadcast, {6, 9, 11});
    viewer->session()->TuneChannel(8, false);  // shown as 0: no list position
    openPage();
    EXPECT_EQ(selectedRow(), -1);
    EXPECT_EQ(page->logic().currentChannel(), 8);
    slider()->setValue(3);
    EXPECT_EQ(registered().fineTune(ChannelBand::Broadcast, 8), 3);
    EXPECT_EQ(tunedChannel(), 8);
}

TEST_F(ChannelPageTest, ApplySelectsTheViewersChannelAgain) {
    open();
    viewer->session()->TuneChannel(6, false);
    openPage();
    viewer->session()->TuneChannel(11, false);
    EXPECT_TRUE(page->onApply());
    EXPECT_EQ(selectedRow(), 3);
    EXPECT_EQ(page->logic().currentChannel(), 11);
}

TEST_F(ChannelPageTest, CableModeShowsTheCableList) {
    open();
    viewer->session()->SetVideoMode(VideoMode::CATV);
    setList(ChannelBand::Cable, {3, 7});
    viewer->session()->TuneChannel(7, false);
    openPage();
    EXPECT_EQ(listCtrl()->headerItem()->text(0), "CATV CHANNEL");
    EXPECT_EQ(listCtrl()->rowImage(1), 5);
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(text(Page::kBandLabel), "CATV");
    // US cable 1..125.
    EXPECT_EQ(progress()->minimum(), 0);
    EXPECT_EQ(progress()->maximum(), 124);
}

}  // namespace
}  // namespace kelto::test
