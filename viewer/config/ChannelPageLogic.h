#pragma once
// The channel page without its widgets: which rows the registered list shows (channel numbers,
// or list positions with country code 86), which row is the current channel's, choosing a row,
// the frequency shown for it, fine tuning, deleting the current channel and the apply. The page
// hands the results to its controls and tunes what this class names; tests drive it directly.
#include "channels/ChannelModel.h"

#include <optional>
#include <string>
#include <vector>

namespace kelto::viewer::config {

// The registered list's columns and rows as the page fills them.
struct ChannelListColumn {
    std::string heading;
    int format = 0;  // framework::LVCFMT_*
    int width = 0;
};
struct ChannelListRow {
    std::vector<std::string> texts;  // one per column
    int image = -1;                  // small image, -1 none
};
struct ChannelListLayout {
    std::vector<ChannelListColumn> columns;
    std::vector<ChannelListRow> rows;
};

// What the frequency group shows.
struct FrequencyView {
    std::string bandLabel;     // "TV" or "CATV"
    std::string channelLabel;  // "CH : " and the number
    std::string frequency;     // MHz, "%8.4f"
    int slider = 0;            // the fine tuning
};

// The outcome of the Delete key.
struct DeleteOutcome {
    bool handled = false;  // the key is swallowed (empty list, or the question not answered Yes)
    bool deleted = false;
    int row = -1;          // the deleted row
};

class ChannelPageLogic {
public:
    // Small images of the rows (of bitmap 133's strip): broadcast and cable.
    static constexpr int kBroadcastImage = 4;
    static constexpr int kCableImage = 5;
    static constexpr int kFineLowest = -16;
    static constexpr int kFineHighest = 16;

    ChannelPageLogic(ChannelModel& model, ChannelBand band, ChannelNumbering numbering);

    ChannelBand band() const { return band_; }
    ChannelNumbering numbering() const { return numbering_; }
    bool listNumbering() const { return numbering_ == ChannelNumbering::ListPosition; }

    // The list's columns and one row per registered channel of the band, in list order.
    ChannelListLayout listLayout() const;
    // The row the scan inserts for a channel it found.
    static ChannelListRow scanRow(ChannelBand band, int channel);
    static int rowImage(ChannelBand band) { return band == ChannelBand::Broadcast ? kBroadcastImage : kCableImage; }

    // Opening: the current channels from the number the viewer shows and, with list positions,
    // the channel of the band the viewer is on (`viewerChannel`); see docs/DECISIONS.md.
    void open(int displayedNumber, int viewerChannel);
    // The sheet's apply: the same from the viewer's state now.
    void apply(int displayedNumber, int viewerChannel) { open(displayedNumber, viewerChannel); }

    // The row of the current channel: the list position with list positions, else the first row
    // holding the channel, or row 0 when none does. The list may have no such row.
    int currentRow() const;
    // A row chosen (by the user or by the program's selection): it becomes current. The channel
    // to tune, or nullopt for a row outside the list.
    std::optional<int> choose(int row);

    FrequencyView frequencyView() const;

    // Fine tuning of the current channel from the slider, back to 0, or back to its value at
    // choice. Each returns the channel to tune.
    int setFineTuning(int steps);
    int defaultFineTuning() { return setFineTuning(0); }
    int restoreFineTuning() { return setFineTuning(fineAtChoice_); }

    // The delete question for the current channel: the number directly followed by string 162.
    std::string deleteQuestion() const;
    // The Delete key with the answer `ask` gives (called only when there is something to ask).
    template <typename Ask>
    DeleteOutcome deleteCurrent(Ask&& ask);

    // A scan was registered: the band's list holds what it found; the first becomes current.
    void scanRegistered(int firstChannel);

    int currentChannel() const { return band_ == ChannelBand::Broadcast ? currentBroadcast_ : currentCable_; }
    int currentPosition() const { return currentPosition_; }
    int fineAtChoice() const { return fineAtChoice_; }

private:
    int& current() { return band_ == ChannelBand::Broadcast ? currentBroadcast_ : currentCable_; }
    // Removes the current channel's entry (position `position`) and moves the current channel on.
    void removeCurrentAt(int position);

    ChannelModel& model_;
    ChannelBand band_;
    ChannelNumbering numbering_;
    int currentBroadcast_ = 0;
    int currentCable_ = 0;
    int currentPosition_ = 0;
    int fineAtChoice_ = 0;
};

template <typename Ask>
DeleteOutcome ChannelPageLogic::deleteCurrent(Ask&& ask) {
    RegisteredChannels& registered = model_.registered();
    if (registered.count(band_) == 0) return {.handled = true};
    const int position = registered.positionOf(band_, currentChannel());
    if (position < 0) return {};
    if (!ask(deleteQuestion())) return {.handled = true};
    removeCurrentAt(position);
    return {.handled = false, .deleted = true, .row = position};
}

}  // namespace kelto::viewer::config
