// The panel's tooltips on the real window (each region's text, none between the buttons, none
// while the user has switched them off, gone at a release) and the icon the window paints while
// it is minimised.
#include "tests/viewer/window/ViewerWindowRig.h"

#include "resources/ArtResource.h"
#include "resources/StringTable.h"
#include "viewer/panel/PanelLayout.h"
#include "viewer/panel/PanelTooltips.h"
#include "viewer/window/MinimisedIcon.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace kelto {
namespace {

using viewer::PanelRegion;

class PanelTipsTest : public test::ViewerWindowRig {
protected:
    void TearDown() override {
        QToolTip::hideText();
        ViewerWindowRig::TearDown();
    }
    // The tooltip the window shows with the pointer resting at `at` (window coordinates); "" for
    // none. A tip that is already up goes first (a click anywhere takes it away at once).
    QString tipAt(QPoint at) {
        QWidget elsewhere;
        mouse(&elsewhere, QEvent::MouseButtonPress, {1, 1}, Qt::LeftButton, Qt::LeftButton);
        EXPECT_FALSE(QToolTip::isVisible());
        QHelpEvent help(QEvent::ToolTip, at, viewer->mapToGlobal(at));
        QApplication::sendEvent(viewer, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }
    QPoint centreOf(PanelRegion region) const {
        return viewer::PanelLayout(viewer->width()).regionRect(region).center() + viewer->panelRect().topLeft();
    }
};

TEST_F(PanelTipsTest, EachRegionShowsItsTextAndAReleaseTakesItAway) {
    setUiLanguage(UiLanguage::EnglishUS);
    saveState(7, QRect(40, 40, 484, 424));
    ASSERT_TRUE(open());
    const std::pair<PanelRegion, int> expected[] = {
        {PanelRegion::ChannelUp, 213},     {PanelRegion::ChannelDown, 214},  {PanelRegion::VolumeUp, 215},
        {PanelRegion::VolumeDown, 216},    {PanelRegion::Mute, 217},         {PanelRegion::VideoSource, 218},
        {PanelRegion::Exit, 219},          {PanelRegion::Configuration, 220}, {PanelRegion::Capture, 221},
        {PanelRegion::Keypad, 222},        {PanelRegion::Information, 32851},
        {PanelRegion::ChannelInformation, 32852}};
    for (const auto& [region, id] : expected)
        EXPECT_EQ(tipAt(centreOf(region)), QString::fromStdString(LoadMessage(id))) << id;
    EXPECT_EQ(tipAt(centreOf(PanelRegion::ChannelUp)), "Channel Up");

    // Between the buttons and above the panel: none.
    const viewer::PanelLayout layout(viewer->width());
    QPoint between;
    for (int x = 0; x < viewer->width() && between.isNull(); ++x)
        if (!layout.regionAt({x, 30})) between = viewer->panelRect().topLeft() + QPoint(x, 30);
    ASSERT_FALSE(between.isNull());
    EXPECT_EQ(tipAt(between), "");
    EXPECT_EQ(tipAt(QPoint(5, 5)), "");

    // A press and release on a button: the tip goes with the release.
    ASSERT_EQ(tipAt(centreOf(PanelRegion::Mute)), "Mute");
    mouse(viewer, QEvent::MouseButtonRelease, centreOf(PanelRegion::Mute), Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(QToolTip::isVisible());
    setUiLanguage(std::nullopt);
}

TEST_F(PanelTipsTest, NoneWhileTheUserHasSwitchedThemOff) {
    saveState(7, QRect(40, 40, 484, 424));
    store.writeInt("user", "s_tooltip", 0);
    ASSERT_TRUE(open());
    ASSERT_EQ(viewer->settings().tooltip, 0);
    for (PanelRegion region : {PanelRegion::ChannelUp, PanelRegion::Mute, PanelRegion::Exit})
        EXPECT_EQ(tipAt(centreOf(region)), "") << viewer::index(region);
}

// The icon's pixels as the window paints them, and the background around them untouched.
TEST(MinimisedIconTest, TheIconIsPaintedCentredOnTheBackground) {
    QImage client(201, 150, QImage::Format_ARGB32_Premultiplied);
    client.fill(Qt::black);
    {
        QPainter painter(&client);
        viewer::paintMinimisedIcon(painter, client.rect());
    }
    const QRect place = viewer::minimisedIconRect(client.rect());
    EXPECT_EQ(place, QRect(85, 59, 32, 32));
    QImage expected(client.size(), client.format());
    expected.fill(Qt::black);
    {
        QPainter painter(&expected);
        painter.drawPixmap(place.topLeft(), iconPixmap(128, QSize(32, 32)));
    }
    EXPECT_EQ(client, expected);
    // The icon is there (not an empty picture on the background).
    int painted = 0;
    for (int y = place.top(); y <= place.bottom(); ++y)
        for (int x = place.left(); x <= place.right(); ++x) painted += client.pixel(x, y) != qRgb(0, 0, 0);
    EXPECT_GT(painted, 32 * 32 / 4);
}

TEST_F(PanelTipsTest, TheMinimisedWindowPaintsItsIconInsteadOfThePanel) {
    saveState(7, QRect(40, 40, 484, 424));
    ASSERT_TRUE(open());
    auto paintedWindow = [&] {
        QImage image(viewer->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        viewer->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        return image;
    };
    const QPoint panelPixel = viewer->panelRect().center() + QPoint(0, 20);
    ASSERT_NE(paintedWindow().pixel(panelPixel), qRgb(0, 0, 0));  // the panel strip is painted
    viewer->showMinimized();
    // Only the icon, centred on the black background.
    const QImage minimised = paintedWindow();
    QImage expected(minimised.size(), minimised.format());
    expected.fill(Qt::black);
    {
        QPainter painter(&expected);
        painter.drawPixmap(viewer::minimisedIconRect(viewer->rect()).topLeft(), iconPixmap(128, QSize(32, 32)));
    }
    EXPECT_EQ(minimised, expected);
}

}  // namespace
}  // namespace kelto
