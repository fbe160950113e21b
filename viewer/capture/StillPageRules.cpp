#include "viewer/capture/StillPageRules.h"

#include "capture/CaptureTypes.h"
#include "capture/NextCaptureFileName.h"

#include <system_error>

namespace kelto::viewer::capturesheet {

std::string& currentStillFolder(ViewerSettings& settings) {
    return settings.imageFormat == 1 ? settings.jpgDirectory : settings.bmpDirectory;
}
std::string& currentStillStem(ViewerSettings& settings) {
    return settings.imageFormat == 1 ? settings.jpgFileName : settings.bmpFileName;
}
const std::string& currentStillFolder(const ViewerSettings& settings) {
    return settings.imageFormat == 1 ? settings.jpgDirectory : settings.bmpDirectory;
}
const std::string& currentStillStem(const ViewerSettings& settings) {
    return settings.imageFormat == 1 ? settings.jpgFileName : settings.bmpFileName;
}

std::string nextStillFile(const ViewerSettings& settings) {
    return capture::NextCaptureFileName(currentStillFolder(settings), currentStillStem(settings),
                                        settings.imageFormat == 1 ? capture::StillFileType::Jpg
                                                                  : capture::StillFileType::Bmp);
}

std::string pictureSizeText(std::uint32_t imageWidth) {
    switch (imageWidth) {
    case 80: return "80*60";
    case 160: return "160*120";
    case 640: return "640*480";
    default: return "320*240";
    }
}

}  // namespace kelto::viewer::capturesheet
