#pragma once
// Finding the cards a user can choose: the Video4Linux2 capture devices present, with their
// kernel driver, name, inputs and whether they have a tuner, and the card file lines that choose
// one ("KeltoTV --list-cards").
#include "v4l2/VideoDevice.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kelto::v4l2 {

struct CardListing {
    std::string path;
    std::string error;  // why it could not be opened; empty when it could
    std::string driver;
    std::string card;
    std::vector<std::string> inputs;
    bool tuner = false;
};

// The capture devices among the opener's devices (others, such as radio or output devices, are
// left out); a device that cannot be opened is listed with the reason.
std::vector<CardListing> findCards(DeviceOpener& opener);
// The listing as the user reads it, with the radio devices present and the ALSA device the card's
// sound would be captured from (empty: none found), ending with the lines to put in the card file.
std::string cardListText(const std::vector<CardListing>& cards, const std::vector<std::string>& radios,
                         const std::string& soundDevice, const std::filesystem::path& cardFile);
std::string cardListText();

}  // namespace kelto::v4l2
