#pragma once
// A push button drawn from pictures: one for the normal state, one held down, one disabled and
// one with the keyboard focus. The button's text is painted over the picture in the current
// language, so one set of pictures serves every language. Its click reaches the window's message
// map like any button with a control identifier.
#include <QAbstractButton>
#include <QPixmap>

namespace kelto::framework {

class BitmapButton : public QAbstractButton {
    Q_OBJECT
public:
    struct Pictures {
        QPixmap normal;
        QPixmap pressed;
        QPixmap disabled;
        QPixmap focused;
    };
    BitmapButton(int controlId, const QString& text, Pictures pictures, QWidget* parent);

    QSize sizeHint() const override;
    // The picture the button shows now (pressed, disabled, focused or normal; a missing picture
    // falls back to the normal one).
    const QPixmap& currentPicture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Pictures pictures_;
};

}  // namespace kelto::framework
