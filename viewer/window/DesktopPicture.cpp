#include "viewer/window/DesktopPicture.h"

#include "platform/DesktopBackground.h"
#include "settings/ColorTriple.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace kelto::viewer {

DesktopPicture::DesktopPicture()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint |
                           Qt::WindowDoesNotAcceptFocus) {
    setWindowTitle("Kelto TV");
    // On X11 the window manager keeps a desktop-type window below all others, without a
    // task-bar entry, as the desktop itself.
    setAttribute(Qt::WA_X11NetWmWindowTypeDesktop);
    setAttribute(Qt::WA_ShowWithoutActivating);
}

DesktopPicture::~DesktopPicture() = default;

void DesktopPicture::take(QWidget& picture) {
    picture_ = &picture;
    picture.setParent(this);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) setGeometry(screen->geometry());
    picture.setGeometry(rect());
    picture.show();
    show();
}

void DesktopPicture::giveBack(QWidget& owner) {
    if (!picture_) return;
    QWidget* picture = picture_;
    picture_ = nullptr;
    picture->setParent(&owner);
    picture->show();
    hide();
}

void DesktopPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ColorTriple colour = ColorTriple::unpack(platform::desktopBackground().colour());
    painter.fillRect(rect(), QColor(colour.red, colour.green, colour.blue));
}

void DesktopPicture::resizeEvent(QResizeEvent*) {
    if (picture_) picture_->setGeometry(rect());
}

}  // namespace kelto::viewer
