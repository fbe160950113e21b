#pragma once
// The on-screen display until the display window of its own arrives: a child widget over the
// picture that draws the text with a one-pixel blue shadow on a transparent background, so the
// picture shows through round the letters. Size and font follow the picture's width.
#include "viewer/core/ViewerPorts.h"

#include <QWidget>

namespace kelto::viewer {

class OsdOverlay : public QWidget {
public:
    explicit OsdOverlay(QWidget* parent);
    // Places the display over `picture` (in the parent's coordinates) and shows the text.
    void showText(const OsdText& text, const QRect& picture);
    QString text() const { return QString::fromStdString(text_.text); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    OsdText text_;
    int fontPx_ = 30;
};

}  // namespace kelto::viewer
