// The channel page's rules without widgets: rows in both numberings, the current row, choosing,
// the frequency text, fine tuning, deleting and where the current channel goes after it.
#include "viewer/config/ChannelPageLogic.h"

#include "channels/CTunerController.h"
#include "framework/ReportListRules.h"
#include "resources/StringTable.h"

#include <gtest/gtest.h>

namespace kelto::viewer::config {
namespace {

class ChannelPageLogicTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Broadcast 2..13 at the US frequencies of 2 and 7..13; cable 1..3.
        FrequencyTables& tables = model.records();
        tables.broadcast.lowest = 2;
        tables.broadcast.highest = 13;
        tables.broadcast.frequencyHz[2] = 55'250'000;
        tables.broadcast.frequencyHz[6] = 83'250'000;
        for (int c = 7; c <= 13; ++c) tables.broadcast.frequencyHz[std::size_t(c)] = 175'250'000 + (c - 7) * 6'000'000;
        tables.cable.lowest = 1;
        tables.cable.highest = 3;
        tables.cable.frequencyHz[1] = 73'250'000;
        model.ApplyTables(controller);
        setList(ChannelBand::Broadcast, {6, 7, 9, 11, 12});
    }
    void setList(ChannelBand band, std::vector<int> channels) {
        for (int i = 0; i < int(channels.size()); ++i) model.registered().setEntry(band, i, channels[std::size_t(i)]);
        model.registered().setCount(band, int(channels.size()));
    }
    std::vector<int> list(ChannelBand band) const {
        std::vector<int> channels;
        for (int i = 0; i < model.registered().count(band); ++i) channels.push_back(model.registered().entry(band, i));
        return channels;
    }

    CTunerController controller;
    ChannelModel model;
};

TEST_F(ChannelPageLogicTest, ChannelNumberRowsShowTheChannelsWithTheBandsImage) {
    ChannelPageLogic logic(model, ChannelBand::Broadcast, ChannelNumbering::ChannelNumber);
    const ChannelListLayout layout = logic.listLayout();
    ASSERT_EQ(layout.columns.size(), 1u);
    EXPECT_EQ(layout.columns[0].heading, "TV CHANNEL");
    EXPECT_EQ(layout.columns[0].format, framework::LVCFMT_CENTER);
    EXPECT_EQ(layout.columns[0].width, 130);
    ASSERT_EQ(layout.rows.size(), 5u);
    EXPECT_EQ(layout.rows[0].texts, std::vector<std::string>{"CH6"});
    EXPECT_EQ(layout.rows[4].texts, std::vector<std::string>{"CH12"});
    EXPECT_EQ(layout.rows[0].image, 4);

    setList(ChannelBand::Cable, {1, 3});
    ChannelPageLogic cable(model, ChannelBand::Cable, ChannelNumbering::ChannelNumber);
    EXPECT_EQ(cable.listLayout().columns[0].heading, "CATV CHANNEL");
    EXPECT_EQ(cable.listLayout().rows[1].image, 5);
    EXPECT_EQ(ChannelPageLogic::scanRow(ChannelBand::Cable, 42).texts, std::vector<std::string>{"CH42"});
}

TEST_F(ChannelPageLogicTest, ListPositionRowsShowPositionAndChannelWithoutImages) {
    setList(ChannelBand::Broadcast, {6, 9, 11});
    ChannelPageLogic logic(model, ChannelBand::Broadcast, ChannelNumbering::ListPosition);
    const ChannelListLayout layout = logic.listLayout();
    ASSERT_EQ(layout.columns.size(), 2u);
    EXPECT_EQ(layout.columns[0].heading, "CH");
    EXPECT_EQ(layout.columns[0].width, 36);
    EXPECT_EQ(layout.columns[0].format, framework::LVCFMT_LEFT);
    EXPECT_EQ(layout.columns[1].heading, "TV CHANNEL");
    EXPECT_EQ(layout.columns[1].width, 130);
    ASSERT_EQ(layout.rows.size(), 3u);
    EXPECT_EQ(layout.rows[0].texts, (std::vector<std::string>{"1", "CH6"}));
    EXPECT_EQ(layout.rows[1].texts, (std::vector<std::string>{"2", "CH9"}));
    EXPECT_EQ(layout.rows[2].texts, (std::vector<std::string>{"3", "CH11"}));
    EXPECT_EQ(layout.rows[2].image, -1);
}

