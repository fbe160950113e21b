#include "app/ViewerSettings.h"

#include "platform/Paths.h"
#include "platform/SystemInfo.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

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
        c.bounds = {2, 69, 1, 125};
        return c;
    }

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
    const ViewerSettings s = loadViewerSettings(store_, context());
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
    ViewerSettings s = loadViewerSettings(store_, context());
    s.window = {-50, 3000, 700, 500};  // off a smaller screen: restored unchanged
    s.tvList = {};
    s.tvList.channels = {{3, 5, 8}};
    s.tvList.count = 3;
    s.catvList.count = 0;
    s.tvFineTune[256] = -16;
    s.catvFineTune[1] = 7;
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

    const ViewerSettings back = loadViewerSettings(store_, context());
    EXPECT_TRUE(back.savedStateExists);
    EXPECT_EQ(back.window, s.window);
    EXPECT_EQ(back.tvList, s.tvList);
    EXPECT_EQ(back.catvList.count, 0);
    EXPECT_EQ(back.tvFineTune, s.tvFineTune);
    EXPECT_EQ(back.catvFineTune, s.catvFineTune);
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
    const ViewerSettings s = loadViewerSettings(store_, context());
    EXPECT_EQ(s.tvList.count, 0);
    EXPECT_EQ(s.tvList.channels[0], 0);
    EXPECT_EQ(s.catvList.count, 2);
    EXPECT_EQ(s.catvList.channels[1], 20);
    EXPECT_EQ(s.catvList.channels[2], 0);
    EXPECT_EQ(store_.readInt("catvchannel", "s_ch4", 0), 40);  // left in the store

    store_.writeInt("catvchannel", "catv_count", 100000);  // a damaged count cannot overrun the list
    EXPECT_EQ(loadViewerSettings(store_, context()).catvList.count, 256);
}

TEST_F(ViewerSettingsTest, TheCountryCodeDefaultsToTheLocale) {
    platform::setUserLocaleCountryOverride(std::string("82"));
    EXPECT_EQ(loadViewerSettings(store_, context()).countryCode, 82);
    store_.writeInt("user", "countrycode", 44);
    EXPECT_EQ(loadViewerSettings(store_, context()).countryCode, 44);
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
    ViewerSettings s = loadViewerSettings(store_, context());
    EXPECT_EQ(s.tvChannel, 12);
    EXPECT_EQ(s.catvChannel, 30);  // looked up in the cable list

    store_.writeInt("user", "s_channel", 5);
    store_.writeInt("tvchannel", "tv_count", 0);  // empty list: its first entry 0 lies outside 2..69
    s = loadViewerSettings(store_, context());
    EXPECT_EQ(s.tvChannel, -1);
    EXPECT_EQ(validateListChannel(5, s.catvList, 1, 125), 30);
}

TEST_F(ViewerSettingsTest, PictureLevelsFollowTheColourPageSwitch) {
    writeFactoryDefaults(store_, programPath_);
    store_.writeInt("user", "s_brightness", 100);
    EXPECT_EQ(loadPictureLevels(store_).brightness, 64);
    store_.writeInt("user", "s_screenflag", 1);
    EXPECT_EQ(loadPictureLevels(store_), (PictureLevels{100, 64, 64, 64}));
    store_.writeInt("user", "s_volume", 3);
    EXPECT_EQ(loadVolumeLine(store_), 3);
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
