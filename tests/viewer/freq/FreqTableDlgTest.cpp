// The frequency table dialog with real table files: the list of tables, the preview, deleting,
// "Save As", and OK, Cancel and the close box.
#include "tests/viewer/freq/FreqDialogsRig.h"

#include <QTreeWidget>

namespace kelto {
namespace {

using viewer::freq::CFreqTableDlg;

class FreqTableDlgTest : public test::FreqDialogsRig {};

// Broadcast 2..4, cable 1..2: a 36-byte file.
const std::vector<std::int32_t> kSmall{2, 4, 55'250'000, 61'250'000, 67'250'000, 1, 2, 73'000'000, 75'000'000};

TEST_F(FreqTableDlgTest, ListsDefaultAndTheTableFilesAndShowsTheActiveOne) {
    writeTable("default", kSmall);  // lower case: an ordinary table
    writeTable("Cable2", {1, 1, 1000, 1, 1, 2000});
    test::writeFile(platform::programFolder() / "notes.txt", "x");
    test::writeFile(platform::programFolder() / "upper.FREQ", "x");  // the extension is compared with case
    std::filesystem::create_directory(platform::programFolder() / "folder.freq");
    model.setActiveTableName("default");

    CFreqTableDlg dialog(model, controller, countryCode);
    const QStringList names = dialog.tableNames();
    ASSERT_EQ(names.size(), 3);
    EXPECT_EQ(names[0], "Default");
    EXPECT_TRUE(names.contains("default"));
    EXPECT_TRUE(names.contains("Cable2"));
    EXPECT_EQ(dialog.selectedName(), "default");
    EXPECT_EQ(std::filesystem::file_size(tablePath("default")), 36u);

    auto* tv = list(&dialog, CFreqTableDlg::kTvListId);
    ASSERT_NE(tv, nullptr);
    EXPECT_EQ(tv->headerItem()->text(0), "Frequency(Hz)");
    EXPECT_EQ(tv->headerItem()->text(1), "Channel");
    EXPECT_EQ(column(&dialog, CFreqTableDlg::kTvListId, 0), (std::vector<std::string>{"55250000", "61250000", "67250000"}));
    EXPECT_EQ(column(&dialog, CFreqTableDlg::kTvListId, 1), (std::vector<std::string>{"2", "3", "4"}));
    EXPECT_EQ(column(&dialog, CFreqTableDlg::kCableListId, 0), (std::vector<std::string>{"73000000", "75000000"}));

    // "Default" shows the country file's tables (USA: broadcast 2..69, cable 1..125).
    choose(&dialog, "Default");
    EXPECT_EQ(column(&dialog, CFreqTableDlg::kTvListId, 1).front(), "2");
    EXPECT_EQ(column(&dialog, CFreqTableDlg::kTvListId, 1).size(), 68u);
    EXPECT_EQ(column(&dialog, CFreqTableDlg::kTvListId, 0).front(), "55250000");
}

TEST_F(FreqTableDlgTest, AnUnknownActiveNameSelectsDefaultAndABrokenTableShowsTheCountryTables) {
    test::writeFile(tablePath("broken"), std::string(6, '\0'));  // ends early
    model.setActiveTableName("gone");
    CFreqTableDlg dialog(model, controller, countryCode);
    EXPECT_EQ(dialog.selectedName(), "Default");
    choose(&dialog, "broken");
    EXPECT_EQ(column(&dialog, CFreqTableDlg::kTvListId, 1).size(), 68u);
}

TEST_F(FreqTableDlgTest, DeletingRemovesTheFileAndSelectsTheSameIndexOrTheOneBefore) {
    writeTable("alpha", kSmall);
    CFreqTableDlg dialog(model, controller, countryCode);
    writeTable("beta", kSmall);
    // "Default" and entry 0 are never deleted.
    click(&dialog, CFreqTableDlg::kDeleteId);
    EXPECT_EQ(dialog.tableNames().size(), 2);

    choose(&dialog, "alpha");  // the last entry
    click(&dialog, CFreqTableDlg::kDeleteId);
    EXPECT_FALSE(std::filesystem::exists(tablePath("alpha")));
    EXPECT_EQ(dialog.tableNames(), QStringList{"Default"});
    EXPECT_EQ(dialog.selectedName(), "Default");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(FreqTableDlgTest, DeletingAMiddleEntryKeepsTheIndexAndAFailedDeleteIsReported) {
    writeTable("a", kSmall);
    writeTable("b", kSmall);
    writeTable("c", kSmall);
    CFreqTableDlg dialog(model, controller, countryCode);
    const QStringList before = dialog.tableNames();
    ASSERT_EQ(before.size(), 4);
    choose(&dialog, before[2]);
    click(&dialog, CFreqTableDlg::kDeleteId);
    EXPECT_EQ(dialog.selectedName(), before[3]);

    std::filesystem::remove(tablePath(before[3].toStdString()));  // gone behind the dialog's back
    click(&dialog, CFreqTableDlg::kDeleteId);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(dialog.tableNames().size(), 3);  // the entry stays
}

TEST_F(FreqTableDlgTest, SaveAsWritesTheShownTableOnlyWithAPathAndLimitsOfOneTo200) {
    writeTable("small", kSmall);
    model.setActiveTableName("small");
    CFreqTableDlg dialog(model, controller, countryCode);

    savePath = "";  // the file dialog was cancelled
    click(&dialog, CFreqTableDlg::kSaveAsId);
    savePath = "Default";
    click(&dialog, CFreqTableDlg::kSaveAsId);
    EXPECT_FALSE(std::filesystem::exists("Default"));

    savePath = (platform::programFolder() / "copy.freq").string();
    click(&dialog, CFreqTableDlg::kSaveAsId);
    EXPECT_EQ(tableValues("copy"), kSmall);
    EXPECT_EQ(dialog.tableNames().size(), 2);  // the list is not refilled
}

// Cable 1..201 is beyond what a table may be exported with.
TEST_F(FreqTableDlgTest, SaveAsRefusesCableBeyond200) {
    std::vector<std::int32_t> wide{2, 2, 100, 1, 201};
    wide.resize(wide.size() + 201, 5);
    writeTable("wide", wide);
    model.setActiveTableName("wide");
    CFreqTableDlg dialog(model, controller, countryCode);
    ASSERT_EQ(dialog.selectedName(), "wide");
    savePath = (platform::programFolder() / "copy.freq").string();
    click(&dialog, CFreqTableDlg::kSaveAsId);
    EXPECT_FALSE(std::filesystem::exists(tablePath("copy")));
}

TEST_F(FreqTableDlgTest, OkAppliesANewTableAndRegistersAllItsChannelsKeepingFineTuning) {
    writeTable("small", kSmall);
    model.registered().setFineTune(ChannelBand::Broadcast, 3, 4);
    model.registered().registerRange(ChannelBand::Broadcast, 10, 12);
    CFreqTableDlg dialog(model, controller, countryCode);
    choose(&dialog, "small");
    click(&dialog, framework::IDOK);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(model.activeTableName(), "small");
    EXPECT_EQ(model.bounds().tvLowest, 2);
    EXPECT_EQ(model.bounds().tvHighest, 4);
    EXPECT_EQ(model.bounds().catvHighest, 2);
    EXPECT_FLOAT_EQ(model.channelMHz(ChannelBand::Broadcast, 3), 61.25f);
    const RegisteredList& tv = model.registered().list(ChannelBand::Broadcast);
    ASSERT_EQ(tv.count, 3);
    EXPECT_EQ((std::vector<int>{tv.channels[0], tv.channels[1], tv.channels[2]}), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(model.registered().count(ChannelBand::Cable), 2);
    EXPECT_EQ(model.registered().fineTune(ChannelBand::Broadcast, 3), 4);
}

TEST_F(FreqTableDlgTest, TheCloseBoxAppliesLikeOkAndCancelKeepsTheActiveTables) {
    writeTable("small", kSmall);
    {
        CFreqTableDlg dialog(model, controller, countryCode);
        dialog.show();
        choose(&dialog, "small");
        click(&dialog, framework::IDCANCEL);
        EXPECT_EQ(model.activeTableName(), "Default");
        EXPECT_EQ(model.bounds().tvHighest, 0);  // nothing was applied
    }
    CFreqTableDlg dialog(model, controller, countryCode);
    dialog.show();
    choose(&dialog, "small");
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(model.activeTableName(), "small");
    EXPECT_EQ(model.bounds().tvHighest, 4);
}

TEST_F(FreqTableDlgTest, OkWithTheActiveNameDoesNotApplyAgain) {
    writeTable("small", kSmall);
    model.setActiveTableName("small");
    model.registered().registerRange(ChannelBand::Broadcast, 10, 12);
    CFreqTableDlg dialog(model, controller, countryCode);
    click(&dialog, framework::IDOK);
    EXPECT_EQ(model.registered().count(ChannelBand::Broadcast), 3);
    EXPECT_EQ(model.registered().entry(ChannelBand::Broadcast, 0), 10);
}

}  // namespace
}  // namespace kelto
