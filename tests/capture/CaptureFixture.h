#pragma once
// Shared set-up of the capture tests: a virtual clock, a simulated card, a viewer window with a
// connected capture window in it, and the capture window's messages as they arrive.
#include "settings/SettingsStore.h"
#include "capture/CCaptureWindow.h"
#include "capture/CaptureWindowWidget.h"
#include "cardsim/BrooktreeCaptureDriver.h"
#include "cardsim/CardTestHook.h"
#include "framework/MessageBoxes.h"
#include "platform/Clock.h"
#include "platform/Trace.h"
#include "tests/support/TestRoot.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace kelto::capture {
inline void PrintTo(CaptureMessage message, std::ostream* out) { *out << messageName(message); }
}  // namespace kelto::capture

namespace kelto::capture::test {

class CaptureFixture : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setClock(&clock);
        cardsim::test::buildCard({}, {cardsim::test::tvStation(55'250'000, "KELTO 2")});
        cardsim::registerCaptureDriver();
        viewer.resize(400, 320);
    }
    void TearDown() override {
        window.reset();
        drivers::CaptureDriverList::clear();
        cardsim::test::clearFaults();
        platform::setClock(nullptr);
    }

    // Creates the capture window in the viewer and connects it; messages are recorded from then on.
    void createAndConnect() {
        ASSERT_EQ(window->Create(CCaptureWindow::WS_CHILD | CCaptureWindow::WS_VISIBLE, 0, 0, 400, 300, &viewer), 1);
        watchMessages();
        ASSERT_EQ(window->Connect(), 1);
    }
    void watchMessages() {
        window->GetWindow()->service().setMessageObserver([this](CaptureMessage m) { messages.push_back(m); });
    }
    CaptureService& service() { return window->GetWindow()->service(); }

    // Answers the next modal dialog with `answer` once it is shown.
    static void answerNextDialog(std::function<void(QDialog&)> answer) {
        QTimer::singleShot(0, [answer] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible()) {
                    answer(*dialog);
                    return;
                }
        });
    }

    static std::string traceLog() { return kelto::test::readFile(platform::traceLogPath()); }

    platform::VirtualClock clock{std::chrono::system_clock::time_point(std::chrono::hours(24 * 365 * 30))};
    SettingsStore store;
    QWidget viewer;
    std::unique_ptr<CCaptureWindow> window = std::make_unique<CCaptureWindow>(store);
    std::vector<CaptureMessage> messages;
    kelto::test::TemporaryFolder folder{"capture"};
};

}  // namespace kelto::capture::test
