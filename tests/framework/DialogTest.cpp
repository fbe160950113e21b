#include "framework/ControlIds.h"
#include "framework/Dialog.h"
#include "framework/DialogTemplate.h"
#include "resources/DialogResource.h"

#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace kelto::framework::test {
namespace {

class DialogFromResource : public ::testing::Test {
protected:
    DialogFromResource() { setUiLanguage(UiLanguage::EnglishUS); }
    ~DialogFromResource() override { setUiLanguage(std::nullopt); }
};

TEST_F(DialogFromResource, TheChannelPageHasEveryControlByIdentifier) {
    Dialog dialog(104);
    ASSERT_TRUE(dialog.loaded());
    EXPECT_EQ(resourceIdOf(&dialog), 104);
    EXPECT_NE(dialog.control<QTreeWidget>(1008), nullptr);
    EXPECT_NE(dialog.control<QProgressBar>(1017), nullptr);
    EXPECT_NE(dialog.control<QSlider>(1011), nullptr);
    EXPECT_NE(dialog.control<QLabel>(1006), nullptr);
    for (int button : {1114, 1123, 1012, 1277, 1255, 1013}) EXPECT_NE(dialog.control<QPushButton>(button), nullptr) << button;
    EXPECT_EQ(dialog.control<QPushButton>(1012)->text(), "&Auto Scan");
    EXPECT_EQ(dialog.control(4242), nullptr);
}

TEST_F(DialogFromResource, AnOpenDialogIsFoundByItsResourceNumber) {
    EXPECT_EQ(findResourceWindow(104), nullptr);
    QWidget owner;
    auto* dialog = new Dialog(104, &owner);
    EXPECT_EQ(findResourceWindow(104), dialog);  // hidden, but the only one
    Dialog shown(104);
    shown.show();
    EXPECT_EQ(findResourceWindow(104), &shown);
    EXPECT_EQ(qobject_cast<QTreeWidget*>(findControl(findResourceWindow(104), 1008)), shown.control<QTreeWidget>(1008));
    EXPECT_EQ(findResourceWindow(105), nullptr);
}

TEST_F(DialogFromResource, ClicksAndEscapeGoThroughTheDialogsTable) {
    Dialog dialog(104);
    std::vector<int> commands;
    dialog.messageMap().onCommand(1012, [&] { commands.push_back(1012); });
    dialog.messageMap().onCommand(Dialog::IDCANCEL, [&] { commands.push_back(Dialog::IDCANCEL); });
    dialog.show();
    QTest::mouseClick(dialog.control<QPushButton>(1012), Qt::LeftButton);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(commands, (std::vector<int>{1012, Dialog::IDCANCEL}));
    EXPECT_TRUE(dialog.isVisible());  // the table's Cancel handler kept it open
}

TEST_F(DialogFromResource, WithoutHandlersOkAcceptsAndCancelRejects) {
    Dialog dialog(104);
    dialog.show();
    dialog.wiring().sendCommand(Dialog::IDOK);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(DialogFromResource, TextsComeInTheUsersLanguage) {
    QWidget japanese, korean, chinese, english;
    ASSERT_TRUE(loadDialogTemplate(104, japanese, UiLanguage::Japanese));
    ASSERT_TRUE(loadDialogTemplate(104, korean, UiLanguage::Korean));
    ASSERT_TRUE(loadDialogTemplate(104, chinese, UiLanguage::ChineseSimplified));
    ASSERT_TRUE(loadDialogTemplate(104, english, UiLanguage::EnglishUS));
    auto title = [](QWidget& host) { return host.findChild<QGroupBox*>("groupRegistered")->title(); };
    EXPECT_EQ(title(english), "Registerd Channel ");
    EXPECT_EQ(title(japanese), QString::fromUtf8("登録チャンネル "));
    EXPECT_EQ(title(korean), QString::fromUtf8("등록 채널 "));
    EXPECT_EQ(title(chinese), QString::fromUtf8("已登记频道 "));
    EXPECT_EQ(japanese.windowTitle(), QString::fromUtf8("チャンネル選択"));
    EXPECT_EQ(qobject_cast<QPushButton*>(findControl(&korean, 1123))->text(), QString::fromUtf8("취소"));
    // Controls keep their identifiers in every language.
    EXPECT_NE(findControl(&chinese, 1008), nullptr);
}

TEST_F(DialogFromResource, AMissingTemplateLeavesAnEmptyDialogAndATrace) {
    Dialog dialog(4242);
    EXPECT_FALSE(dialog.loaded());
    EXPECT_EQ(dialog.control(1), nullptr);
}

// Every text of the language tables names a widget that exists in its template, and every
// template's control identifiers are unique: a renamed widget or a copied identifier is caught.
TEST_F(DialogFromResource, LanguageTablesAndTemplatesAgree) {
    const std::filesystem::path folder = std::filesystem::path(KELTO_DIALOGS_DIR);
    std::map<int, std::set<std::string>> objects;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".ui") continue;
        const int id = std::stoi(entry.path().stem().string());
        QWidget host;
        QWidget* form = loadDialogTemplate(id, host, UiLanguage::EnglishUS);
        ASSERT_NE(form, nullptr) << entry.path();
        objects[id].insert(form->objectName().toStdString());
        std::set<int> ids;
        for (QWidget* child : form->findChildren<QWidget*>()) {
            objects[id].insert(child->objectName().toStdString());
            if (const int control = controlIdOf(child)) {
                EXPECT_TRUE(ids.insert(control).second) << id << "/" << control;
            }
        }
    }
    ASSERT_TRUE(objects.count(104));
    for (const char* language : {"ja-JP", "ko-KR", "zh-CN"}) {
        std::ifstream file(folder / (std::string(language) + ".dialogtexts"));
        ASSERT_TRUE(file) << language;
        std::string line;
        const std::regex key(R"((\d+)/([A-Za-z0-9_]+)\t.*)");
        while (std::getline(file, line)) {
            if (line.empty() || line[0] == '#') continue;
            std::smatch match;
            ASSERT_TRUE(std::regex_match(line, match, key)) << language << ": " << line;
            const int id = std::stoi(match[1]);
            EXPECT_TRUE(objects[id].count(match[2])) << language << ": " << line;
        }
    }
}

}  // namespace
}  // namespace kelto::framework::test
