#include "framework/CountdownBox.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace kelto::framework {

int countdownBox(QWidget* parent, const MessageBoxRequest& request, int seconds) {
    if (messageBoxAnswererInstalled()) return messageBox(parent, request);
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromStdString(displayText(request.caption)));
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    const QString text = QString::fromStdString(displayText(request.text));
    int left = seconds;
    auto update = [&] { box.setText(text + "\n\n" + QObject::tr("Starting in %1 s.").arg(left)); };
    update();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &box, [&] {
        if (--left < 0) box.button(QMessageBox::Ok)->click();
        else update();
    });
    tick.start(1000);
    return box.exec() == QMessageBox::Cancel ? IDCANCEL : IDOK;
}

}  // namespace kelto::framework
