// The add and modify dialogs with real table files: building the bands, the checks, the
// unsigned-integer refusal, in-place editing by F2 and by a second click, writing with the
// decimal conversion, and a file that cannot be written.
#include "tests/viewer/freq/FreqDialogsRig.h"

#include "viewer/freq/UnsignedEdit.h"

#include <QTest>

#include <unistd.h>

namespace kelto {
namespace {

using viewer::freq::CFreqTableAddDlg;
using viewer::freq::CFreqTableDlg;
using viewer::freq::CFreqTableModifyDlg;

class FreqTableEditDlgTest : public test::FreqDialogsRig {
protected:
    // A second file name at which the table's temporary file cannot be created (a folder is in
    // the way), so writing `name` fails.
    static void blockWriting(const std::string& name) {
        std::filesystem::create_directory(tablePath(name).string() + ".tmp." + std::to_string(::getpid()));
    }
    // The open in-place editor of `l` gets `text` and Return, which ends the edit.
    static void editWith(framework::CReportListCtrl& l, const QString& text) {
        QApplication::processEvents();
        auto* editor = l.viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr) << "no editor open";
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static void pressRow(framework::CReportListCtrl& l, int row) {
        const QRect rect = l.visualItemRect(l.topLevelItem(row));
        QTest::mouseClick(l.viewport(), Qt::LeftButton, {}, rect.center());
    }
};

TEST_F(FreqTableEditDlgTest, TheWriteButtonsBuildZeroRowsAndOkWritesTheAllZeroTable) {
    CFreqTableAddDlg add;
    auto* tv = list(&add, CFreqTableAddDlg::kTvListId);
    ASSERT_NE(tv, nullptr);
    EXPECT_FALSE(tv->isEnabled());
    EXPECT_EQ(tv->headerItem()->text(1), "CH");
    type(&add, CFreqTableAddDlg::kFileNameId, "fresh");
    click(&add, framework::IDOK);  // no band built yet: nothing
    EXPECT_FALSE(std::filesystem::exists(tablePath("fresh")));

    type(&add, CFreqTableAddDlg::kTvMinId, "2");
    type(&add, CFreqTableAddDlg::kTvMaxId, "4");
    click(&add, CFreqTableAddDlg::kWriteTvId);
    EXPECT_TRUE(tv->isEnabled());
    EXPECT_EQ(column(&add, CFreqTableAddDlg::kTvListId, 0), (std::vector<std::string>(3, "00000000")));
    EXPECT_EQ(column(&add, CFreqTableAddDlg::kTvListId, 1), (std::vector<std::string>{"2", "3", "4"}));
    type(&add, CFreqTableAddDlg::kCatvMinId, "1");
    type(&add, CFreqTableAddDlg::kCatvMaxId, "2");
    click(&add, CFreqTableAddDlg::kWriteCatvId);

    for (const char* reserved : {"", "Default"}) {
        type(&add, CFreqTableAddDlg::kFileNameId, reserved);
        click(&add, framework::IDOK);
        EXPECT_NE(add.result(), QDialog::Accepted) << reserved;
    }
    type(&add, CFreqTableAddDlg::kFileNameId, "fresh");
    click(&add, framework::IDOK);
    EXPECT_EQ(add.result(), QDialog::Accepted);
    EXPECT_EQ(std::filesystem::file_size(tablePath("fresh")), 36u);
    EXPECT_EQ(tableValues("fresh"), (std::vector<std::int32_t>{2, 4, 0, 0, 0, 1, 2, 0, 0}));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(FreqTableEditDlgTest, MinEqualToMaxBuildsNothingButOkAcceptsIt) {
    CFreqTableAddDlg add;
    type(&add, CFreqTableAddDlg::kTvMinId, "5");
    type(&add, CFreqTableAddDlg::kTvMaxId, "5");
    click(&add, CFreqTableAddDlg::kWriteTvId);
    EXPECT_FALSE(list(&add, CFreqTableAddDlg::kTvListId)->isEnabled());
    EXPECT_EQ(list(&add, CFreqTableAddDlg::kTvListId)->rowCount(), 0);
    for (const char* above : {"0", "201"}) {  // 0 and above 200 build nothing either
        type(&add, CFreqTableAddDlg::kCatvMinId, "1");
        type(&add, CFreqTableAddDlg::kCatvMaxId, above);
        click(&add, CFreqTableAddDlg::kWriteCatvId);
        EXPECT_EQ(list(&add, CFreqTableAddDlg::kCatvListId)->rowCount(), 0) << above;
    }
    type(&add, CFreqTableAddDlg::kCatvMaxId, "2");
    click(&add, CFreqTableAddDlg::kWriteCatvId);
    type(&add, CFreqTableAddDlg::kFileNameId, "single");
    click(&add, framework::IDOK);
    EXPECT_EQ(add.result(), QDialog::Accepted);
    // The TV list has no row: its one channel is written as 0.
    EXPECT_EQ(tableValues("single"), (std::vector<std::int32_t>{5, 5, 0, 1, 2, 0, 0}));
}

TEST_F(FreqTableEditDlgTest, TextThatIsNoUnsignedNumberIsRefusedWithTheStandardRequest) {
    CFreqTableAddDlg add;
    add.show();
    for (const char* bad : {"abc", "-3", "", "4294967296"}) {
        boxes.clear();
        type(&add, CFreqTableAddDlg::kTvMinId, "2");
        type(&add, CFreqTableAddDlg::kTvMaxId, bad);
        click(&add, CFreqTableAddDlg::kWriteTvId);
        ASSERT_EQ(boxes.size(), 1u) << bad;
        EXPECT_EQ(boxes[0].text, viewer::freq::kUnsignedRequest);
        EXPECT_EQ(list(&add, CFreqTableAddDlg::kTvListId)->rowCount(), 0) << bad;
    }
    boxes.clear();
    type(&add, CFreqTableAddDlg::kTvMaxId, " 3 ");
    click(&add, CFreqTableAddDlg::kWriteTvId);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(list(&add, CFreqTableAddDlg::kTvListId)->rowCount(), 2);
}

TEST_F(FreqTableEditDlgTest, F2AndASecondClickEditTheFrequencyAndOkWritesItsDecimalValue) {
    writeTable("mine", {2, 4, 100, 200, 300, 1, 2, 400, 500});
    ASSERT_TRUE(model.LoadFreqFile("mine"));
    CFreqTableModifyDlg modify("mine", model.records());
    modify.show();
    QApplication::setActiveWindow(&modify);
    auto* tv = list(&modify, CFreqTableModifyDlg::kTvListId);
    auto* catv = list(&modify, CFreqTableModifyDlg::kCatvListId);
    ASSERT_TRUE(tv && catv);
    EXPECT_EQ(column(&modify, CFreqTableModifyDlg::kTvListId, 0), (std::vector<std::string>{"100", "200", "300"}));

    // F2 with no row selected and focused does nothing.
    tv->setFocus();
    tv->setRowState(0, false, false);
    QTest::keyClick(tv, Qt::Key_F2);
    QApplication::processEvents();
    EXPECT_EQ(tv->viewport()->findChild<QLineEdit*>(), nullptr);

    tv->setRowState(1, true, true);
    QTest::keyClick(tv, Qt::Key_F2);
    editWith(*tv, "12abc");

    // A first click selects, the second click on the same row edits.
    pressRow(*catv, 1);
    QApplication::processEvents();
    EXPECT_TRUE(catv->isRowSelected(1));
    EXPECT_EQ(catv->itemText(1, 0), "500");
    pressRow(*catv, 1);
    editWith(*catv, "x7");

    click(&modify, framework::IDOK);
    EXPECT_EQ(modify.result(), QDialog::Accepted);
    EXPECT_EQ(tableValues("mine"), (std::vector<std::int32_t>{2, 4, 100, 12, 300, 1, 2, 400, 0}));
}

TEST_F(FreqTableEditDlgTest, AnUnwritableTableIsReportedTheDialogStaysOpenAndTheOldFileStays) {
    const std::vector<std::int32_t> old{2, 4, 100, 200, 300, 1, 2, 400, 500};
    writeTable("mine", old);
    ASSERT_TRUE(model.LoadFreqFile("mine"));
    blockWriting("mine");
    CFreqTableModifyDlg modify("mine", model.records());
    modify.show();
    list(&modify, CFreqTableModifyDlg::kTvListId)->SetItemText(0, 0, "999");
    click(&modify, framework::IDOK);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("mine.freq"), std::string::npos);
    EXPECT_EQ(boxes[0].icon, framework::MessageIcon::Stop);
    EXPECT_TRUE(modify.isVisible());
    EXPECT_EQ(tableValues("mine"), old);

    boxes.clear();
    blockWriting("new");
    CFreqTableAddDlg add;
    add.show();
    type(&add, CFreqTableAddDlg::kTvMinId, "2");
    type(&add, CFreqTableAddDlg::kTvMaxId, "3");
    click(&add, CFreqTableAddDlg::kWriteTvId);
    type(&add, CFreqTableAddDlg::kCatvMinId, "2");
    type(&add, CFreqTableAddDlg::kCatvMaxId, "3");
    click(&add, CFreqTableAddDlg::kWriteCatvId);
    type(&add, CFreqTableAddDlg::kFileNameId, "new");
    click(&add, framework::IDOK);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(add.isVisible());
    EXPECT_FALSE(std::filesystem::exists(tablePath("new")));
}

TEST_F(FreqTableEditDlgTest, AddAndModifyFromTheTableDialog) {
    writeTable("mine", {2, 3, 100, 200, 1, 1, 300});
    CFreqTableDlg dialog(model, controller, countryCode);
    dialog.show();
    // Modify is not for "Default".
    click(&dialog, CFreqTableDlg::kModifyId);
    EXPECT_EQ(openDialog(CFreqTableModifyDlg::kResourceId), nullptr);

    choose(&dialog, "mine");
    whileOpen([&] {
        QWidget* modify = openDialog(CFreqTableModifyDlg::kResourceId);
        ASSERT_NE(modify, nullptr);
        list(modify, CFreqTableModifyDlg::kTvListId)->SetItemText(1, 0, "250");
        click(modify, framework::IDOK);
    });
    click(&dialog, CFreqTableDlg::kModifyId);
    EXPECT_EQ(column(&dialog, CFreqTableDlg::kTvListId, 0), (std::vector<std::string>{"100", "250"}));

    std::filesystem::remove(tablePath("mine"));  // so the new table is the last entry
    whileOpen([&] {
        QWidget* add = openDialog(CFreqTableAddDlg::kResourceId);
        ASSERT_NE(add, nullptr);
        type(add, CFreqTableAddDlg::kTvMinId, "7");
        type(add, CFreqTableAddDlg::kTvMaxId, "8");
        click(add, CFreqTableAddDlg::kWriteTvId);
        type(add, CFreqTableAddDlg::kCatvMinId, "1");
        type(add, CFreqTableAddDlg::kCatvMaxId, "2");
        click(add, CFreqTableAddDlg::kWriteCatvId);
        type(add, CFreqTableAddDlg::kFileNameId, "added");
        click(add, framework::IDOK);
    });
    click(&dialog, CFreqTableDlg::kAddId);
    EXPECT_EQ(dialog.tableNames(), (QStringList{"Default", "added"}));
    EXPECT_EQ(dialog.selectedName(), "added");
    EXPECT_EQ(column(&dialog, CFreqTableDlg::kTvListId, 1), (std::vector<std::string>{"7", "8"}));
}

}  // namespace
}  // namespace kelto
