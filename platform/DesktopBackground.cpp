#include "platform/DesktopBackground.h"

#include "platform/Registry.h"

#include <atomic>

namespace kelto::platform {

SessionDesktopBackground::SessionDesktopBackground() {
    Registry& registry = Registry::instance();
    pattern_ = registry.queryString(RegHive::CurrentUser, kDesktopKey, "Pattern").value_or("");
    wallpaper_ = registry.queryString(RegHive::CurrentUser, kDesktopKey, "Wallpaper").value_or("");
}

void RecordingDesktopBackground::setPattern(const std::string& pattern) {
    calls_.push_back({Call::SetPattern, pattern, 0});
    SessionDesktopBackground::setPattern(pattern);
}

void RecordingDesktopBackground::setColour(PackedColour colour) {
    calls_.push_back({Call::SetColour, {}, colour});
    SessionDesktopBackground::setColour(colour);
}

void RecordingDesktopBackground::setWallpaper(const std::string& file) {
    calls_.push_back({Call::SetWallpaper, file, 0});
    SessionDesktopBackground::setWallpaper(file);
}

namespace {
std::atomic<DesktopBackground*> installedBackground{nullptr};
}

DesktopBackground& desktopBackground() {
    static SessionDesktopBackground session;
    DesktopBackground* installed = installedBackground.load();
    return installed ? *installed : session;
}

void setDesktopBackground(DesktopBackground* backend) { installedBackground.store(backend); }

}  // namespace kelto::platform
