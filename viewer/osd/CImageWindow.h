#pragma once
// The captured-image viewer: a top-level window (class "ImageWindow") that shows the last
// captured still at its own size, centred, on white, with "(width * height) path" as its title.
// It lives as long as the viewer and is only shown and hidden: closing it hides it.
#include "framework/Window.h"

#include <QImage>
#include <QSize>

#include <string>

namespace kelto::viewer {

class CImageWindow final : public framework::Window {
public:
    static constexpr int kExtraWidthPx = 30;
    static constexpr int kExtraHeightPx = 50;
    static constexpr const char* kClassName = "ImageWindow";

    // Created hidden, 30 pixels wider and 50 taller than the capture picture.
    explicit CImageWindow(QSize captureImageSize, QWidget* parent = nullptr);
    ~CImageWindow() override;

    // Decodes the file by its content (BMP or JPEG, whatever its name says) and shows it with the
    // title "(%d * %d) " and the path. False when it cannot be read: the previous picture stays.
    bool loadFile(const std::string& path);
    // After a capture: the file in the window, resized to the capture picture (+30, +50) when
    // the picture's width changed since the window was last sized, shown without taking the focus.
    bool presentCapture(const std::string& path, QSize captureImageSize);

    const QImage& picture() const { return picture_; }
    // Where the picture is painted: centred, never left of or above the client area.
    QPoint pictureOrigin() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void sizeForPicture(QSize captureImageSize);

    QImage picture_;
    int sizedForWidth_ = 0;
};

}  // namespace kelto::viewer
