#include "viewer/window/OsdOverlay.h"

#include "viewer/core/OsdGeometry.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace kelto::viewer {

OsdOverlay::OsdOverlay(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    hide();
}

void OsdOverlay::showText(const OsdText& text, const QRect& picture) {
    text_ = text;
    const OsdSize size = osdSizeForWidth(picture.width());
    fontPx_ = size.fontPx;
    const OsdRect at = osdRect({picture.x(), picture.y(), picture.width(), picture.height()}, text.position);
    setGeometry(at.x, at.y, at.width, at.height);
    raise();
    show();
    update();
}

void OsdOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font("Arial");
    font.setPixelSize(fontPx_);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    painter.setFont(font);
    const QRect box = rect().adjusted(text_.marginPx, 0, -text_.marginPx, 0);
    const Qt::Alignment align =
        Qt::AlignVCenter | (text_.align == OsdAlign::Right    ? Qt::AlignRight
                            : text_.align == OsdAlign::Centre ? Qt::AlignHCenter
                                                              : Qt::AlignLeft);
    // Path-style ellipsis: the middle of a long text gives way.
    const QString shown =
        QFontMetrics(font).elidedText(QString::fromStdString(text_.text), Qt::ElideMiddle, box.width());
    painter.setPen(QColor(0, 0, 255));
    painter.drawText(box.translated(1, 1), int(align), shown);
    painter.setPen(QColor(text_.color.red, text_.color.green, text_.color.blue));
    painter.drawText(box, int(align), shown);
}

}  // namespace kelto::viewer
