#include "tests/capture/CaptureFixture.h"
#include "tests/capture/MediaProbe.h"

#include "capture/StillImageFile.h"

#include <QImage>

#include <cstring>

namespace kelto::capture::test {
namespace {

template <typename Record>
Record recordAt(const std::string& bytes, std::size_t offset) {
    Record record;
    std::memcpy(&record, bytes.data() + offset, sizeof record);
    return record;
}

// The colour of a driver pixel as 0xRRGGBB.
unsigned driverPixel(const GrabbedFrame& frame, int x, int y) {
    const std::uint8_t* p = frame.pixels.data() + std::size_t(y) * frame.format.bytesPerRow() +
                            std::size_t(x) * (frame.format.bitsPerPixel / 8);
    return unsigned(p[2]) << 16 | unsigned(p[1]) << 8 | p[0];
}

TEST_F(CaptureFixture, BitmapFileHasCorrectHeadersAndRowsBottomUp) {
    createAndConnect();
    const auto path = folder / "Kelto.BMP";
    ASSERT_EQ(window->SaveFrameAsBitmapFile(path.string()), 1);
    ASSERT_EQ(service().grabFrame(), 1);  // the same moment: the clock stands still
    const GrabbedFrame& frame = service().grabbedFrame();

    const std::string bytes = kelto::test::readFile(path);
    const auto file = recordAt<BitmapFileHeader>(bytes, 0);
    const auto info = recordAt<BitmapInfoHeader>(bytes, sizeof(BitmapFileHeader));
    // The file header is packed to 2 bytes, so its 32-bit fields may sit off their alignment:
    // they are read into values, never bound to the references EXPECT_EQ takes.
    const std::uint32_t fileSize = file.size;
    const std::uint32_t offBits = file.offBits;
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(fileSize, bytes.size());
    EXPECT_EQ(file.reserved1, 0);
    EXPECT_EQ(offBits, 54u);
    EXPECT_EQ(info.size, 40u);
    EXPECT_EQ(info.width, 320);
    EXPECT_EQ(info.height, 240);
    EXPECT_EQ(info.planes, 1);
    EXPECT_EQ(info.bitCount, 24);
    EXPECT_EQ(info.compression, 0u);
    EXPECT_EQ(info.sizeImage, 960u * 240u);
    EXPECT_EQ(bytes.size(), 54u + 960u * 240u);

    const QImage image(QString::fromStdString(path.string()), "BMP");
    ASSERT_EQ(image.size(), QSize(320, 240));
    for (auto [x, y] : {std::pair{0, 0}, {319, 0}, {0, 239}, {160, 200}})
        EXPECT_EQ(image.pixel(x, y) & 0xFFFFFFu, driverPixel(frame, x, y)) << x << "," << y;
}

TEST_F(CaptureFixture, ThirtyTwoBitFramesGiveThirtyTwoBitBitmaps) {
    createAndConnect();
    ASSERT_TRUE(service().applyFrameFormat({80, 60, 32}));
    const auto path = folder / "Kelto1.BMP";
    ASSERT_EQ(window->SaveFrameAsBitmapFile(path.string()), 1);
    const std::string bytes = kelto::test::readFile(path);
    const auto info = recordAt<BitmapInfoHeader>(bytes, sizeof(BitmapFileHeader));
    EXPECT_EQ(info.bitCount, 32);
    EXPECT_EQ(info.sizeImage, 80u * 4 * 60);
    EXPECT_EQ(QImage(QString::fromStdString(path.string())).size(), QSize(80, 60));
}

TEST_F(CaptureFixture, JpegNameGetsARealJpeg) {
    createAndConnect();
    const auto path = folder / "Kelto.JPG";
    ASSERT_EQ(window->SaveFrameAsBitmapFile(path.string()), 1);
    const std::string bytes = kelto::test::readFile(path);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(std::uint8_t(bytes[0]), 0xFF);
    EXPECT_EQ(std::uint8_t(bytes[1]), 0xD8);
    EXPECT_EQ(std::uint8_t(bytes[bytes.size() - 2]), 0xFF);
    EXPECT_EQ(std::uint8_t(bytes[bytes.size() - 1]), 0xD9);

    const MediaProbe probe = probeMedia(path);
    ASSERT_TRUE(probe.opened);
    EXPECT_EQ(probe.videoCodec, AV_CODEC_ID_MJPEG);
    EXPECT_EQ(probe.width, 320);
    EXPECT_EQ(probe.height, 240);
    EXPECT_EQ(probe.decodedFrames, 1);
    // Any image viewer opens it.
    EXPECT_EQ(QImage(QString::fromStdString(path.string()), "JPG").size(), QSize(320, 240));
}

TEST_F(CaptureFixture, FailedSaveWritesNothingAndKeepsAnOldFile) {
    createAndConnect();
    EXPECT_EQ(window->SaveFrameAsBitmapFile((folder / "missing" / "Kelto.BMP").string()), 0);
    EXPECT_EQ(window->SaveFrameAsBitmapFile(""), 0);
    window->Disconnect();
    kelto::test::writeFile(folder / "Kelto.BMP", "old");
    EXPECT_EQ(window->SaveFrameAsBitmapFile((folder / "Kelto.BMP").string()), 0);
    EXPECT_EQ(kelto::test::readFile(folder / "Kelto.BMP"), "old");
}

TEST(StillImageFileTest, ShortPixelBuffersAreRefused) {
    std::vector<std::uint8_t> pixels(100);
    EXPECT_TRUE(makeDibFile({80, 60, 24}, pixels).empty());
    EXPECT_TRUE(makeJpegFile({80, 60, 24}, pixels).empty());
    EXPECT_TRUE(namesJpegFile("a/b.jpeg"));
    EXPECT_TRUE(namesJpegFile("a/b.Jpg"));
    EXPECT_FALSE(namesJpegFile("a/b.jpg.bmp"));
}

}  // namespace
}  // namespace kelto::capture::test
