// The viewer's command 32886 opens the frequency table dialog; a table applied there is what the
// card is tuned from (the real library on the simulated card).
#include "cardsim/Card.h"
#include "cardsim/PllTuner.h"
#include "framework/ControlIds.h"
#include "tests/support/TestRoot.h"
#include "tests/viewer/window/ViewerWindowRig.h"
#include "viewer/freq/CFreqTableDlg.h"

#include <QAbstractButton>
#include <QComboBox>

namespace kelto {
namespace {

using viewer::freq::CFreqTableDlg;

class AppliedTableTuningTest : public test::ViewerWindowRig {
protected:
    std::int64_t tunedFrequencyHz() { return cardsim::lockCard()->tuner()->tunedFrequencyHz(); }
};

TEST_F(AppliedTableTuningTest, TheAppliedTableTunesTheCardAndItsNameIsSaved) {
    // Broadcast 2..5 with channel 5 at the station's 175.25 MHz; cable 1..2.
    std::string bytes;
    for (std::int32_t v : {2, 5, 55'250'000, 61'250'000, 67'250'000, 175'250'000, 1, 2, 73'000'000, 75'000'000})
        for (int i = 0; i < 4; ++i) bytes.push_back(char((std::uint32_t(v) >> (8 * i)) & 0xFF));
    test::writeFile(platform::programFolder() / "moved.freq", bytes);
    saveState(7, QRect(100, 100, 484, 364));
    ASSERT_TRUE(open());
    ASSERT_EQ(tunedFrequencyHz(), 175'250'000);  // channel 7 of the country plan

    bool opened = false;
    QMetaObject::invokeMethod(qApp, [&] {
        QWidget* dialog = framework::findResourceWindow(CFreqTableDlg::kResourceId);
        opened = dialog && dialog->isVisible() && dialog->parentWidget() == nullptr;
        ASSERT_NE(dialog, nullptr);
        auto* combo = qobject_cast<QComboBox*>(framework::findControl(dialog, CFreqTableDlg::kTableComboId));
        const int index = combo->findText("moved");
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        dialog->close();  // the close box applies like OK
    }, Qt::QueuedConnection);
    viewer->wiring().sendCommand(32886);
    EXPECT_TRUE(opened);

    // Nothing is tuned anew until a channel is chosen; then channel 5 tunes the station's frequency.
    EXPECT_EQ(tunedFrequencyHz(), 175'250'000);
    viewer->session()->TuneChannel(2, false);
    EXPECT_EQ(tunedFrequencyHz(), 55'250'000);
    viewer->session()->TuneChannel(5, false);
    EXPECT_EQ(tunedFrequencyHz(), 175'250'000);
    EXPECT_EQ(viewer->channelBounds().tvHighest, 5);

    close();
    EXPECT_EQ(store.readString("user", "frequencyname", ""), "moved");
    EXPECT_EQ(store.readInt("tvchannel", "tv_count", 0), 4);
}

// The context menu leaves 32886 out; Alt+F of table 390 is the way to the dialog.
TEST_F(AppliedTableTuningTest, AltFOpensTheDialogAndCancelAppliesNothing) {
    ASSERT_TRUE(open());
    bool opened = false;
    QMetaObject::invokeMethod(qApp, [&] {
        QWidget* dialog = framework::findResourceWindow(CFreqTableDlg::kResourceId);
        opened = dialog && dialog->isVisible();
        if (auto* cancel = dialog ? qobject_cast<QAbstractButton*>(framework::findControl(dialog, 2)) : nullptr) cancel->click();
    }, Qt::QueuedConnection);
    QTest::keyClick(viewer, Qt::Key_F, Qt::AltModifier);
    EXPECT_TRUE(opened);
    EXPECT_EQ(viewer->settings().frequencyName, "Default");
}

}  // namespace
}  // namespace kelto
