// Renders the on-screen display over a test picture, as it looks in the viewer, into
// <folder>/osd-<width>x<height>.png: "CH   7" at the top right (margin 20) and the volume at the
// bottom left (margin 10), each from its own display so both show in one picture.
//   osd_screenshots docs/screenshots             (rendered off-screen)
//   xvfb-run osd_screenshots <folder> --screen     (as an X server shows it: osd-*-screen.png)
#include "viewer/osd/OsdWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QLinearGradient>
#include <QPainter>

#include <cstdio>
#include <cstdlib>

namespace {

// Colour bars over a grey ramp and a darker band: bright, dark and busy areas for the letters.
class TestPicture final : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QColor bars[] = {{192, 192, 192}, {192, 192, 0}, {0, 192, 192}, {0, 192, 0},
                               {192, 0, 192},   {192, 0, 0},   {0, 0, 192}};
        const int barsHeight = height() * 2 / 3;
        for (int i = 0; i < 7; ++i) {
            const int left = width() * i / 7;
            const int right = width() * (i + 1) / 7;
            painter.fillRect(left, 0, right - left, barsHeight, bars[i]);
        }
        QLinearGradient ramp(0, 0, width(), 0);
        ramp.setColorAt(0, Qt::black);
        ramp.setColorAt(1, Qt::white);
        painter.fillRect(0, barsHeight, width(), height() / 6, ramp);
        painter.fillRect(0, barsHeight + height() / 6, width(), height() - barsHeight - height() / 6, QColor(16, 32, 72));
    }
};

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const bool fromScreen = argc > 2 && QString::fromLocal8Bit(argv[2]) == QStringLiteral("--screen");
    const QColor displayColour(255, 255, 0);  // the factory display colour
    for (const QSize size : {QSize(484, 364), QSize(640, 480)}) {
        TestPicture picture;
        picture.setWindowFlag(Qt::FramelessWindowHint);
        picture.resize(size);
        picture.show();
        kelto::viewer::OsdWindow channel(picture);
        kelto::viewer::OsdWindow volume(picture);
        channel.showText("CH   7", kelto::viewer::OsdAlign::Right, kelto::viewer::OsdEdge::Top, displayColour, 20);
        volume.showText("VOL 16 : IIIIIIIIIIIIIIII", kelto::viewer::OsdAlign::Left, kelto::viewer::OsdEdge::Bottom,
                        displayColour, 10);
        const QString path = QStringLiteral("%1/osd-%2x%3%4.png")
                                 .arg(folder)
                                 .arg(size.width())
                                 .arg(size.height())
                                 .arg(fromScreen ? "-screen" : "");
        QPixmap shot;
        if (fromScreen) {
            // What the window system shows, not what the widget renders: proves the composition.
            picture.move(0, 0);
            QElapsedTimer settle;
            settle.start();
            while (settle.elapsed() < 500) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            shot = picture.screen()->grabWindow(0, picture.x(), picture.y(), size.width(), size.height());
        } else {
            shot = picture.grab();
        }
        if (!shot.save(path)) {
            std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
            return 1;
        }
        std::printf("%s\n", path.toLocal8Bit().constData());
    }
    return 0;
}
