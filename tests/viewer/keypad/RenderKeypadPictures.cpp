// Writes pictures of the keypad (the skin, a held key, the displays in several states) at four
// times their size, for looking at the art: build/bin/render_keypad_pictures <folder>
#include "viewer/keypad/KeypadPainter.h"

#include <QGuiApplication>
#include <QPainter>

#include <cstdio>

using namespace kelto::viewer;

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? argv[1] : ".";
    KeypadView a;
    a.channelNumber = 7;
    KeypadView b = a;
    b.videoMode = kelto::VideoMode::CATV;
    b.channelNumber = 125;
    b.muted = true;
    b.volumeStep = 9;
    b.drawnPressed[std::size_t(index(KeypadRegion::Digit5))] = true;
    b.drawnPressed[std::size_t(index(KeypadRegion::ListUp))] = true;
    KeypadView c = a;
    c.videoMode = kelto::VideoMode::VIDEO;
    c.volumeStep = 3;
    const int scale = 4;
    QImage sheet(3 * (kKeypadSize.width() * scale + 16), kKeypadSize.height() * scale, QImage::Format_RGB32);
    sheet.fill(QColor(90, 96, 104));
    QPainter painter(&sheet);
    int x = 0;
    for (const KeypadView& view : {a, b, c}) {
        painter.drawImage(QRect(x, 0, kKeypadSize.width() * scale, kKeypadSize.height() * scale), KeypadPainter::render(view));
        x += kKeypadSize.width() * scale + 16;
    }
    painter.end();
    const QString file = folder + "/keypad-art.png";
    std::printf("%s: %s\n", qPrintable(file), sheet.save(file) ? "written" : "NOT written");
    return 0;
}