TEST_F(ChannelPageLogicTest, CurrentRowIsTheChannelsPositionOrRowZero) {
    ChannelPageLogic logic(model, ChannelBand::Broadcast, ChannelNumbering::ChannelNumber);
    logic.open(9, 9);
    EXPECT_EQ(logic.currentChannel(), 9);
    EXPECT_EQ(logic.currentRow(), 2);
    logic.open(8, 8);  // not registered
    EXPECT_EQ(logic.currentRow(), 0);
}

TEST_F(ChannelPageLogicTest, ListPositionsStartFromTheViewersChannelAndItsPosition) {
    setList(ChannelBand::Broadcast, {6, 9, 11});
    ChannelPageLogic logic(model, ChannelBand::Broadcast, ChannelNumbering::ListPosition);
    logic.open(2, 9);  // the viewer shows position 2, which is channel 9
    EXPECT_EQ(logic.currentChannel(), 9);
    EXPECT_EQ(logic.currentRow(), 1);
    EXPECT_EQ(logic.frequencyView().channelLabel, "CH : 2");
}

TEST_F(ChannelPageLogicTest, ARegisteredScanMakesItsFirstChannelAndRowCurrent) {
    setList(ChannelBand::Broadcast, {2, 7});  // what the scan registered
    ChannelPageLogic logic(model, ChannelBand::Broadcast, ChannelNumbering::ListPosition);
    logic.open(3, 11);  // the viewer was on the third entry of the old list
    logic.scanRegistered(2);
    EXPECT_EQ(logic.currentChannel(), 2);
    EXPECT_EQ(logic.currentRow(), 0);
}

TEST_F(ChannelPageLogicTest, ChoosingMakesTheRowCurrentAndNamesTheChannelToTune) {
    model.registered().setFineTune(ChannelBand::Broadcast, 11, -3);
    ChannelPageLogic logic(model, ChannelBand::Broadcast, ChannelNumbering::ChannelNumber);
    logic.open(6, 6);
    EXPECT_EQ(logic.choose(3), 11);
    EXPECT_EQ(logic.currentChannel(), 11);
    EXPECT_EQ(logic.fineAtChoice(), -3);
    EXPECT_EQ(logic.choose(5), std::nullopt);
    EXPECT_EQ(logic.choose(-1), std::nullopt);
    EXPECT_EQ(logic.currentChannel(), 11);
}

TEST_F(ChannelPageLogicTest, FrequencyIsTheTableFrequencyPlusSixteenthsOfAMegahertz) {
    ChannelPageLogic logic(model, ChannelBand::Broadcast, ChannelNumbering::ChannelNumber);
    logic.open(7, 7);
    logic.choose(1);
    FrequencyView view = logic.frequencyView();
    EXPECT_EQ(view.bandLabel, "TV");
    EXPECT_EQ(view.channelLabel, "CH : 7");
    EXPECT_EQ(view.frequency, "175.2500");
    EXPECT_EQ(view.slider, 0);

    EXPECT_EQ(logic.setFineTuning(16), 7);
    EXPECT_EQ(logic.frequencyView().frequency, "176.2500");
    EXPECT_EQ(logic.frequencyView().slider, 16);
    logic.setFineTuning(-16);
    EXPECT_EQ(logic.frequencyView().frequency, "174.2500");
    logic.setFineTuning(1);
    EXPECT_EQ(logic.frequencyView().frequency, "175.3125");

    logic.choose(0);  // channel 6: the field is eight wide
    EXPECT_EQ(logic.frequencyView().frequency, " 83.2500");
}

TEST_F(ChannelPageLogicTest, DefaultAndCancelSetTheCurrentChannelsFineTuning) {
    model.registered().setFineTune(ChannelBand::Broadcast, 9, 5);
    ChannelPageLogic logic(model, ChannelBand::Broadcast, ChannelNumbering::ChannelNumber);
    logic.open(9, 9);
    logic.choose(2);
    logic.setFineTuning(12);
    EXPECT_EQ(logic.defaultFineTuning(), 9);
    EXPECT_EQ(model.registered().fineTune(ChannelBand::Broadcast, 9), 0);
    logic.setFineTuning(-7);
    EXPECT_EQ(logic.restoreFineTuning(), 9);
    EXPECT_EQ(model.registered().fineTune(ChannelBand::Broadcast, 9), 5);
}

