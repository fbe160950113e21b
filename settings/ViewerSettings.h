#pragma once
// The viewer's saved state as a plain record, with the orders in which it is read when the
// viewer opens and written when it closes. The viewer keeps its own copy of everything here;
// the store is touched only by these functions (and by the few dialogs that save at once).
#include "settings/SettingsStore.h"
#include "settings/ColorTriple.h"
#include "settings/VideoMode.h"
#include "settings/ChannelTypes.h"

#include <array>
#include <functional>
#include <string>

namespace kelto {

// Section names of the store.
namespace section {
constexpr const char* kUser = "user";
constexpr const char* kMulti = "multi";
constexpr const char* kTvChannel = "tvchannel";
constexpr const char* kCatvChannel = "catvchannel";
constexpr const char* kTvFineTune = "tvfinetune";
constexpr const char* kCatvFineTune = "catvfinetune";
}  // namespace section

constexpr int kMultiScreenSlots = 16;

struct WindowRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const WindowRect&) const = default;
};

struct PictureLevels {
    int brightness = 64;
    int contrast = 64;
    int hue = 64;
    int saturation = 64;
    bool operator==(const PictureLevels&) const = default;
};

struct ViewerSettings {
    int countryCode = 0;

    // Capture folders, file-name stems and formats.
    std::string bmpDirectory, jpgDirectory, aviDirectory, mpg1Directory, mpg2Directory;
    std::string bmpFileName, jpgFileName, aviFileName, mpg1FileName, mpg2FileName;
    int imageFormat = 0;
    int imageShow = 1;
    int streamFormat = 0;
    int videoCompress = 0;
    int audioCompress = 0;
    int capStreamWidth = 320;
    int capStreamHeight = 240;
    int capImageWidth = 320;
    int capImageHeight = 240;
    std::string frequencyName = "Default";
    int scanType = 0;
    int enableSvhs = 0;

    bool savedStateExists = false;  // "s_flag"
    ColorTriple colorKey{255, 0, 255};
    ColorTriple osdColor{255, 255, 0};
    int tooltip = 1;
    WindowRect window;

    // The registered lists and fine tuning as the store holds them (channel n at index n - 1).
    // While the viewer runs, its channel model holds them: they are handed over when the
    // hardware starts and taken back before the save.
    RegisteredList tvList;
    RegisteredList catvList;
    FineTuneTable tvFineTune{};
    FineTuneTable catvFineTune{};

    int tvChannel = 0;
    int catvChannel = 0;
    VideoMode videoMode = VideoMode::TV;
    bool closedCaptions = false;

    int multiSelect = 4;
    std::array<int, kMultiScreenSlots + 1> multiTv{};    // slots 1..16
    std::array<int, kMultiScreenSlots + 1> multiCatv{};  // slots 1..16

    int fullScreen = 0;
    int aboveScreen = 0;
    int windowTle = 0;  // TV frame hidden
    int forceDisplayChange = 0;

    // "s_volume": the mixer line that serves as volume control. Read with the rest so that the
    // close writes back what was loaded; the viewer selects the line once its mixer is open.
    int volumeLine = 0;
    // Read later in the viewer's start (loadPictureLevels).
    PictureLevels picture;
};

struct SettingsLoadContext {
    int desktopWidth = 1024;
    int desktopHeight = 768;
    // Folder the capture settings default to ("f_directory" as written at start).
    std::string captureFolder;
};

// Makes the channel tables of a country and table name ("Default": the country file) the active
// ones and returns their band limits.
using ChooseChannelTables = std::function<ChannelBounds(int countryCode, const std::string& frequencyName)>;

// Reads the settings in the viewer's opening order (country code; capture settings; the channel
// tables, through chooseTables; s_flag with colours and window; channel lists; fine tuning;
// channels and mode; closed captions; multi-screen; display modes; the volume line). The tables
// are chosen before the saved channels are read because, with country code 86, each saved
// channel is checked against its band's registered list and limits.
ViewerSettings loadViewerSettings(const SettingsStore& store, const SettingsLoadContext& context,
                                  const ChooseChannelTables& chooseTables);

// A later step of the opening: the picture levels from the "s_" family when "s_screenflag" is
// set, else from the "f_" family.
PictureLevels loadPictureLevels(const SettingsStore& store);

// Writes the settings in the viewer's closing order, as one save of the store.
void saveViewerSettings(SettingsStore& store, const ViewerSettings& settings);

// Writes every factory default ("f_" values and the factory channel lists), unconditionally, and
// the factory capture folder derived from the program path (created when missing) as
// "f_directory" with "Kelto" as "f_filename". Returns the capture folder.
std::string writeFactoryDefaults(SettingsStore& store, const std::string& programPath);

// For country code 86: a saved channel not in the list becomes the list's first entry, or -1
// when that entry lies outside [lowest, highest].
int validateListChannel(int channel, const RegisteredList& list, int lowest, int highest);

}  // namespace kelto
