#include "settings/ViewerSettings.h"

#include "platform/Paths.h"
#include "platform/SystemInfo.h"
#include "platform/Text.h"
#include "platform/Trace.h"

#include <filesystem>
#include <optional>

namespace kelto {

using platform::formatText;

namespace {

constexpr const char* kDefaultStem = "Kelto";
constexpr int kFactoryChannels[] = {6, 7, 9, 11, 12};

std::string numbered(const char* pattern, int n) { return formatText(pattern, n); }

void loadList(const SettingsStore& store, const char* sectionName, const char* countName, bool saved,
              RegisteredList& list) {
    list = RegisteredList{};
    if (!saved) {
        for (int n = 1; n <= 5; ++n) list.channels[std::size_t(n - 1)] = store.readInt(sectionName, numbered("f_ch%d", n), 0);
        list.count = 5;
        return;
    }
    const int count = store.readInt(sectionName, countName, 0);
    // The count indexes a 256-entry array: a value outside 0..256 in the store is clipped.
    list.count = count < 0 ? 0 : (count > kMaxChannel ? kMaxChannel : count);
    if (list.count != count) platform::tracef("Settings: %s %s=%d clipped to %d", sectionName, countName, count, list.count);
    for (int n = 1; n <= list.count; ++n) list.channels[std::size_t(n - 1)] = store.readInt(sectionName, numbered("s_ch%d", n), 0);
}

void saveList(SettingsStore& store, const char* sectionName, const char* countName, const RegisteredList& list) {
    const int count = list.count < 0 ? 0 : (list.count > kMaxChannel ? kMaxChannel : list.count);
    for (int n = 1; n <= count; ++n) store.writeInt(sectionName, numbered("s_ch%d", n), list.channels[std::size_t(n - 1)]);
    store.writeInt(sectionName, countName, count);
}

ColorTriple readColor(const SettingsStore& store, const char* prefix, const char* base, ColorTriple fallback) {
    const std::string p = std::string(prefix) + base;
    return {store.readInt(section::kUser, p + "red", fallback.red), store.readInt(section::kUser, p + "green", fallback.green),
            store.readInt(section::kUser, p + "blue", fallback.blue)};
}

void writeColor(SettingsStore& store, const char* prefix, const char* base, ColorTriple color) {
    const std::string p = std::string(prefix) + base;
    store.writeInt(section::kUser, p + "red", color.red);
    store.writeInt(section::kUser, p + "green", color.green);
    store.writeInt(section::kUser, p + "blue", color.blue);
}

}  // namespace

int validateListChannel(int channel, const RegisteredList& list, int lowest, int highest) {
    if (list.indexOf(channel) >= 0) return channel;
    const int first = list.channels[0];
    return (first < lowest || first > highest) ? -1 : first;
}

ViewerSettings loadViewerSettings(const SettingsStore& store, const SettingsLoadContext& context,
                                  const ChooseChannelTables& chooseTables) {
    using namespace section;
    ViewerSettings s;

    // 1. Country code.
    s.countryCode = store.readInt(kUser, "CountryCode", platform::userCountryCode());

    // 2. Capture settings, frequency table, scan type, SVHS.
    const std::string folder = context.captureFolder;
    s.bmpDirectory = store.readString(kUser, "bmpdirectory", folder);
    s.jpgDirectory = store.readString(kUser, "jpgdirectory", folder);
    s.aviDirectory = store.readString(kUser, "avidirectory", folder);
    s.mpg1Directory = store.readString(kUser, "mpg1directory", folder);
    s.mpg2Directory = store.readString(kUser, "mpg2directory", folder);
    s.bmpFileName = store.readString(kUser, "bmpfilename", kDefaultStem);
    s.jpgFileName = store.readString(kUser, "jpgfilename", kDefaultStem);
    s.aviFileName = store.readString(kUser, "avifilename", kDefaultStem);
    s.mpg1FileName = store.readString(kUser, "mpg1filename", "MPGOne");
    s.mpg2FileName = store.readString(kUser, "mpg2filename", "MPGTwo");
    s.imageFormat = store.readInt(kUser, "imageformat", 0);
    s.imageShow = store.readInt(kUser, "imageshow", 1);
    s.streamFormat = store.readInt(kUser, "streamformat", 0);
    s.videoCompress = store.readInt(kUser, "videocompress", 0);
    s.audioCompress = store.readInt(kUser, "audiocompress", 0);
    s.capStreamWidth = store.readInt(kUser, "capstreamwidth", 320);
    s.capStreamHeight = store.readInt(kUser, "capstreamheight", 240);
    s.capImageWidth = store.readInt(kUser, "capimagewidth", 320);
    s.capImageHeight = store.readInt(kUser, "capimageheight", 240);
    s.frequencyName = store.readString(kUser, "frequencyname", "Default");
    s.scanType = store.readInt(kUser, "ScanType", 0);
    s.enableSvhs = store.readInt(kUser, "ENABLESVHS", 0);
    // The channel tables: their band limits take part in the check of the saved channels below.
    std::optional<ChannelBounds> bounds;
    if (chooseTables) bounds = chooseTables(s.countryCode, s.frequencyName);

    // 3. Saved state or factory values: colours, tooltips, window.
    s.savedStateExists = store.readInt(kUser, "s_flag", 0) != 0;
    const char* family = s.savedStateExists ? "s_" : "f_";
    s.colorKey = readColor(store, family, "colorkey", {255, 0, 255});
    s.osdColor = readColor(store, family, "osd", {255, 255, 0});
    s.tooltip = store.readInt(kUser, std::string(family) + "tooltip", 1);
    const WindowRect factoryWindow{context.desktopWidth / 4, context.desktopHeight / 4, 484, 424};
    if (s.savedStateExists) {
        s.window = {store.readInt(kUser, "s_windowx", factoryWindow.x), store.readInt(kUser, "s_windowy", factoryWindow.y),
                    store.readInt(kUser, "s_windowwidth", 484), store.readInt(kUser, "s_windowheight", 424)};
    } else {
        s.window = factoryWindow;
    }

    // 4. Channel lists.
    loadList(store, kTvChannel, "tv_count", s.savedStateExists, s.tvList);
    loadList(store, kCatvChannel, "catv_count", s.savedStateExists, s.catvList);

    // 5. Fine tuning.
    for (int n = 1; n <= kMaxChannel; ++n) {
        const std::string name = numbered(s.savedStateExists ? "s_ch%d" : "f_ch%d", n);
        s.tvFineTune[std::size_t(n - 1)] = store.readInt(kTvFineTune, name, 0);
        s.catvFineTune[std::size_t(n - 1)] = store.readInt(kCatvFineTune, name, 0);
    }

    // 6. Channels and mode; list positions for country code 86.
    s.tvChannel = store.readInt(kUser, std::string(family) + "channel", s.savedStateExists ? 0 : 6);
    s.catvChannel = store.readInt(kUser, std::string(family) + "ctchannel", s.savedStateExists ? 0 : 6);
    s.videoMode = videoModeFromInt(store.readInt(kUser, std::string(family) + "vmode", 0));
    if (s.countryCode == 86 && bounds) {
        s.tvChannel = validateListChannel(s.tvChannel, s.tvList, bounds->tvLowest, bounds->tvHighest);
        s.catvChannel = validateListChannel(s.catvChannel, s.catvList, bounds->catvLowest, bounds->catvHighest);
    } else if (s.countryCode == 86) {
        // Without tables there are no band limits to check against: keep the channels as saved.
        platform::tracef("Settings: no channel tables chosen; saved channels %d/%d kept unchecked", s.tvChannel,
                         s.catvChannel);
    }

    // 7. Closed captions.
    s.closedCaptions = store.readInt(kUser, "s_CC", 0) != 0;

    // 8. Multi-screen.
    s.multiSelect = store.readInt(kMulti, std::string(family) + "multiselect", 4);
    for (int n = 1; n <= kMultiScreenSlots; ++n) {
        s.multiTv[std::size_t(n)] = store.readInt(kMulti, std::string(family) + numbered("tv%d", n), 0);
        s.multiCatv[std::size_t(n)] = store.readInt(kMulti, std::string(family) + numbered("catv%d", n), 0);
    }

    // 9. Display modes.
    if (s.savedStateExists) {
        s.fullScreen = store.readInt(kUser, "s_fullscreen", 0);
        s.aboveScreen = store.readInt(kUser, "s_abovescreen", 0);
        s.windowTle = store.readInt(kUser, "s_windowtle", 0);
        s.forceDisplayChange = store.readInt(kUser, "s_forcedisplaychange", 0);
    } else {
        s.aboveScreen = store.readInt(kUser, "f_abovescreen", 0);
        s.windowTle = store.readInt(kUser, "f_windowtle", 0);
    }

    // 10. The mixer line chosen as volume control.
    s.volumeLine = store.readInt(kUser, "s_volume", 0);
    return s;
}

PictureLevels loadPictureLevels(const SettingsStore& store) {
    const std::string family = store.readInt(section::kUser, "s_screenflag", 0) != 0 ? "s_" : "f_";
    return {store.readInt(section::kUser, family + "brightness", 64), store.readInt(section::kUser, family + "contrast", 64),
            store.readInt(section::kUser, family + "hue", 64), store.readInt(section::kUser, family + "saturation", 64)};
}

void saveViewerSettings(SettingsStore& store, const ViewerSettings& s) {
    using namespace section;
    SettingsStore::WriteGroup group(store);

    store.writeInt(kUser, "s_flag", 1);
    writeColor(store, "s_", "osd", s.osdColor);
    store.writeInt(kUser, "s_tooltip", s.tooltip);
    writeColor(store, "s_", "colorkey", s.colorKey);
    store.writeInt(kUser, "s_abovescreen", s.aboveScreen);
    store.writeInt(kUser, "s_windowtle", s.windowTle);
    store.writeInt(kUser, "s_fullscreen", s.fullScreen);
    store.writeInt(kUser, "s_forcedisplaychange", s.forceDisplayChange);
    store.writeInt(kUser, "s_windowx", s.window.x);
    store.writeInt(kUser, "s_windowy", s.window.y);
    store.writeInt(kUser, "s_windowwidth", s.window.width);
    store.writeInt(kUser, "s_windowheight", s.window.height);

    store.writeString(kUser, "bmpdirectory", s.bmpDirectory);
    store.writeString(kUser, "jpgdirectory", s.jpgDirectory);
    store.writeString(kUser, "avidirectory", s.aviDirectory);
    store.writeString(kUser, "mpg1directory", s.mpg1Directory);
    store.writeString(kUser, "mpg2directory", s.mpg2Directory);
    store.writeString(kUser, "bmpfilename", s.bmpFileName);
    store.writeString(kUser, "jpgfilename", s.jpgFileName);
    store.writeString(kUser, "avifilename", s.aviFileName);
    store.writeString(kUser, "mpg1filename", s.mpg1FileName);
    store.writeString(kUser, "mpg2filename", s.mpg2FileName);
    store.writeInt(kUser, "imageformat", s.imageFormat);
    store.writeInt(kUser, "imageshow", s.imageShow);
    store.writeInt(kUser, "streamformat", s.streamFormat);
    store.writeString(kUser, "frequencyname", s.frequencyName);
    store.writeInt(kUser, "s_volume", s.volumeLine);
    store.writeInt(kUser, "scantype", 0);
    store.writeInt(kUser, "videocompress", s.videoCompress);
    store.writeInt(kUser, "audiocompress", s.audioCompress);
    store.writeInt(kUser, "capstreamwidth", s.capStreamWidth);
    store.writeInt(kUser, "capstreamheight", s.capStreamHeight);

    for (int n = 1; n <= kMaxChannel; ++n) {
        store.writeInt(kTvFineTune, numbered("s_ch%d", n), s.tvFineTune[std::size_t(n - 1)]);
        store.writeInt(kCatvFineTune, numbered("s_ch%d", n), s.catvFineTune[std::size_t(n - 1)]);
    }
    store.writeInt(kUser, "s_CC", s.closedCaptions ? 1 : 0);
    store.writeInt(kUser, "s_channel", s.tvChannel);
    store.writeInt(kUser, "s_ctchannel", s.catvChannel);
    store.writeInt(kUser, "s_vmode", static_cast<int>(s.videoMode));
    store.writeInt(kMulti, "s_multiselect", s.multiSelect);
    for (int n = 1; n <= kMultiScreenSlots; ++n) {
        store.writeInt(kMulti, numbered("s_tv%d", n), s.multiTv[std::size_t(n)]);
        store.writeInt(kMulti, numbered("s_catv%d", n), s.multiCatv[std::size_t(n)]);
    }
    saveList(store, kTvChannel, "tv_count", s.tvList);
    saveList(store, kCatvChannel, "catv_count", s.catvList);
}

std::string writeFactoryDefaults(SettingsStore& store, const std::string& programPath) {
    using namespace section;
    SettingsStore::WriteGroup group(store);

    store.writeInt(kUser, "f_channel", 6);
    store.writeInt(kUser, "f_ctchannel", 6);
    store.writeInt(kUser, "f_vmode", 0);
    for (const char* level : {"f_brightness", "f_contrast", "f_hue", "f_saturation"}) store.writeInt(kUser, level, 64);
    store.writeInt(kUser, "f_quality", 2);
    store.writeInt(kUser, "f_capwidth", 320);
    store.writeInt(kUser, "f_capheight", 240);
    writeColor(store, "f_", "osd", {255, 255, 0});
    writeColor(store, "f_", "colorkey", {255, 0, 255});
    store.writeInt(kUser, "f_tooltip", 1);
    store.writeInt(kUser, "f_abovescreen", 0);
    store.writeInt(kUser, "f_windowtle", 0);

    store.writeInt(kMulti, "f_multiselect", 4);
    for (int n = 1; n <= kMultiScreenSlots; ++n) {
        store.writeInt(kMulti, numbered("f_tv%d", n), 0);
        store.writeInt(kMulti, numbered("f_catv%d", n), 0);
    }
    for (const char* list : {kTvChannel, kCatvChannel})
        for (int n = 1; n <= 5; ++n) store.writeInt(list, numbered("f_ch%d", n), kFactoryChannels[n - 1]);
    for (int n = 1; n <= kMaxChannel; ++n) {
        store.writeInt(kTvFineTune, numbered("f_ch%d", n), 0);
        store.writeInt(kCatvFineTune, numbered("f_ch%d", n), 0);
    }

    const std::string captureFolder = platform::deriveCaptureFolder(programPath);
    std::error_code ec;
    std::filesystem::create_directories(captureFolder, ec);
    if (ec) platform::tracef("Cannot create the capture folder %s: %s", captureFolder.c_str(), ec.message().c_str());
    store.writeString(kUser, "f_directory", captureFolder);
    store.writeString(kUser, "f_filename", kDefaultStem);
    return captureFolder;
}

}  // namespace kelto
