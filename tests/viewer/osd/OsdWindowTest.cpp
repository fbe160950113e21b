#include "viewer/osd/OsdText.h"
#include "viewer/osd/OsdWindow.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

namespace kelto::viewer::test {
namespace {

const QColor kPictureColour(20, 140, 60);
const QColor kDisplayColour(255, 255, 0);

// Stands in for the live picture: one flat colour, so every pixel that is not a letter must show it.
class FlatPicture final : public QWidget {
public:
    FlatPicture() { setAttribute(Qt::WA_OpaquePaintEvent); }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), kPictureColour); }
};

struct PixelCounts {
    int picture = 0;
    int display = 0;
    int shadow = 0;
    int other = 0;  // the letters' soft edges
    int leftmostDisplay = 1 << 30;
    int rightmostDisplay = -1;
};

PixelCounts countPixels(const QImage& image, QRect area) {
    PixelCounts counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c == kPictureColour) {
                ++counts.picture;
            } else if (c == kDisplayColour) {
                ++counts.display;
                counts.leftmostDisplay = std::min(counts.leftmostDisplay, x);
                counts.rightmostDisplay = std::max(counts.rightmostDisplay, x);
            } else if (c == QColor(0, 0, 255)) {
                ++counts.shadow;
            } else {
                ++counts.other;
            }
        }
    return counts;
}

class OsdWindowTest : public ::testing::Test {
protected:
    OsdWindowTest() {
        picture.resize(640, 480);
        picture.show();
        osd = std::make_unique<OsdWindow>(picture);
    }

    void show(const QString& text, OsdAlign align = OsdAlign::Right, OsdEdge edge = OsdEdge::Top, int margin = 20) {
        osd->showText(text, align, edge, kDisplayColour, margin);
    }
    QImage screen() { return picture.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    FlatPicture picture;
    std::unique_ptr<OsdWindow> osd;
};

TEST_F(OsdWindowTest, AWideScreenPictureGetsASixtyPixelDisplayWithAFortyPixelFontAtTheChosenEdge) {
    EXPECT_TRUE(osd->isHidden());
    EXPECT_EQ(osd->windowTitle(), "OSDWindow");
    show("CH   7");
    EXPECT_FALSE(osd->isHidden());
    EXPECT_EQ(osd->geometry(), QRect(0, 0, 640, 60));
    EXPECT_EQ(osd->layout().fontPx, 40);
    const QFont font = osdFont(40);
    EXPECT_EQ(font.family(), "Arial");
    // Arial itself, or the face with its metrics (fonts-liberation2), never a wider fallback.
    const QString face = QFontInfo(font).family();
    EXPECT_TRUE(face == "Arial" || face == "Liberation Sans") << face.toStdString();
    EXPECT_EQ(font.weight(), QFont::Normal);
    EXPECT_NEAR(QFontMetrics(font).height(), 40, 1);  // the cell height, as the system counts it

    show("VOL 16 : IIIIIIIIIIIIIIII", OsdAlign::Left, OsdEdge::Bottom, 10);
    EXPECT_EQ(osd->geometry(), QRect(0, 420, 640, 60));
    picture.resize(484, 364);
    show("TV", OsdAlign::Left, OsdEdge::Bottom, 10);
    EXPECT_EQ(osd->geometry(), QRect(0, 304, 484, 60));
    picture.resize(320, 240);
    show("TV", OsdAlign::Left, OsdEdge::Top, 10);
    EXPECT_EQ(osd->geometry(), QRect(0, 0, 320, 30));
    EXPECT_EQ(osd->layout().fontPx, 20);
}

TEST_F(OsdWindowTest, ThePictureShowsThroughAroundLettersInTheDisplayColourOverABlueShadow) {
    show("CH   7");
    const QImage image = screen();
    const PixelCounts display = countPixels(image, QRect(0, 0, 640, 60));
    EXPECT_GT(display.display, 100) << "the letters in the display colour";
    EXPECT_GT(display.shadow, 20) << "the blue shadow";
    // Letters cover a small part; everything else is the picture, untouched.
    EXPECT_GT(display.picture, 640 * 60 * 9 / 10);
    EXPECT_EQ(image.pixelColor(2, 2), kPictureColour);
    EXPECT_EQ(image.pixelColor(320, 30), kPictureColour);
    const PixelCounts below = countPixels(image, QRect(0, 60, 640, 420));
    EXPECT_EQ(below.picture, 640 * 420);

    // The shadow lies one pixel right of and below the letters: right of the rightmost letter
    // column there is blue (or a blend), never the display colour.
    bool shadowBelowRight = false;
    for (int y = 0; y < 59 && !shadowBelowRight; ++y)
        for (int x = 0; x < 639; ++x)
            if (image.pixelColor(x, y) == kDisplayColour && image.pixelColor(x + 1, y + 1) == QColor(0, 0, 255)) {
                shadowBelowRight = true;
                break;
            }
    EXPECT_TRUE(shadowBelowRight);
}

TEST_F(OsdWindowTest, RightAlignedTextEndsAtTheMarginLeftAlignedStartsAtItCentredSitsInTheMiddle) {
    show("CH   7", OsdAlign::Right, OsdEdge::Top, 20);
    PixelCounts counts = countPixels(screen(), QRect(0, 0, 640, 60));
    EXPECT_LE(counts.rightmostDisplay, 640 - 20 - 1);
    EXPECT_GE(counts.rightmostDisplay, 640 - 20 - 8) << "flush with the margin, not centred";
    // The shadow is clipped to the text rectangle moved by one pixel: nothing beyond it.
    EXPECT_EQ(countPixels(screen(), QRect(640 - 19, 0, 19, 60)).picture, 19 * 60);

    show("VOL 16 : IIIIIIIIIIIIIIII", OsdAlign::Left, OsdEdge::Bottom, 10);
    counts = countPixels(screen(), QRect(0, 420, 640, 60));
    EXPECT_GE(counts.leftmostDisplay, 10);
    EXPECT_LE(counts.leftmostDisplay, 10 + 6);
    EXPECT_EQ(countPixels(screen(), QRect(0, 420, 10, 60)).picture, 10 * 60);

    // The still capture's announcement is centred: as much room left of it as right of it.
    show("CAPTURE : /tmp/Kelto3.BMP", OsdAlign::Centre, OsdEdge::Top, 10);
    counts = countPixels(screen(), QRect(0, 0, 640, 60));
    ASSERT_GT(counts.display, 100);
    const int leftRoom = counts.leftmostDisplay, rightRoom = 639 - counts.rightmostDisplay;
    EXPECT_GT(leftRoom, 60) << "not left aligned";
    EXPECT_GT(rightRoom, 60) << "not right aligned";
    EXPECT_NEAR(leftRoom, rightRoom, 6);
}

TEST_F(OsdWindowTest, TheTextIsVerticallyCentred) {
    show("VOL 16 : IIIIIIIIIIIIIIII", OsdAlign::Left, OsdEdge::Top, 10);
    const QImage image = screen();
    int top = 60, bottom = -1;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 640; ++x)
            if (image.pixelColor(x, y) == kDisplayColour) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(bottom, top);
    // Capitals without descenders sit a little above the centre of the cell; within a few pixels.
    EXPECT_NEAR((top + bottom) / 2.0, 30.0, 6.0);
    EXPECT_GT(top, 5);
}

