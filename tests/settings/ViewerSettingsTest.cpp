#include "settings/ViewerSettings.h"

#include "platform/Paths.h"
#include "platform/SystemInfo.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

#include <map>

namespace kelto {
namespace {

using platform::RegHive;

class ViewerSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { platform::setUserLocaleCountryOverride(std::string("1")); }
    void TearDown() override { platform::clearUserLocaleCountryOverride(); }

    SettingsLoadContext context() const {
        SettingsLoadContext c;
        c.desktopWidth = 1280;
        c.desktopHeight = 800;
        c.captureFolder = "/cap";
        return c;
    }
    // The viewer's table choice: records what it was asked and answers the band limits of tables.
    ChooseChannelTables chooser() {
        return [this](int countryCode, const std::string& frequencyName) {
            chosen.emplace_back(countryCode, frequencyName);
            return tables;
        };
    }
    ViewerSettings load() { return loadViewerSettings(store_, context(), chooser()); }

    ChannelBounds tables{2, 69, 1, 125};
    std::vector<std::pair<int, std::string>> chosen;

    test::TemporaryFolder dir_;
    platform::Registry registry_{dir_.path()};
    SettingsStore store_{registry_};
    const std::string programPath_ = (dir_ / "A" / "B" / "KeltoTV").string();
};

TEST_F(ViewerSettingsTest, FactoryDefaultsAreRewrittenAtEveryStart) {
    const std::string folder = writeFactoryDefaults(store_, programPath_);
    EXPECT_EQ(folder, (dir_ / "A" / "Capture").string());
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(store_.readString("user", "f_directory", ""), folder);
    EXPECT_EQ(store_.readString("user", "f_filename", ""), "Kelto");
    EXPECT_EQ(store_.readInt("user", "f_quality", 0), 2);
    EXPECT_EQ(store_.readInt("user", "f_colorkeyblue", 0), 255);
    EXPECT_EQ(store_.readInt("catvchannel", "f_ch5", 0), 12);
    EXPECT_EQ(store_.readInt("tvfinetune", "f_ch256", -1), 0);
    EXPECT_EQ(store_.readInt("multi", "f_multiselect", 0), 4);

    store_.writeInt("user", "f_channel", 33);
    store_.writeInt("tvchannel", "F_CH1", 99);
    writeFactoryDefaults(store_, programPath_);
    EXPECT_EQ(store_.readInt("user", "f_channel", 0), 6);
    EXPECT_EQ(store_.readInt("tvchannel", "f_ch1", 0), 6);
    // The store lies where the program looks for it.
    EXPECT_TRUE(registry_.keyExists(RegHive::CurrentUser, "Software\\UserVxdKeltoTV\\KeltoTV\\tvfinetune"));
}

TEST_F(ViewerSettingsTest, AFirstStartRunsOnFactoryValues) {
    writeFactoryDefaults(store_, programPath_);
    const ViewerSettings s = load();
    EXPECT_FALSE(s.savedStateExists);
    EXPECT_EQ(s.window, (WindowRect{320, 200, 484, 424}));
    EXPECT_EQ(s.tvList.count, 5);
    EXPECT_EQ(s.tvList.channels[0], 6);
    EXPECT_EQ(s.catvList.channels[4], 12);
    EXPECT_EQ(s.tvChannel, 6);
    EXPECT_EQ(s.catvChannel, 6);
    EXPECT_EQ(s.osdColor, (ColorTriple{255, 255, 0}));
    EXPECT_EQ(s.colorKey.packed(), 0xFF00FFu);
    EXPECT_EQ(s.bmpDirectory, "/cap");
    EXPECT_EQ(s.mpg2FileName, "MPGTwo");
    EXPECT_EQ(s.frequencyName, "Default");
    EXPECT_EQ(s.countryCode, 1);
    EXPECT_EQ(loadPictureLevels(store_), (PictureLevels{64, 64, 64, 64}));
}

TEST_F(ViewerSettingsTest, SavedStateComesBackAsItWasSaved) {
    writeFactoryDefaults(store_, programPath_);
    ViewerSettings s = load();
    s.window = {-50, 3000, 700, 500};  // off a smaller screen: restored unchanged
    s.tvList = {};
    s.tvList.channels = {{3, 5, 8}};
    s.tvList.count = 3;
    s.catvList.count = 0;
    s.tvFineTune[255] = -16;  // channel 256
    s.catvFineTune[0] = 7;    // channel 1
    s.tvChannel = 8;
    s.catvChannel = 40;
    s.videoMode = VideoMode::SVHS;
    s.closedCaptions = true;
    s.multiSelect = 9;
    s.multiTv[16] = 12;
    s.fullScreen = 1;
    s.osdColor = {1, 2, 3};
    s.aviDirectory = "/films";
    s.frequencyName = "My table";
    saveViewerSettings(store_, s);

    const ViewerSettings back = load();
    EXPECT_TRUE(back.savedStateExists);
    EXPECT_EQ(back.window, s.window);
    EXPECT_EQ(back.tvList, s.tvList);
    EXPECT_EQ(back.catvList.count, 0);
    EXPECT_EQ(back.tvFineTune, s.tvFineTune);
    EXPECT_EQ(back.catvFineTune, s.catvFineTune);
    EXPECT_EQ(store_.readInt("tvfinetune", "s_ch256", 0), -16);
    EXPECT_EQ(store_.readInt("catvfinetune", "s_ch1", 0), 7);
    EXPECT_EQ(back.tvChannel, 8);
    EXPECT_EQ(back.catvChannel, 40);
    EXPECT_EQ(back.videoMode, VideoMode::SVHS);
    EXPECT_TRUE(back.closedCaptions);
    EXPECT_EQ(back.multiSelect, 9);
    EXPECT_EQ(back.multiTv, s.multiTv);
    EXPECT_EQ(back.fullScreen, 1);
    EXPECT_EQ(back.osdColor, s.osdColor);
    EXPECT_EQ(back.aviDirectory, "/films");
    EXPECT_EQ(back.frequencyName, "My table");
    EXPECT_EQ(store_.readInt("user", "ScanType", -1), 0);  // written as "scantype": one value
}

TEST_F(ViewerSettingsTest, SavedListsAreReadUpToTheirCountOnly) {
    store_.writeInt("user", "s_flag", 1);
    store_.writeInt("tvchannel", "s_ch1", 4);  // stale: no tv_count
    store_.writeInt("catvchannel", "catv_count", 2);
    for (int n = 1; n <= 4; ++n) store_.writeInt("catvchannel", "s_ch" + std::to_string(n), 10 * n);
    const ViewerSettings s = load();
    EXPECT_EQ(s.tvList.count, 0);
    EXPECT_EQ(s.tvList.channels[0], 0);
    EXPECT_EQ(s.catvList.count, 2);
    EXPECT_EQ(s.catvList.channels[1], 20);
    EXPECT_EQ(s.catvList.channels[2], 0);
    EXPECT_EQ(store_.readInt("catvchannel", "s_ch4", 0), 40);  // left in the store

    store_.writeInt("catvchannel", "catv_count", 100000);  // a damaged count cannot overrun the list
    EXPECT_EQ(load().catvList.count, 256);
}

TEST_F(ViewerSettingsTest, TheCountryCodeDefaultsToTheLocale) {
    platform::setUserLocaleCountryOverride(std::string("82"));
    EXPECT_EQ(load().countryCode, 82);
    store_.writeInt("user", "countrycode", 44);
    EXPECT_EQ(load().countryCode, 44);
}

TEST_F(ViewerSettingsTest, Country86KeepsSavedChannelsInsideTheRegisteredLists) {
    store_.writeInt("user", "CountryCode", 86);
    store_.writeInt("user", "s_flag", 1);
    store_.writeInt("tvchannel", "tv_count", 2);
    store_.writeInt("tvchannel", "s_ch1", 9);
    store_.writeInt("tvchannel", "s_ch2", 12);
    store_.writeInt("catvchannel", "catv_count", 1);
    store_.writeInt("catvchannel", "s_ch1", 30);
    store_.writeInt("user", "s_channel", 12);
    store_.writeInt("user", "s_ctchannel", 31);
    ViewerSettings s = load();
    EXPECT_EQ(s.tvChannel, 12);
    EXPECT_EQ(s.catvChannel, 30);  // looked up in the cable list
    // The tables were chosen for the country and the table name before the check.
    ASSERT_FALSE(chosen.empty());
    EXPECT_EQ(chosen.back(), (std::pair<int, std::string>{86, "Default"}));

    store_.writeInt("user", "s_channel", 5);
    store_.writeInt("tvchannel", "tv_count", 0);  // empty list: its first entry 0 lies outside 2..69
    s = load();
    EXPECT_EQ(s.tvChannel, -1);
    EXPECT_EQ(validateListChannel(5, s.catvList, 1, 125), 30);
}

// A saved channel that is not registered becomes the first registered channel when that lies
// inside the band limits of the tables the viewer tunes with, and that is what the close saves.
TEST_F(ViewerSettingsTest, Country86ReplacesAnUnregisteredChannelByTheFirstRegisteredOne) {
    writeFactoryDefaults(store_, programPath_);
    store_.writeInt("user", "CountryCode", 86);
    store_.writeInt("user", "s_flag", 1);
    store_.writeInt("tvchannel", "tv_count", 5);
    const int list[] = {6, 7, 9, 11, 12};
    for (int n = 1; n <= 5; ++n) store_.writeInt("tvchannel", "s_ch" + std::to_string(n), list[n - 1]);
    store_.writeInt("user", "s_channel", 99);
    tables = {1, 68, 1, 105};  // the shipped Chinese plans' limits
    ViewerSettings s = load();
    EXPECT_EQ(s.tvChannel, 6);
    saveViewerSettings(store_, s);
    EXPECT_EQ(store_.readInt("user", "s_channel", 0), 6);

    // Without tables there are no limits to check against: the saved channel is kept as it is.
    store_.writeInt("user", "s_channel", 99);
    EXPECT_EQ(loadViewerSettings(store_, context(), nullptr).tvChannel, 99);
}

TEST_F(ViewerSettingsTest, PictureLevelsFollowTheColourPageSwitch) {
    writeFactoryDefaults(store_, programPath_);
    store_.writeInt("user", "s_brightness", 100);
    EXPECT_EQ(loadPictureLevels(store_).brightness, 64);
    store_.writeInt("user", "s_screenflag", 1);
    EXPECT_EQ(loadPictureLevels(store_), (PictureLevels{100, 64, 64, 64}));
}

// Each channel's fine tuning sits at channel - 1, from channel 1 to channel 256.
TEST_F(ViewerSettingsTest, FineTuningIsReadForEveryChannelAtItsPlace) {
    store_.writeInt("user", "s_flag", 1);
    store_.writeInt("tvfinetune", "s_ch1", -2);
    store_.writeInt("tvfinetune", "s_ch7", 3);
    store_.writeInt("tvfinetune", "s_ch256", 16);
    store_.writeInt("catvfinetune", "s_ch256", -16);
    const ViewerSettings s = load();
    EXPECT_EQ(s.tvFineTune[0], -2);
    EXPECT_EQ(s.tvFineTune[6], 3);
    EXPECT_EQ(s.tvFineTune[255], 16);
    EXPECT_EQ(s.catvFineTune[255], -16);
    EXPECT_EQ(s.catvFineTune[0], 0);
}

// Every value of every section, as text, to compare two states of the store.
std::map<std::string, std::string> snapshot(const SettingsStore& store, platform::Registry& registry) {
    std::map<std::string, std::string> values;
    for (const char* sectionName : {"user", "multi", "tvchannel", "catvchannel", "tvfinetune", "catvfinetune"})
        for (const auto& name : registry.valueNames(RegHive::CurrentUser, store.sectionPath(sectionName)))
            values[std::string(sectionName) + "/" + name] =
                std::to_string(store.readInt(sectionName, name, -12345)) + "|" + store.readString(sectionName, name, "");
    return values;
}

// Opening and closing without a change leaves the store as it was: no value is written back
// without having been read.
TEST_F(ViewerSettingsTest, AnOpenAndCloseWithoutChangesKeepsTheStoreAsItWas) {
    writeFactoryDefaults(store_, programPath_);
    ViewerSettings s = load();
    // A user state that differs from every default.
    s.volumeLine = 3;  // the mixer line chosen on the colour page
    s.tvChannel = 9;
    s.catvChannel = 40;
    s.videoMode = VideoMode::CATV;
    s.tvList.count = 2;
    s.tvFineTune[8] = 2;
    s.catvFineTune[255] = -5;
    s.closedCaptions = true;
    s.imageFormat = 1;
    s.streamFormat = 2;
    s.videoCompress = 1;
    s.capStreamWidth = 640;
    s.multiCatv[3] = 77;
    s.aboveScreen = 1;
    s.windowTle = 1;
    s.forceDisplayChange = 1;
    s.tooltip = 0;
    s.colorKey = {1, 2, 3};
    saveViewerSettings(store_, s);
    const auto before = snapshot(store_, registry_);

    ViewerSettings opened = load();
    EXPECT_EQ(opened.volumeLine, 3);
    saveViewerSettings(store_, opened);
    EXPECT_EQ(snapshot(store_, registry_), before);
}

TEST_F(ViewerSettingsTest, ClosingWritesInTheViewersOrder) {
    ViewerSettings s;
    s.tvList.count = 1;
    s.tvList.channels[0] = 6;
    saveViewerSettings(store_, s);
    const auto names = registry_.valueNames(RegHive::CurrentUser, store_.sectionPath("user"));
    const std::vector<std::string> expected = {
        "s_flag", "s_osdred", "s_osdgreen", "s_osdblue", "s_tooltip", "s_colorkeyred", "s_colorkeygreen",
        "s_colorkeyblue", "s_abovescreen", "s_windowtle", "s_fullscreen", "s_forcedisplaychange", "s_windowx",
        "s_windowy", "s_windowwidth", "s_windowheight", "bmpdirectory", "jpgdirectory", "avidirectory",
        "mpg1directory", "mpg2directory", "bmpfilename", "jpgfilename", "avifilename", "mpg1filename",
        "mpg2filename", "imageformat", "imageshow", "streamformat", "frequencyname", "s_volume", "scantype",
        "videocompress", "audiocompress", "capstreamwidth", "capstreamheight", "s_CC", "s_channel",
        "s_ctchannel", "s_vmode"};
    EXPECT_EQ(names, expected);
    const auto tv = registry_.valueNames(RegHive::CurrentUser, store_.sectionPath("tvchannel"));
    EXPECT_EQ(tv, (std::vector<std::string>{"s_ch1", "tv_count"}));
}

TEST_F(ViewerSettingsTest, AStoreThatCannotBeReachedGivesDefaults) {
    // The registry folder is a file: nothing can be read or written, and nothing fails visibly.
    test::writeFile(dir_ / "blocked", "");
    platform::Registry broken(dir_ / "blocked");
    SettingsStore store(broken);
    store.writeInt("user", "s_flag", 1);
    EXPECT_EQ(store.readInt("user", "s_flag", 7), 7);
    EXPECT_EQ(store.readString("user", "x", "d"), "d");
}

}  // namespace
}  // namespace kelto
