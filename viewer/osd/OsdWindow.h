#pragma once
// The on-screen display "OSDWindow": one short text at a time over the live picture (channel,
// volume, mode). It only paints: when a text goes away is the viewer's business (its timer 24);
// a new picture size hides it, since the display was laid out for the old one.
//
// The display is a child widget of the picture, raised over it, with nothing painted but the
// letters and their shadow: the picture shows through everywhere else. The program draws the
// picture itself, so Qt composes the two in one backing store on every platform plugin (X11
// with or without a compositing manager, off-screen); a translucent top-level pop-up would need
// a compositing manager to let the picture through. It takes no mouse input, so clicks and
// double clicks on the text still reach the picture.
#include "framework/Window.h"
#include "viewer/osd/OsdLayout.h"

#include <QColor>
#include <QImage>
#include <QString>

namespace kelto::viewer {

class OsdWindow final : public framework::Window {
public:
    // A display over `picture`; hidden until the first text.
    explicit OsdWindow(QWidget& picture);
    ~OsdWindow() override;

    // Replaces the text on display: hides the display, places it over the picture as it is now
    // (its width chooses the display's height and font), draws the text and shows it. It stays
    // until hidden or replaced.
    void showText(const QString& text, OsdAlign align, OsdEdge edge, const QColor& colour, int marginPx);
    void hideText();

    // The last text shown (also while hidden).
    const QString& text() const { return text_; }
    const OsdLayout& layout() const { return layout_; }
    // What the display paints over the picture.
    const QImage& layer() const { return layer_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& picture_;
    QString text_;
    OsdLayout layout_;
    QImage layer_;
};

}  // namespace kelto::viewer