TEST_F(OsdWindowTest, ATextTooLongForTheDisplayIsShortenedWithAnEllipsis) {
    const QFontMetrics metrics(osdFont(40));
    const QString longText = "CAPTURE : " + QString(60, QLatin1Char('W'));
    const QString shown = elidePathStyle(longText, metrics, 600);
    EXPECT_TRUE(shown.contains("...")) << shown.toStdString();
    EXPECT_LE(metrics.horizontalAdvance(shown), 600);
    EXPECT_TRUE(shown.startsWith("CAPTURE")) << shown.toStdString();

    // A path keeps its file name and gives up the folders in front of it.
    const QString path = "CAPTURE : /home/somebody/a/rather/long/folder/name/Capture/Kelto13.BMP";
    const QString shortPath = elidePathStyle(path, metrics, 600);
    EXPECT_TRUE(shortPath.endsWith("/Kelto13.BMP")) << shortPath.toStdString();
    EXPECT_TRUE(shortPath.contains("...")) << shortPath.toStdString();
    EXPECT_LE(metrics.horizontalAdvance(shortPath), 600);

    // Without a folder the middle gives way: both ends stay readable.
    const QString volume = elidePathStyle("VOL 16 : IIIIIIIIIIIIIIII", metrics, 200);
    EXPECT_TRUE(volume.startsWith("VOL") && volume.endsWith("I") && volume.contains("...")) << volume.toStdString();
    EXPECT_LE(metrics.horizontalAdvance(volume), 200);

    EXPECT_EQ(elidePathStyle("CH   7", metrics, 600), "CH   7");
    EXPECT_EQ(elidePathStyle("CH   7", metrics, 2), "");

    // On screen: the letters stay inside the text rectangle.
    show(longText, OsdAlign::Left, OsdEdge::Top, 20);
    const PixelCounts counts = countPixels(screen(), QRect(0, 0, 640, 60));
    EXPECT_GE(counts.leftmostDisplay, 20);
    EXPECT_LE(counts.rightmostDisplay, 619);
}

// When a text goes away is the viewer's business (its timer 24); the display itself stays until
// it is hidden, and a new picture size hides it.
TEST_F(OsdWindowTest, ATextStaysUntilHiddenOrUntilThePictureIsResized) {
    show("CH   7");
    QApplication::processEvents();
    EXPECT_FALSE(osd->isHidden());
    osd->hideText();
    EXPECT_TRUE(osd->isHidden());
    EXPECT_EQ(osd->text(), "CH   7");

    show("CH   7");
    picture.resize(640, 480);  // the same size: no change
    EXPECT_FALSE(osd->isHidden());
    picture.resize(484, 364);
    EXPECT_TRUE(osd->isHidden());
}

TEST_F(OsdWindowTest, TheDisplayLetsMouseClicksThroughToThePicture) {
    show("CH   7");
    EXPECT_TRUE(osd->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(picture.childAt(600, 30), nullptr);
}

}  // namespace
}  // namespace kelto::viewer::test

namespace kelto::viewer::test {
namespace {

TEST(OsdLayerTest, OnADenseScreenTheLettersAreDrawnAtTheScreensPixels) {
    const OsdLayout layout = layoutOsd({0, 0, 640, 480}, OsdEdge::Top, 20);
    const QImage layer = renderOsdLayer(640, 60, layout.text, "CH   7", OsdAlign::Right, QColor(255, 255, 0), 40, 2.0);
    EXPECT_EQ(layer.size(), QSize(1280, 120));
    EXPECT_EQ(layer.deviceIndependentSize(), QSizeF(640, 60));
    int letters = 0;
    for (int y = 0; y < layer.height(); ++y)
        for (int x = 0; x < layer.width(); ++x)
            if (layer.pixelColor(x, y) == QColor(255, 255, 0)) ++letters;
    EXPECT_GT(letters, 400);
    EXPECT_EQ(layer.pixelColor(0, 0).alpha(), 0);
}

}  // namespace
}  // namespace kelto::viewer::test
