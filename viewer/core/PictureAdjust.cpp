#include "viewer/core/PictureAdjust.h"

#include <cstdio>

namespace kelto::viewer {

namespace {
constexpr int kItemCount = 4;
}

const char* pictureLevelName(PictureItem item) {
    switch (item) {
    case PictureItem::Brightness: return "s_brightness";
    case PictureItem::Contrast: return "s_contrast";
    case PictureItem::Hue: return "s_hue";
    case PictureItem::Saturation: return "s_saturation";
    }
    return "s_brightness";
}

std::string pictureLevelText(PictureItem item, int value) {
    static constexpr const char* kCaptions[] = {"BRIGHTNESS", "CONTRAST", "HUE", "SATURATION"};
    char head[40];
    std::snprintf(head, sizeof head, "%s %3d : ", kCaptions[int(item)], value);
    return head + std::string(std::size_t(value > 0 ? value / 8 : 0), 'I');
}

int& pictureLevel(PictureLevels& levels, PictureItem item) {
    switch (item) {
    case PictureItem::Contrast: return levels.contrast;
    case PictureItem::Hue: return levels.hue;
    case PictureItem::Saturation: return levels.saturation;
    case PictureItem::Brightness: break;
    }
    return levels.brightness;
}

void PictureAdjust::toggle() {
    active_ = !active_;
    item_ = PictureItem::Brightness;
}

void PictureAdjust::nextItem() { item_ = PictureItem((int(item_) + 1) % kItemCount); }

void PictureAdjust::previousItem() { item_ = PictureItem((int(item_) + kItemCount - 1) % kItemCount); }

}  // namespace kelto::viewer
