#include "v4l2/CardList.h"

#include "v4l2/CardSound.h"
#include "v4l2/V4l2CardConfig.h"

#include <linux/videodev2.h>

#include <cstring>

namespace kelto::v4l2 {

namespace {

constexpr std::uint32_t kMaxInputs = 16;

std::string fieldText(const std::uint8_t* field, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(field), strnlen(reinterpret_cast<const char*>(field), size));
}

}  // namespace

std::vector<CardListing> findCards(DeviceOpener& opener) {
    std::vector<CardListing> cards;
    for (const std::string& path : opener.devicePaths(DeviceKind::Video)) {
        CardListing listing;
        listing.path = path;
        int error = 0;
        const auto device = opener.open(path, error);
        if (!device) {
            listing.error = std::strerror(error);
            if (error == EACCES) listing.error += " (is the user in the group that owns " + path + ", usually \"video\"?)";
            cards.push_back(listing);
            continue;
        }
        v4l2_capability caps{};
        if (device->ioctl(VIDIOC_QUERYCAP, &caps) != 0) continue;
        const std::uint32_t deviceCaps = (caps.capabilities & V4L2_CAP_DEVICE_CAPS) ? caps.device_caps : caps.capabilities;
        if (!(deviceCaps & V4L2_CAP_VIDEO_CAPTURE)) continue;
        listing.driver = fieldText(caps.driver, sizeof caps.driver);
        listing.card = fieldText(caps.card, sizeof caps.card);
        for (std::uint32_t i = 0; i < kMaxInputs; ++i) {
            v4l2_input input{};
            input.index = i;
            if (device->ioctl(VIDIOC_ENUMINPUT, &input) != 0) break;
            const bool isTuner = input.type == V4L2_INPUT_TYPE_TUNER;
            listing.inputs.push_back(fieldText(input.name, sizeof input.name) + (isTuner ? " (tuner)" : ""));
            listing.tuner = listing.tuner || isTuner;
        }
        cards.push_back(listing);
    }
    return cards;
}

std::string cardListText(const std::vector<CardListing>& cards, const std::vector<std::string>& radios,
                         const std::string& soundDevice, const std::filesystem::path& cardFile) {
    std::string text;
    const CardListing* first = nullptr;
    for (const CardListing& card : cards) {
        if (!card.error.empty()) {
            text += card.path + ": cannot be opened: " + card.error + "\n";
            continue;
        }
        if (!first) first = &card;
        text += card.path + ": " + card.card + " (driver " + card.driver + ")" +
                (card.driver == "bttv" ? ", a Bt848/Bt878 card" : "") + "\n";
        std::string inputs;
        for (const std::string& input : card.inputs) inputs += (inputs.empty() ? "" : ", ") + input;
        text += "    inputs: " + (inputs.empty() ? std::string("none") : inputs) + "\n";
        text += std::string("    tuner: ") + (card.tuner ? "yes" : "no") + "\n";
        text += "    to use it, in the [Card] section of the card file: Driver=v4l2 and Device=" + card.path + "\n";
    }
    for (const std::string& radio : radios)
        text += radio + ": a radio device; for the FM radio, in the [Card] section: RadioDevice=" + radio + "\n";
    if (!first) {
        text += "No Video4Linux2 capture card is present";
        text += cards.empty() ? " (no /dev/video device).\n" : ".\n";
        text += "KeltoTV runs on the simulated card described in " + cardFile.string() + ".\n";
        return text;
    }
    if (!soundDevice.empty())
        text += "The card's sound is captured from the ALSA device " + soundDevice +
                "; SoundDevice= in the [Card] section names another.\n";
    else
        text += "No Bt87x sound device is present, so the card's sound is not played. If it is wired to a sound "
                "card's line input, name that capture device in the [Card] section, for example SoundDevice=hw:0,0\n";
    text += "\nThe card file is " + cardFile.string() + " (KELTO_CARD names another). For " + first->path +
            ", its [Card] section holds:\n  Driver=v4l2\n  Device=" + first->path + "\n";
    return text;
}

std::string cardListText() {
    const std::filesystem::path cardFile = cardFilePath();
    return cardListText(findCards(systemDeviceOpener()), systemDeviceOpener().devicePaths(DeviceKind::Radio),
                        cardSoundDevice(readV4l2CardConfig(cardFile)), cardFile);
}

}  // namespace kelto::v4l2
