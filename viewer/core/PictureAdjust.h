#pragma once
// The picture adjustment the remote control switches on: one of the four picture levels is
// selected and stepped between 0 and 127.
#include "settings/ViewerSettings.h"

#include <string>

namespace kelto::viewer {

enum class PictureItem { Brightness = 0, Contrast = 1, Hue = 2, Saturation = 3 };

constexpr int kPictureLevelMax = 127;

// The store's name of an item's level ("s_brightness", ...) and its display caption.
const char* pictureLevelName(PictureItem item);
// "BRIGHTNESS %3d : " with the value, followed by value / 8 letters "I".
std::string pictureLevelText(PictureItem item, int value);

int& pictureLevel(PictureLevels& levels, PictureItem item);

class PictureAdjust {
public:
    bool active() const { return active_; }
    PictureItem item() const { return item_; }
    // Switches the mode; switching it on selects brightness.
    void toggle();
    // Next (after saturation comes brightness) or previous item.
    void nextItem();
    void previousItem();

private:
    bool active_ = false;
    PictureItem item_ = PictureItem::Brightness;
};

}  // namespace kelto::viewer
