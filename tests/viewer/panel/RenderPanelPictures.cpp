// Writes pictures of the panel strip for looking at the art: the strip at 484, 400 and 300
// pixels with channel 7 and volume 16 in several states, and a sheet of every bitmap and cursor.
//   render_panel_pictures <folder>
#include "resources/ArtResource.h"
#include "viewer/panel/PanelPainter.h"
#include "viewer/panel/TvFramePainter.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>

using namespace kelto;
using namespace kelto::viewer;

namespace {

// One strip per state, stacked with a gap, enlarged twice below for detail.
QImage stripSheet(int width, const std::vector<PanelState>& states) {
    const int gap = 8;
    QImage sheet(width, static_cast<int>(states.size()) * (kPanelHeight + gap) - gap, QImage::Format_ARGB32);
    sheet.fill(QColor(40, 40, 40));
    QPainter painter(&sheet);
    int y = 0;
    for (const PanelState& state : states) {
        painter.drawImage(0, y, PanelPainter::render(state));
        y += kPanelHeight + gap;
    }
    return sheet;
}

QImage artSheet() {
    QImage sheet(620, 320, QImage::Format_ARGB32);
    sheet.fill(QColor(90, 96, 104));
    QPainter painter(&sheet);
    int x = 8, y = 8;
    for (int id : bitmapResourceIds()) {
        if (id >= 163 && id <= 165) continue;
        const QPixmap pixmap = bitmapResource(id);
        if (x + pixmap.width() * 2 > sheet.width() - 8) x = 8, y += 52;
        painter.drawPixmap(QRect(x, y, pixmap.width() * 2, pixmap.height() * 2), pixmap);
        x += pixmap.width() * 2 + 8;
    }
    x = 8, y += 56;
    for (int id : cursorResourceIds()) {
        painter.drawImage(QRect(x, y, 64, 64), cursorImage(id));
        const QPoint hot = cursorHotSpot(id) * 2 + QPoint(x, y);
        painter.fillRect(QRect(hot - QPoint(1, 1), QSize(2, 2)), Qt::red);
        x += 72;
    }
    painter.drawPixmap(x + 8, y, iconPixmap(128, QSize(64, 64)));
    painter.drawPixmap(x + 80, y + 16, iconPixmap(128, QSize(32, 32)));
    painter.drawPixmap(x + 120, y + 24, iconPixmap(128, QSize(16, 16)));
    // A framed picture.
    const QRect outer(8, y + 76, 200, 100);
    TvFramePainter::paint(painter, outer);
    painter.fillRect(TvFramePainter::pictureRect(outer), QColor(30, 90, 140));
    return sheet;
}

// The strip under a framed picture (colour bars), as the viewer window lays them out.
QImage windowMock(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    const QRect outer(0, 0, width, height - kPanelHeight);
    TvFramePainter::paint(painter, outer);
    const QRect picture = TvFramePainter::pictureRect(outer);
    const QColor bars[] = {QColor(192, 192, 192), QColor(192, 192, 0), QColor(0, 192, 192), QColor(0, 192, 0),
                           QColor(192, 0, 192),   QColor(192, 0, 0),   QColor(0, 0, 192)};
    for (int i = 0; i < 7; ++i) {
        const int left = picture.left() + picture.width() * i / 7;
        const int right = picture.left() + picture.width() * (i + 1) / 7;
        painter.fillRect(QRect(left, picture.top(), right - left, picture.height()), bars[i]);
    }
    painter.translate(0, height - kPanelHeight);
    PanelState strip;
    strip.width = width;
    strip.channelNumber = 7;
    strip.volumeStep = 16;
    PanelPainter::paint(painter, strip);
    return image;
}

PanelState state(int width, int videoMode = 0) {
    PanelState s;
    s.width = width;
    s.channelNumber = 7;
    s.volumeStep = 16;
    s.videoMode = videoMode;
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: render_panel_pictures <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (int width : {484, 400, 300}) {
        std::vector<PanelState> states;
        states.push_back(state(width));
        PanelState pressed = state(width);
        pressed.setPressed(PanelRegion::ChannelUp, true);
        pressed.setPressed(PanelRegion::VolumeDown, true);
        pressed.setPressed(PanelRegion::Configuration, true);
        pressed.muted = true;
        states.push_back(pressed);
        PanelState more = state(width, 1);
        more.channelNumber = 125;
        more.volumeStep = 9;
        more.setPressed(PanelRegion::Exit, true);
        more.setPressed(PanelRegion::Keypad, true);
        more.setPressed(PanelRegion::VideoSource, true);
        states.push_back(more);
        PanelState video = state(width, 2);
        video.volumeStep = 3;
        video.setPressed(PanelRegion::Capture, true);
        video.setPressed(PanelRegion::ChannelDown, true);
        states.push_back(video);
        const QImage sheet = stripSheet(width, states);
        const QString name = folder.filePath(QStringLiteral("panel-%1.png").arg(width));
        if (!sheet.save(name)) return 1;
        std::printf("%s\n", qPrintable(name));
    }
    const QString window = folder.filePath(QStringLiteral("panel-window-484.png"));
    if (!windowMock(484, 424).save(window)) return 1;
    std::printf("%s\n", qPrintable(window));
    const QString art = folder.filePath(QStringLiteral("panel-art.png"));
    if (!artSheet().save(art)) return 1;
    std::printf("%s\n", qPrintable(art));
    return 0;
}