TEST_F(ChannelPageLogicTest, DeleteQuestionIsTheNumberDirectlyFollowedByTheQuestion) {
    ChannelPageLogic logic(model, ChannelBand::Broadcast, ChannelNumbering::ChannelNumber);
    logic.open(12, 12);
    EXPECT_EQ(logic.deleteQuestion(), "12" + LoadMessage(162));
    EXPECT_EQ(logic.deleteQuestion().substr(0, 3), "12 ");
}

TEST_F(ChannelPageLogicTest, DeletingMovesTheCurrentChannelToTheNextOrThePreviousEntry) {
    ChannelPageLogic logic(model, ChannelBand::Broadcast, ChannelNumbering::ChannelNumber);
    logic.open(7, 7);
    DeleteOutcome outcome = logic.deleteCurrent([](const std::string&) { return true; });
    EXPECT_TRUE(outcome.deleted);
    EXPECT_FALSE(outcome.handled);  // the key goes on to the list
    EXPECT_EQ(outcome.row, 1);
    EXPECT_EQ(list(ChannelBand::Broadcast), (std::vector<int>{6, 9, 11, 12}));
    EXPECT_EQ(logic.currentChannel(), 9);

    logic.open(12, 12);  // the last of several: the previous one becomes current
    outcome = logic.deleteCurrent([](const std::string&) { return true; });
    EXPECT_EQ(outcome.row, 3);
    EXPECT_EQ(logic.currentChannel(), 11);
    EXPECT_EQ(logic.currentRow(), 2);
}

TEST_F(ChannelPageLogicTest, DeletingTheLastOfSeveralWithListPositionsMovesThePosition) {
    setList(ChannelBand::Broadcast, {6, 9, 11});
    ChannelPageLogic logic(model, ChannelBand::Broadcast, ChannelNumbering::ListPosition);
    logic.open(3, 11);
    logic.deleteCurrent([](const std::string&) { return true; });
    EXPECT_EQ(logic.currentChannel(), 9);
    EXPECT_EQ(logic.currentPosition(), 1);
}

TEST_F(ChannelPageLogicTest, DeletingTheOnlyChannelLeavesTheCurrentChannel) {
    setList(ChannelBand::Broadcast, {7});
    ChannelPageLogic logic(model, ChannelBand::Broadcast, ChannelNumbering::ChannelNumber);
    logic.open(7, 7);
    EXPECT_TRUE(logic.deleteCurrent([](const std::string&) { return true; }).deleted);
    EXPECT_EQ(model.registered().count(ChannelBand::Broadcast), 0);
    EXPECT_EQ(logic.currentChannel(), 7);
}

TEST_F(ChannelPageLogicTest, DeleteAsksNothingForAnEmptyListOrAnUnregisteredChannel) {
    ChannelPageLogic logic(model, ChannelBand::Broadcast, ChannelNumbering::ChannelNumber);
    int asked = 0;
    auto ask = [&](const std::string&) { return ++asked, true; };
    logic.open(8, 8);
    DeleteOutcome outcome = logic.deleteCurrent(ask);
    EXPECT_FALSE(outcome.handled);  // passed on
    EXPECT_FALSE(outcome.deleted);

    setList(ChannelBand::Broadcast, {});
    outcome = logic.deleteCurrent(ask);
    EXPECT_TRUE(outcome.handled);  // swallowed
    EXPECT_EQ(asked, 0);
}

TEST_F(ChannelPageLogicTest, AnswerOtherThanYesSwallowsTheKeyAndKeepsTheList) {
    ChannelPageLogic logic(model, ChannelBand::Broadcast, ChannelNumbering::ChannelNumber);
    logic.open(9, 9);
    const DeleteOutcome outcome = logic.deleteCurrent([](const std::string&) { return false; });
    EXPECT_TRUE(outcome.handled);
    EXPECT_FALSE(outcome.deleted);
    EXPECT_EQ(list(ChannelBand::Broadcast).size(), 5u);
}

}  // namespace
}  // namespace kelto::viewer::config
