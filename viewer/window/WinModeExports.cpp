#include "viewer/window/WinModeExports.h"

#include "platform/Trace.h"

namespace kelto::viewer {

namespace {

constexpr int kEnumerationAttempts = 3;

SavedWinMode& record() {
    static SavedWinMode saved;
    return saved;
}

// The mode in use at the save, by the display's own name for it, so that the restore brings
// back that very mode (its refresh too) and not merely one of its size.
std::uint64_t& savedExactId() {
    static std::uint64_t id = 0;
    return id;
}

int saveWinMode() {
    SavedWinMode& saved = record();
    platform::DisplayModes& display = platform::displayModes();
    const auto current = display.current();
    if (!current) return 0;
    saved.bitsPerPixel = current->bitsPerPixel;
    saved.width = current->width;
    saved.height = current->height;
    savedExactId() = current->id;
    int failures = 0;
    for (int index = 0;;) {
        platform::DisplayMode mode;
        switch (display.mode(index, mode)) {
        case platform::ModeQuery::Found:
            if (mode.bitsPerPixel == saved.bitsPerPixel && mode.width == saved.width && mode.height == saved.height) {
                saved.description = mode;
                return 1;
            }
            ++index;
            break;
        case platform::ModeQuery::End: return 0;
        case platform::ModeQuery::Failed:
            // The same index again, up to the third failure.
            if (++failures >= kEnumerationAttempts) {
                platform::tracef("Display: the display's modes could not be read");
                return 0;
            }
            break;
        }
    }
}

// Puts the kept description, with the depth and size given, on the display: for the session,
// then as the display's setting.
int applyKept(int bitsPerPixel, int width, int height, std::uint64_t exactId) {
    SavedWinMode& saved = record();
    if (!saved.description) return 0;
    platform::DisplayMode& mode = *saved.description;
    mode.bitsPerPixel = bitsPerPixel;
    mode.width = width;
    mode.height = height;
    mode.id = exactId;
    platform::DisplayModes& display = platform::displayModes();
    if (!display.apply(mode, false)) return 0;
    return display.apply(mode, true) ? 1 : 0;
}

int setWin640x480Mode() {
    const auto current = platform::displayModes().current();
    return applyKept(current ? current->bitsPerPixel : record().bitsPerPixel, 640, 480, 0);
}

int restoreWinMode() {
    const SavedWinMode& saved = record();
    return applyKept(saved.bitsPerPixel, saved.width, saved.height, savedExactId());
}

}  // namespace

const SavedWinMode& savedWinMode() { return record(); }
void forgetSavedWinMode() {
    record() = {};
    savedExactId() = 0;
}

}  // namespace kelto::viewer

extern "C" int SaveWinMode(void*) { return kelto::viewer::saveWinMode(); }
extern "C" int SetWin640x480Mode(void*) { return kelto::viewer::setWin640x480Mode(); }
extern "C" int RestoreWinMode(void*) { return kelto::viewer::restoreWinMode(); }
