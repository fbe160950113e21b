#include "framework/ControlIds.h"
#include "framework/PropertyPage.h"
#include "framework/PropertySheet.h"

#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelto::framework::test {
namespace {

// A page made from dialog 104 that records what the sheet asks and answers as told.
class RecordingPage : public PropertyPage {
public:
    RecordingPage(std::string name, std::vector<std::string>& log) : PropertyPage(104), name_(std::move(name)), log_(log) {}
    bool onSetActive() override { return note("set"), true; }
    bool onKillActive() override { return note("kill"), allowLeave; }
    bool onApply() override { return note("apply"), allowApply; }
    void onCancel() override { note("cancel"); }
    bool allowLeave = true;
    bool allowApply = true;

private:
    void note(const char* what) { log_.push_back(name_ + ":" + what); }
    std::string name_;
    std::vector<std::string>& log_;
};

class SheetTest : public ::testing::Test {
protected:
    SheetTest() {
        setUiLanguage(UiLanguage::EnglishUS);
        first = new RecordingPage("first", log);
        second = new RecordingPage("second", log);
        sheet.addPage(first);
        sheet.addPage(second);
        sheet.show();
        log.clear();
    }
    ~SheetTest() override { setUiLanguage(std::nullopt); }
    QPushButton* button(int id) { return qobject_cast<QPushButton*>(findControl(&sheet, id)); }
    QTabBar* tabs() { return sheet.findChild<QTabBar*>(); }

    std::vector<std::string> log;
    PropertySheet sheet{"Kelto TV Configuration"};
    RecordingPage* first;
    RecordingPage* second;
};

TEST_F(SheetTest, PagesAreDialogsShownAsTabs) {
    EXPECT_EQ(sheet.pageCount(), 2);
    EXPECT_EQ(sheet.activePage(), first);
    EXPECT_EQ(tabs()->tabText(0), "Selecting channel");
    EXPECT_NE(first->control(1008), nullptr);
    EXPECT_EQ(resourceIdOf(second), 104);
}

TEST_F(SheetTest, ATabChangeAsksThePageItLeaves) {
    first->allowLeave = false;
    tabs()->setCurrentIndex(1);  // as a click on the tab does
    EXPECT_EQ(sheet.activeIndex(), 0);
    EXPECT_EQ(tabs()->currentIndex(), 0);
    first->allowLeave = true;
    tabs()->setCurrentIndex(1);
    EXPECT_EQ(sheet.activeIndex(), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"first:kill", "first:kill", "second:set"}));
}

TEST_F(SheetTest, OkAppliesEveryPageAndARefusalKeepsTheSheetOpenOnThatPage) {
    second->allowApply = false;
    QTest::mouseClick(button(PropertySheet::IDOK), Qt::LeftButton);
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(sheet.activePage(), second);
    second->allowApply = true;
    log.clear();
    QTest::mouseClick(button(PropertySheet::IDOK), Qt::LeftButton);
    EXPECT_EQ(log, (std::vector<std::string>{"second:kill", "first:apply", "second:apply"}));
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
}

TEST_F(SheetTest, ApplyIsOfferedWhileAPageIsChangedAndCancelTellsEveryPage) {
    EXPECT_FALSE(button(PropertySheet::ID_APPLY_NOW)->isEnabled());
    second->setModified();
    EXPECT_TRUE(button(PropertySheet::ID_APPLY_NOW)->isEnabled());
    QTest::mouseClick(button(PropertySheet::ID_APPLY_NOW), Qt::LeftButton);
    EXPECT_FALSE(button(PropertySheet::ID_APPLY_NOW)->isEnabled());
    EXPECT_TRUE(sheet.isVisible());
    log.clear();
    QTest::keyClick(&sheet, Qt::Key_Escape);
    EXPECT_EQ(log, (std::vector<std::string>{"first:cancel", "second:cancel"}));
    EXPECT_EQ(sheet.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace kelto::framework::test
