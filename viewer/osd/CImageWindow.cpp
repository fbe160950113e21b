#include "viewer/osd/CImageWindow.h"

#include "platform/Trace.h"

#include <QCloseEvent>
#include <QImageReader>
#include <QPainter>

#include <algorithm>

namespace kelto::viewer {

CImageWindow::CImageWindow(QSize captureImageSize, QWidget* parent) : framework::Window(parent, Qt::Window) {
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QString::fromLatin1(kClassName));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    sizeForPicture(captureImageSize);
    if (!wiring().createPlatformWindow(kClassName, kClassName))
        platform::traceLine("ImageWindow: not findable by other programs (the window system refused it)");
}

CImageWindow::~CImageWindow() = default;

bool CImageWindow::loadFile(const std::string& path) {
    QImageReader reader(QString::fromStdString(path));
    reader.setDecideFormatFromContent(true);  // a ".JPG" that holds a bitmap still shows
    QImage image = reader.read();
    if (image.isNull()) {
        platform::tracef("ImageWindow: cannot read %s: %s", path.c_str(), reader.errorString().toUtf8().constData());
        return false;
    }
    picture_ = std::move(image);
    const QString title =
        QStringLiteral("(%1 * %2) ").arg(picture_.width()).arg(picture_.height()) + QString::fromStdString(path);
    setWindowTitle(title);
    if (auto* findable = wiring().platformWindow())
        findable->system().setWindowTitle(findable->handle(), title.toStdString());
    update();
    return true;
}

bool CImageWindow::presentCapture(const std::string& path, QSize captureImageSize) {
    const bool loaded = loadFile(path);
    if (captureImageSize.width() != sizedForWidth_) sizeForPicture(captureImageSize);
    setAttribute(Qt::WA_ShowWithoutActivating);
    show();
    return loaded;
}

QPoint CImageWindow::pictureOrigin() const {
    return {std::max(0, (width() - picture_.width()) / 2), std::max(0, (height() - picture_.height()) / 2)};
}

void CImageWindow::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(pictureOrigin(), picture_);
}

void CImageWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}

void CImageWindow::sizeForPicture(QSize captureImageSize) {
    resize(std::max(captureImageSize.width(), 0) + kExtraWidthPx, std::max(captureImageSize.height(), 0) + kExtraHeightPx);
    sizedForWidth_ = captureImageSize.width();
}

}  // namespace kelto::viewer
