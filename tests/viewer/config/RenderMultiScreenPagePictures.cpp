// Pictures of the multi-screen page (docs/screenshots); not a test.
//   xvfb-run build/bin/render_multiscreen_page_pictures docs/screenshots
// Writes multiscreen-page.png (broadcast band, 3*3, three slots registered, a channel and a slot
// selected),
// multiscreen-page-catv.png (cable band, 4*4, the second animation frame) and
// multiscreen-page-86.png (country code 86: list positions) and multiscreen-page-ja.png (the
// Japanese texts) over a stand-in viewer.
#include "framework/CReportListCtrl.h"
#include "resources/StringTable.h"
#include "tests/support/WindowPicture.h"
#include "tests/viewer/config/MultiScreenStandInViewer.h"
#include "viewer/config/CEnvironmentPage4.h"

#include <QApplication>
#include <QTemporaryDir>

namespace {

using kelto::viewer::config::CEnvironmentPage4;

kelto::viewer::config::MultiScreenSlots slotsOf(std::initializer_list<int> values) {
    kelto::viewer::config::MultiScreenSlots s{};
    int n = 1;
    for (int v : values) s[std::size_t(n++)] = v;
    return s;
}

bool render(kelto::test::StandInViewer& viewer, const QString& file, int timerSteps = 0, int selectedSlotRow = -1) {
    CEnvironmentPage4 page(viewer);
    if (selectedSlotRow >= 0)
        page.control<kelto::framework::CReportListCtrl>(CEnvironmentPage4::kSlotListId)->setRowState(selectedSlotRow, true, true);
    // The animation's later frames: the timer's messages, delivered here at once.
    for (int i = 0; i < timerSteps; ++i)
        page.wiring().dispatch(kelto::platform::WindowMessage{page.windowHandle(), kelto::platform::WM_TIMER,
                                                              CEnvironmentPage4::kAnimationTimerId, 0, 0, {}, false});
    return kelto::test::saveWindowPicture(page, file);
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir root;
    qputenv("KELTO_ROOT", root.path().toLocal8Bit());
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("docs/screenshots");
    bool ok = true;

    kelto::setUiLanguage(kelto::UiLanguage::EnglishUS);
    kelto::test::StandInViewer tv;
    tv.settings.multiSelect = 9;
    tv.settings.tvChannel = 7;
    tv.settings.multiTv = slotsOf({7, 4, 13});
    ok = render(tv, folder + "/multiscreen-page.png", 0, 1) && ok;

    kelto::test::StandInViewer catv;
    catv.settings.videoMode = kelto::VideoMode::CATV;
    catv.settings.multiSelect = 16;
    catv.settings.catvChannel = 40;
    catv.settings.multiCatv = slotsOf({33, 40, 41, 95, 112});
    ok = render(catv, folder + "/multiscreen-page-catv.png", 1) && ok;

    // Country code 86: the registered channels by position, the slots holding positions.
    kelto::test::StandInViewer positions;
    positions.settings.countryCode = 86;
    positions.settings.tvChannel = 9;
    positions.settings.multiTv = slotsOf({1, 3});
    kelto::RegisteredList registered;
    for (int channel : {6, 9, 11, 12, 21, 23, 27, 33}) registered.channels[std::size_t(registered.count++)] = channel;
    positions.model.registered() = kelto::RegisteredChannels(registered, {}, {}, {});
    ok = render(positions, folder + "/multiscreen-page-86.png", 3) && ok;

    kelto::setUiLanguage(kelto::UiLanguage::Japanese);
    ok = render(tv, folder + "/multiscreen-page-ja.png", 2) && ok;
    return ok ? 0 : 1;
}
