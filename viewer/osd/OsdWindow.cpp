#include "viewer/osd/OsdWindow.h"

#include "viewer/osd/OsdText.h"

#include <QEvent>
#include <QPainter>
#include <QResizeEvent>

namespace kelto::viewer {

OsdWindow::OsdWindow(QWidget& picture) : framework::Window(&picture), picture_(picture) {
    setObjectName(QStringLiteral("OSDWindow"));
    setWindowTitle(QStringLiteral("OSDWindow"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
    hide();
    // A new picture size (the viewer was resized) leaves the display at the old one: hide it.
    picture_.installEventFilter(this);
}

OsdWindow::~OsdWindow() { picture_.removeEventFilter(this); }

void OsdWindow::showText(const QString& text, OsdAlign align, OsdEdge edge, const QColor& colour, int marginPx) {
    hide();
    text_ = text;
    layout_ = layoutOsd(OsdRect{0, 0, picture_.width(), picture_.height()}, edge, marginPx);
    layer_ = renderOsdLayer(layout_.display.width, layout_.display.height, layout_.text, text, align, colour,
                            layout_.fontPx, devicePixelRatioF());
    setGeometry(layout_.display.x, layout_.display.y, layout_.display.width, layout_.display.height);
    raise();
    show();
    update();
}

void OsdWindow::hideText() { hide(); }

void OsdWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(0, 0, layer_);
}

bool OsdWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &picture_ && event->type() == QEvent::Resize) {
        const auto* resize = static_cast<QResizeEvent*>(event);
        if (resize->size() != resize->oldSize()) hideText();
    }
    return framework::Window::eventFilter(watched, event);
}

}  // namespace kelto::viewer
