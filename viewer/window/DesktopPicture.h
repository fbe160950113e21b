#pragma once
// The live picture as the desktop's background while desktop TV is on: a borderless window of
// the desktop's type, kept below every other window and covering the primary screen, painted in
// the desktop's background colour (the colour key), with the picture laid over it. The picture
// widget is lent to it and given back when desktop TV ends.
#include <QPointer>
#include <QWidget>

namespace kelto::viewer {

class DesktopPicture final : public QWidget {
public:
    DesktopPicture();
    ~DesktopPicture() override;
    // Takes `picture` in, filling this window, and shows it over the whole primary screen.
    void take(QWidget& picture);
    // Gives the picture back to `owner` (hidden there until laid out again).
    void giveBack(QWidget& owner);
    QWidget* picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPointer<QWidget> picture_;
};

}  // namespace kelto::viewer
