#pragma once
// The channel page over the real viewer on the simulated card (US plan, broadcast band, channels
// 6, 7, 9, 11, 12 registered), off-screen and in virtual time. Message boxes are recorded and
// answered with `answer` (or by `onBox` when set).
#include "tests/viewer/window/ViewerWindowRig.h"

#include "cardsim/CardTestHook.h"
#include "framework/CReportListCtrl.h"
#include "viewer/config/CEnvironmentPage1.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>

#include <functional>
#include <memory>
#include <vector>

namespace kelto::test {

class ChannelPageRig : public ViewerWindowRig {
protected:
    using Page = viewer::config::CEnvironmentPage1;

    void SetUp() override {
        ViewerWindowRig::SetUp();
        framework::setMessageBoxAnswerer([this](const framework::MessageBoxRequest& r) {
            boxes.push_back(r);
            return onBox ? onBox(r) : answer;
        });
    }
    void TearDown() override {
        page.reset();
        ViewerWindowRig::TearDown();
    }

    // Opens the viewer (once) and then the page over it.
    Page& openPage() {
        if (!viewer) open();
        page = std::make_unique<Page>(sheet());
        page->setCloseButtonSwitch([this](bool enabled) { closeButton.push_back(enabled); });
        return *page;
    }
    viewer::config::SheetViewer& sheet() { return viewer->sheetViewer(); }
    RegisteredChannels& registered() { return sheet().channelModel().registered(); }
    void setList(ChannelBand band, const std::vector<int>& channels) {
        for (int i = 0; i < int(channels.size()); ++i) registered().setEntry(band, i, channels[std::size_t(i)]);
        registered().setCount(band, int(channels.size()));
    }
    std::vector<int> list(ChannelBand band) {
        std::vector<int> channels;
        for (int i = 0; i < registered().count(band); ++i) channels.push_back(registered().entry(band, i));
        return channels;
    }

    framework::CReportListCtrl* listCtrl() const { return page->control<framework::CReportListCtrl>(Page::kChannelList); }
    std::vector<QString> rows(int column = 0) const {
        std::vector<QString> texts;
        for (int r = 0; r < listCtrl()->rowCount(); ++r) texts.push_back(listCtrl()->itemText(r, column));
        return texts;
    }
    int selectedRow() const { return listCtrl()->selectedAndFocusedRow(); }
    QString text(int id) const {
        if (auto* label = page->control<QLabel>(id)) return label->text();
        if (auto* field = page->control<QLineEdit>(id)) return field->text();
        return {};
    }
    bool enabled(int id) const { return page->control(id) && page->control(id)->isEnabled(); }
    QSlider* slider() const { return page->control<QSlider>(Page::kFineSlider); }
    QProgressBar* progress() const { return page->control<QProgressBar>(Page::kScanProgress); }
    // A click on a button as the user makes it (nothing happens while it is disabled).
    void click(int id) { page->control<QPushButton>(id)->click(); }
    void pressDelete() {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
        QCoreApplication::sendEvent(listCtrl(), &key);
    }
    int tunedChannel() { return viewer->session()->lastTunedChannels()[0]; }

    // Serves the page's thread until the scan has ended; false when it did not within 10 s.
    bool runScan() {
        QElapsedTimer waited;
        waited.start();
        while (page && page->scanning()) {
            if (waited.elapsed() > 10'000) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        QCoreApplication::processEvents();
        return true;
    }

    // Boxes asked with this text.
    int boxesSaying(const std::string& text) const {
        int n = 0;
        for (const auto& box : boxes)
            if (box.text == text) ++n;
        return n;
    }

    std::unique_ptr<Page> page;
    int answer = framework::IDYES;
    std::function<int(const framework::MessageBoxRequest&)> onBox;
    std::vector<bool> closeButton;
};

}  // namespace kelto::test
