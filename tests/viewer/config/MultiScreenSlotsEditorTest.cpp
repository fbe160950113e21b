// The multi-screen page's rules without widgets: adding to and removing from a band's 16 slots,
// the layouts the view can draw, and the channel list's rows in both numberings.
#include "viewer/config/MultiScreenChannelRows.h"
#include "viewer/config/MultiScreenSlotsEditor.h"

#include <gtest/gtest.h>

namespace kelto::viewer::config {
namespace {

MultiScreenSlots slotsOf(std::initializer_list<int> values) {
    MultiScreenSlots s{};
    int n = 1;
    for (int v : values) s[std::size_t(n++)] = v;
    return s;
}

TEST(MultiScreenSlotsEditorTest, AddingFillsTheFirstEmptySlotOnceAndNeverASeventeenth) {
    MultiScreenSlotsEditor editor(4, slotsOf({7, 0, 9}), {});
    // The gap a stored registration may have is taken first.
    EXPECT_EQ(editor.add(ChannelBand::Broadcast, 11), 2);
    EXPECT_EQ(editor.bandSlots(ChannelBand::Broadcast), slotsOf({7, 11, 9}));
    // A channel already in a slot, and no channel at all, change nothing.
    EXPECT_EQ(editor.add(ChannelBand::Broadcast, 9), 0);
    EXPECT_EQ(editor.add(ChannelBand::Broadcast, 0), 0);
    EXPECT_EQ(editor.add(ChannelBand::Broadcast, -3), 0);
    EXPECT_EQ(editor.bandSlots(ChannelBand::Broadcast), slotsOf({7, 11, 9}));

    for (int channel = 20; channel < 33; ++channel) EXPECT_EQ(editor.add(ChannelBand::Broadcast, channel), channel - 16);
    const MultiScreenSlots full = editor.bandSlots(ChannelBand::Broadcast);
    EXPECT_EQ(full[16], 32);
    EXPECT_EQ(editor.add(ChannelBand::Broadcast, 40), 0);  // the 17th
    EXPECT_EQ(editor.bandSlots(ChannelBand::Broadcast), full);
    // The other band is its own.
    EXPECT_EQ(editor.bandSlots(ChannelBand::Cable), MultiScreenSlots{});
    EXPECT_EQ(editor.add(ChannelBand::Cable, 9), 1);
}

TEST(MultiScreenSlotsEditorTest, RemovingMovesTheLaterSlotsUpAndEmptiesTheLast) {
    MultiScreenSlots all{};
    for (int n = 1; n <= 16; ++n) all[std::size_t(n)] = 100 + n;
    MultiScreenSlotsEditor editor(16, {}, all);
    ASSERT_TRUE(editor.remove(ChannelBand::Cable, 2));
    const MultiScreenSlots& s = editor.bandSlots(ChannelBand::Cable);
    EXPECT_EQ(s[1], 101);
    for (int n = 2; n <= 15; ++n) EXPECT_EQ(s[std::size_t(n)], 101 + n) << "slot " << n;
    EXPECT_EQ(s[16], 0);
    // Removing the last filled slot, an empty slot, or no slot at all.
    EXPECT_TRUE(editor.remove(ChannelBand::Cable, 15));
    EXPECT_EQ(editor.slot(ChannelBand::Cable, 15), 0);
    const MultiScreenSlots before = editor.bandSlots(ChannelBand::Cable);
    EXPECT_FALSE(editor.remove(ChannelBand::Cable, 16));
    EXPECT_FALSE(editor.remove(ChannelBand::Cable, 0));
    EXPECT_FALSE(editor.remove(ChannelBand::Cable, 17));
    EXPECT_EQ(editor.bandSlots(ChannelBand::Cable), before);
    EXPECT_EQ(editor.bandSlots(ChannelBand::Broadcast), MultiScreenSlots{});
}

TEST(MultiScreenSlotsEditorTest, OnlyTheThreeLayoutsAreKept) {
    EXPECT_EQ(MultiScreenSlotsEditor(9, {}, {}).cells(), 9);
    EXPECT_EQ(MultiScreenSlotsEditor(16, {}, {}).cells(), 16);
    // A damaged store: the view has no geometry for other counts.
    for (int stored : {0, 5, 25, -4}) EXPECT_EQ(MultiScreenSlotsEditor(stored, {}, {}).cells(), 4) << stored;
    EXPECT_EQ(MultiScreenSlotsEditor::slotText(0), "");
    EXPECT_EQ(MultiScreenSlotsEditor::slotText(125), "125");
}

TEST(MultiScreenChannelRowsTest, ChannelNumberingListsTheBandLowestToHighest) {
    const ChannelBounds bounds{2, 69, 1, 125};
    const RegisteredChannels registered;
    const auto tv = multiScreenChannelRows(ChannelBand::Broadcast, bounds, registered, ChannelNumbering::ChannelNumber);
    ASSERT_EQ(tv.rows.size(), 68u);
    EXPECT_EQ(tv.headings, std::vector<std::string>{"TV CHANNEL"});
    EXPECT_EQ(tv.rows[5].channel, 7);
    EXPECT_EQ(tv.rows[5].slotValue, 7);
    EXPECT_EQ(tv.rows[5].texts, std::vector<std::string>{"CH7"});
    EXPECT_EQ(tv.rowOfChannel(69), 67);
    EXPECT_EQ(tv.rowOfChannel(70), -1);

    const auto catv = multiScreenChannelRows(ChannelBand::Cable, bounds, registered, ChannelNumbering::ChannelNumber);
    ASSERT_EQ(catv.rows.size(), 125u);
    EXPECT_EQ(catv.headings, std::vector<std::string>{"CATV CHANNEL"});
    // Limits beyond the channel numbers, a band with L = H, and one with L above H.
    EXPECT_EQ(multiScreenChannelRows(ChannelBand::Broadcast, {-3, 300, 0, 0}, registered, ChannelNumbering::ChannelNumber)
                  .rows.size(),
              256u);
    EXPECT_EQ(multiScreenChannelRows(ChannelBand::Broadcast, {9, 9, 0, 0}, registered, ChannelNumbering::ChannelNumber)
                  .rows.front()
                  .channel,
              9);
    EXPECT_TRUE(multiScreenChannelRows(ChannelBand::Broadcast, {10, 9, 0, 0}, registered, ChannelNumbering::ChannelNumber)
                    .rows.empty());
}

TEST(MultiScreenChannelRowsTest, ListPositionNumberingListsTheRegisteredChannelsAndStoresTheirPositions) {
    RegisteredList tv;
    tv.channels[0] = 6;
    tv.channels[1] = 9;
    tv.channels[2] = 11;
    tv.count = 3;
    const RegisteredChannels registered(tv, {}, {}, {});
    const auto rows = multiScreenChannelRows(ChannelBand::Broadcast, {2, 69, 1, 125}, registered, ChannelNumbering::ListPosition);
    ASSERT_EQ(rows.rows.size(), 3u);
    EXPECT_EQ(rows.headings, (std::vector<std::string>{"CH", "TV CHANNEL"}));
    EXPECT_EQ(rows.rows[1].texts, (std::vector<std::string>{"2", "CH9"}));
    EXPECT_EQ(rows.rows[1].channel, 9);
    EXPECT_EQ(rows.rows[1].slotValue, 2);
    EXPECT_TRUE(
        multiScreenChannelRows(ChannelBand::Cable, {2, 69, 1, 125}, registered, ChannelNumbering::ListPosition).rows.empty());
    EXPECT_EQ(multiScreenSlotHeading(ChannelBand::Cable, ChannelNumbering::ListPosition), "CH");
    EXPECT_EQ(multiScreenSlotHeading(ChannelBand::Cable, ChannelNumbering::ChannelNumber), "CATV CHANNEL");
}

}  // namespace
}  // namespace kelto::viewer::config
