#include "viewer/osd/CImageWindow.h"

#include "platform/WindowSystem.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace kelto::viewer::test {
namespace {

namespace fs = std::filesystem;

// A picture whose quarters differ, so a shifted or scaled painting shows.
QImage testPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y, x < width / 2 ? (y < height / 2 ? Qt::red : Qt::green)
                                                    : (y < height / 2 ? Qt::blue : Qt::black));
    return image;
}

class CImageWindowTest : public ::testing::Test {
protected:
    fs::path folder() const { return fs::path(std::getenv("KELTO_ROOT")); }
    std::string save(const QImage& image, const std::string& name, const char* format) {
        const fs::path path = folder() / name;
        EXPECT_TRUE(image.save(QString::fromStdString(path.string()), format));
        return path.string();
    }
};

TEST_F(CImageWindowTest, CreatedHiddenAndThirtyByFiftyLargerThanTheCapturePictureFindableByItsClass) {
    CImageWindow window(QSize(320, 240));
    EXPECT_TRUE(window.isHidden());
    EXPECT_TRUE(window.isWindow());
    EXPECT_EQ(window.size(), QSize(350, 290));
    EXPECT_EQ(window.windowTitle(), "ImageWindow");
    auto& system = platform::WindowSystem::instance();
    EXPECT_EQ(system.findWindow("ImageWindow", "ImageWindow"), window.windowHandle());
}

TEST_F(CImageWindowTest, ALoadedStillNamesItsSizeAndPathInTheTitle) {
    CImageWindow window(QSize(160, 120));
    const std::string path = save(testPicture(64, 48), "Kelto7.BMP", "BMP");
    ASSERT_TRUE(window.loadFile(path));
    const QString title = QString::fromStdString("(64 * 48) " + path);
    EXPECT_EQ(window.windowTitle(), title);
    EXPECT_EQ(window.picture().size(), QSize(64, 48));
    auto& system = platform::WindowSystem::instance();
    EXPECT_EQ(system.findWindow("ImageWindow", title.toStdString()), window.windowHandle());
}

TEST_F(CImageWindowTest, TheContentDecidesTheFormatAndAnUnreadableFileKeepsThePreviousPicture) {
    CImageWindow window(QSize(160, 120));
    const std::string jpegNamedBitmap = save(testPicture(80, 60), "Kelto1.BMP", "JPEG");
    ASSERT_TRUE(window.loadFile(jpegNamedBitmap));
    EXPECT_EQ(window.picture().size(), QSize(80, 60));
    const std::string bitmapNamedJpeg = save(testPicture(40, 30), "Kelto2.JPG", "BMP");
    ASSERT_TRUE(window.loadFile(bitmapNamedJpeg));
    EXPECT_EQ(window.picture().size(), QSize(40, 30));

    const fs::path broken = folder() / "Kelto3.JPG";
    QFile file(QString::fromStdString(broken.string()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture at all");
    file.close();
    const QString before = window.windowTitle();
    EXPECT_FALSE(window.loadFile(broken.string()));
    EXPECT_FALSE(window.loadFile((folder() / "missing.BMP").string()));
    EXPECT_EQ(window.picture().size(), QSize(40, 30));
    EXPECT_EQ(window.windowTitle(), before);
}

TEST_F(CImageWindowTest, ThePictureIsPaintedAtItsOwnSizeCentredOnWhite) {
    CImageWindow window(QSize(170, 100));  // 200 by 150
    ASSERT_TRUE(window.loadFile(save(testPicture(64, 48), "Kelto4.BMP", "BMP")));
    EXPECT_EQ(window.pictureOrigin(), QPoint(68, 51));
    const QImage shot = window.grab().toImage();
    EXPECT_EQ(shot.pixelColor(68, 51), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(68 + 63, 51 + 47), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(67, 51), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(68 + 64, 51 + 48), QColor(Qt::white));

    // Larger than the window: pinned to the top left corner, never shifted out of it.
    ASSERT_TRUE(window.loadFile(save(testPicture(400, 300), "Kelto5.BMP", "BMP")));
    EXPECT_EQ(window.pictureOrigin(), QPoint(0, 0));
}

TEST_F(CImageWindowTest, ClosingOnlyHidesTheWindow) {
    CImageWindow window(QSize(160, 120));
    window.show();
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isHidden());
    window.show();
    // The close message (the system menu, Alt+F4, another program) goes the same way.
    EXPECT_EQ(window.wiring().dispatch(platform::WindowMessage{window.windowHandle(), platform::WM_CLOSE, 0, 0, 0, {}, true}),
              0);
    EXPECT_TRUE(window.isHidden());
    auto& system = platform::WindowSystem::instance();
    EXPECT_EQ(system.findWindow("ImageWindow", ""), window.windowHandle()) << "still there to be shown again";
}

TEST_F(CImageWindowTest, ACaptureShowsTheStillAndResizesOnlyWhenThePictureWidthChanged) {
    CImageWindow window(QSize(320, 240));
    window.resize(500, 400);  // the user made it larger
    const std::string first = save(testPicture(320, 240), "Kelto6.BMP", "BMP");
    ASSERT_TRUE(window.presentCapture(first, QSize(320, 240)));
    EXPECT_FALSE(window.isHidden());
    EXPECT_EQ(window.size(), QSize(500, 400)) << "same picture width: the user's size stays";
    EXPECT_TRUE(window.testAttribute(Qt::WA_ShowWithoutActivating));

    const std::string second = save(testPicture(640, 480), "Kelto7.BMP", "BMP");
    ASSERT_TRUE(window.presentCapture(second, QSize(640, 480)));
    EXPECT_EQ(window.size(), QSize(670, 530));
}

}  // namespace
}  // namespace kelto::viewer::test
