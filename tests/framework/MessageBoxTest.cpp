#include "framework/MessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace kelto::framework::test {
namespace {

// Presses a button of the box that is open once the event loop runs.
void pressOnceOpen(QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [button] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) box->button(button)->click();
    });
}

TEST(MessageBox, TheRealBoxAnswersWithThePressedButton) {
    ASSERT_FALSE(messageBoxAnswererInstalled());
    QWidget owner;
    pressOnceOpen(QMessageBox::No);
    EXPECT_EQ(messageBox(&owner, "Really?", MessageButtons::YesNo, MessageIcon::Question), IDNO);
    pressOnceOpen(QMessageBox::Yes);
    EXPECT_EQ(messageBox(&owner, "Really?", MessageButtons::YesNo, MessageIcon::Question), IDYES);
    pressOnceOpen(QMessageBox::Ok);
    EXPECT_EQ(messageBox(&owner, "Done.", MessageButtons::Ok, MessageIcon::Information), IDOK);
}

// The owner of an open box may be destroyed under it (a session end closes the viewer while
// its notice is up): the box goes with its owner and the call answers with the refusing button
// instead of freeing the box a second time.
TEST(MessageBox, AnOwnerDestroyedWhileTheBoxIsOpenEndsTheBoxWithTheRefusingAnswer) {
    for (const auto& [buttons, refusing] : {std::pair{MessageButtons::YesNo, IDNO},
                                            std::pair{MessageButtons::OkCancel, IDCANCEL},
                                            std::pair{MessageButtons::Ok, IDOK}}) {
        auto* owner = new QWidget;
        QTimer::singleShot(0, [owner] { delete owner; });
        EXPECT_EQ(messageBox(owner, "Going away", buttons, MessageIcon::Warning), refusing);
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) EXPECT_EQ(qobject_cast<QMessageBox*>(widget), nullptr);
}

}  // namespace
}  // namespace kelto::framework::test
