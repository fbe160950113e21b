#include "framework/BitmapButton.h"

#include "framework/ControlIds.h"

#include <QPainter>

namespace kelto::framework {

BitmapButton::BitmapButton(int controlId, const QString& text, Pictures pictures, QWidget* parent)
    : QAbstractButton(parent), pictures_(std::move(pictures)) {
    setText(text);
    setFocusPolicy(Qt::StrongFocus);
    stampControlId(this, controlId);
}

QSize BitmapButton::sizeHint() const {
    return pictures_.normal.isNull() ? QSize(100, 25) : pictures_.normal.deviceIndependentSize().toSize();
}

const QPixmap& BitmapButton::currentPicture() const {
    const QPixmap* chosen = &pictures_.normal;
    if (!isEnabled()) chosen = &pictures_.disabled;
    else if (isDown()) chosen = &pictures_.pressed;
    else if (hasFocus()) chosen = &pictures_.focused;
    return chosen->isNull() ? pictures_.normal : *chosen;
}

void BitmapButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPixmap& picture = currentPicture();
    if (!picture.isNull()) painter.drawPixmap(rect(), picture);
    else painter.fillRect(rect(), palette().button());

    // The caption, nudged down and right while held, like a pressed key.
    QRect textRect = rect();
    if (isDown()) textRect.translate(1, 1);
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(isEnabled() ? QColor(0xdd, 0xe3, 0xea) : QColor(0x7a, 0x80, 0x88));
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

}  // namespace kelto::framework
