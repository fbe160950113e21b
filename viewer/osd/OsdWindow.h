#pragma once
// The on-screen display "OSDWindow": one short text at a time over the live picture (channel,
// volume, mode), which hides itself 2000 ms after it was shown (timer 24).
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
    static constexpr int kAutoHideTimerId = 24;
    static constexpr std::uint32_t kAutoHidePeriodMs = 2000;

    // A display over `picture`; hidden until the first text. Its timers run on the process-wide
    // timer scheduler as it is when the display is made.
    explicit OsdWindow(QWidget& picture);
    ~OsdWindow() override;

    // Replaces the text on display: hides the display, places it over the picture as it is now
    // (its width chooses the display's height and font), draws the text and shows it. With
    // autoHide the display hides after 2000 ms (a new text starts the period again); without,
    // it stays until hidden.
    void showText(const QString& text, OsdAlign align, OsdEdge edge, const QColor& colour, bool autoHide,
                  int marginPx);
    // Hides the display and forgets its timer.
    void hideText();
    // Keeps the text on display past its period (until hidden or replaced).
    void stopAutoHide();

    bool autoHidePending() const;
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
