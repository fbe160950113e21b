// The display over the real live-picture widget: new frames keep arriving under it.
#include "viewer/osd/OsdWindow.h"

#include "capture/CaptureWindowWidget.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelto::viewer::test {
namespace {

void presentFlatFrame(capture::CaptureWindowWidget& window, QRgb colour) {
    drivers::FrameFormat format;
    format.width = 320;
    format.height = 240;
    format.bitsPerPixel = 32;
    std::vector<std::uint8_t> pixels(format.imageBytes());
    for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
        pixels[i] = std::uint8_t(qBlue(colour));
        pixels[i + 1] = std::uint8_t(qGreen(colour));
        pixels[i + 2] = std::uint8_t(qRed(colour));
        pixels[i + 3] = 0xFF;
    }
    window.presentFrame(capture::LiveFrame{format, pixels, std::chrono::steady_clock::now()});
}

int countColour(const QImage& image, QRect area, const QColor& colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == colour) ++count;
    return count;
}

TEST(OsdOverLivePictureTest, EveryNewFrameShowsAroundTheLettersAndTheLettersStay) {
    capture::CaptureWindowWidget live;
    live.resize(640, 480);
    live.show();
    OsdWindow osd(live);
    const QColor yellow(255, 255, 0);
    osd.showText("VOL 16 : IIIIIIIIIIIIIIII", OsdAlign::Left, OsdEdge::Bottom, yellow, 10);
    const QRect display(0, 420, 640, 60);

    for (const QRgb frameColour : {qRgb(30, 90, 160), qRgb(200, 40, 40)}) {
        presentFlatFrame(live, frameColour);
        const QImage shot = live.grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shot.pixelColor(3, 423), QColor(frameColour)) << "the new frame shows through";
        EXPECT_GT(countColour(shot, display, QColor(frameColour)), 640 * 60 * 8 / 10);
        EXPECT_GT(countColour(shot, display, yellow), 200) << "the letters stay over the new frame";
        EXPECT_GT(countColour(shot, display, QColor(0, 0, 255)), 20);
    }
}

}  // namespace
}  // namespace kelto::viewer::test
