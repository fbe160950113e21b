#pragma once
// What the still page works out without widgets: the current folder and stem (the pair of the
// current file type), the next file a capture writes and the picture size text.
#include "settings/ViewerSettings.h"

#include <cstdint>
#include <string>

namespace kelto::viewer::capturesheet {

// The folder and stem of the current still file type ("imageformat": 0 BMP, 1 JPG).
std::string& currentStillFolder(ViewerSettings& settings);
std::string& currentStillStem(ViewerSettings& settings);
const std::string& currentStillFolder(const ViewerSettings& settings);
const std::string& currentStillStem(const ViewerSettings& settings);

// The full path the next still capture writes: the next numbered name in the current folder.
std::string nextStillFile(const ViewerSettings& settings);

// The picture size text for the capture window's image width: the four sizes the driver offers
// by name, anything else as 320*240.
std::string pictureSizeText(std::uint32_t imageWidth);


}  // namespace kelto::viewer::capturesheet
