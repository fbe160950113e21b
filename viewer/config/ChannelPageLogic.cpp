#include "viewer/config/ChannelPageLogic.h"

#include "framework/ReportListRules.h"
#include "resources/StringTable.h"

#include <cstdio>

namespace kelto::viewer::config {

namespace {

constexpr int kChannelColumnWidth = 130;
constexpr int kPositionColumnWidth = 36;
constexpr double kMHzPerFineStep = 0.0625;

std::string channelText(int channel) { return "CH" + std::to_string(channel); }

}  // namespace

ChannelPageLogic::ChannelPageLogic(ChannelModel& model, ChannelBand band, ChannelNumbering numbering)
    : model_(model), band_(band), numbering_(numbering) {}

ChannelListLayout ChannelPageLogic::listLayout() const {
    const std::string bandHeading = band_ == ChannelBand::Broadcast ? "TV CHANNEL" : "CATV CHANNEL";
    ChannelListLayout layout;
    const RegisteredChannels& registered = model_.registered();
    const int count = registered.count(band_);
    if (listNumbering()) {
        layout.columns = {{"CH", framework::LVCFMT_LEFT, kPositionColumnWidth},
                          {bandHeading, framework::LVCFMT_LEFT, kChannelColumnWidth}};
        for (int i = 0; i < count; ++i)
            layout.rows.push_back({{std::to_string(i + 1), channelText(registered.entry(band_, i))}, -1});
    } else {
        layout.columns = {{bandHeading, framework::LVCFMT_CENTER, kChannelColumnWidth}};
        for (int i = 0; i < count; ++i) layout.rows.push_back(scanRow(band_, registered.entry(band_, i)));
    }
    return layout;
}

ChannelListRow ChannelPageLogic::scanRow(ChannelBand band, int channel) {
    return {{channelText(channel)}, rowImage(band)};
}

void ChannelPageLogic::open(int displayedNumber, int viewerChannel) {
    // With list positions the viewer shows a position, not a channel: the page starts from the
    // channel the viewer is on, so fine tuning and Delete act on a real channel even before a row
    // is chosen.
    const int channel = listNumbering() ? viewerChannel : displayedNumber;
    currentBroadcast_ = channel;
    currentCable_ = channel;
    if (listNumbering()) currentPosition_ = displayedNumber - 1;
    fineAtChoice_ = model_.registered().fineTune(band_, channel);
}

int ChannelPageLogic::currentRow() const {
    if (listNumbering()) return currentPosition_;
    const int position = model_.registered().positionOf(band_, currentChannel());
    return position < 0 ? 0 : position;
}

std::optional<int> ChannelPageLogic::choose(int row) {
    const RegisteredChannels& registered = model_.registered();
    if (row < 0 || row >= registered.count(band_)) return std::nullopt;
    currentPosition_ = row;
    current() = registered.entry(band_, row);
    fineAtChoice_ = registered.fineTune(band_, currentChannel());
    return currentChannel();
}

FrequencyView ChannelPageLogic::frequencyView() const {
    FrequencyView view;
    view.bandLabel = band_ == ChannelBand::Broadcast ? "TV" : "CATV";
    const int number = listNumbering() ? currentPosition_ + 1 : currentChannel();
    view.channelLabel = "CH : " + std::to_string(number);
    view.slider = model_.registered().fineTune(band_, currentChannel());
    const double mhz = double(model_.channelMHz(band_, currentChannel())) + view.slider * kMHzPerFineStep;
    char text[64];
    std::snprintf(text, sizeof text, "%8.4f", mhz);
    view.frequency = text;
    return view;
}

int ChannelPageLogic::setFineTuning(int steps) {
    model_.registered().setFineTune(band_, currentChannel(), steps);
    return currentChannel();
}

std::string ChannelPageLogic::deleteQuestion() const { return std::to_string(currentChannel()) + LoadMessage(162); }

void ChannelPageLogic::removeCurrentAt(int position) {
    RegisteredChannels& registered = model_.registered();
    registered.removeAt(band_, position);
    const int count = registered.count(band_);
    if (count == 0) return;  // the current channel stays as it was
    if (position < count) {
        current() = registered.entry(band_, position);
        if (listNumbering()) currentPosition_ = position;
    } else {
        current() = registered.entry(band_, position - 1);
        if (listNumbering()) currentPosition_ = position - 1;
    }
}

void ChannelPageLogic::scanRegistered(int firstChannel) {
    current() = firstChannel;
    // The first found channel heads the new list; with list positions its row is row 0.
    currentPosition_ = 0;
}

}  // namespace kelto::viewer::config
