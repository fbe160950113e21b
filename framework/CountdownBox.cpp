#include "framework/CountdownBox.h"

#include "framework/ControlIds.h"
#include "framework/Dialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace kelto::framework {

namespace {

constexpr int kTickTimerId = 1;
constexpr std::uint32_t kTickMs = 1000;

// The question with OK and Cancel (commands 1 and 2) and the seconds left below it; timer 1
// counts down once a second and takes OK when the count falls below 0.
class CountdownDialog final : public Dialog {
public:
    CountdownDialog(QWidget* parent, const MessageBoxRequest& request, int seconds)
        : Dialog(0, parent), text_(QString::fromStdString(displayText(request.text))), left_(seconds) {
        setWindowTitle(QString::fromStdString(displayText(request.caption)));
        auto* icon = new QLabel;
        const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(size, size));
        label_ = new QLabel;
        label_->setObjectName("countdownText");
        auto* ok = new QPushButton(QApplication::translate("QPlatformTheme", "OK"));
        auto* cancel = new QPushButton(QApplication::translate("QPlatformTheme", "Cancel"));
        ok->setObjectName("ok");
        cancel->setObjectName("cancel");
        ok->setDefault(true);
        stampControlId(ok, IDOK);
        stampControlId(cancel, IDCANCEL);

        auto* top = new QHBoxLayout;
        top->addWidget(icon, 0, Qt::AlignTop);
        top->addWidget(label_, 1);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch(1);
        buttons->addWidget(ok);
        buttons->addWidget(cancel);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(top);
        layout->addLayout(buttons);
        wiring().bindButtons();

        messageMap().onMessage(platform::WM_TIMER, [this](const platform::WindowMessage& m) {
            if (int(m.wParam) == kTickTimerId) tick();
            return std::int64_t(0);
        });
        showLeft();
        timers().set(kTickTimerId, kTickMs);
    }

private:
    void showLeft() { label_->setText(text_ + "\n\n" + QObject::tr("Starting in %1 s.").arg(left_)); }
    void tick() {
        if (--left_ < 0) {
            timers().kill(kTickTimerId);
            wiring().sendCommand(IDOK);
        } else {
            showLeft();
        }
    }

    QString text_;
    int left_;
    QLabel* label_ = nullptr;
};

}  // namespace

int countdownBox(QWidget* parent, const MessageBoxRequest& request, int seconds) {
    if (messageBoxAnswererInstalled()) return messageBox(parent, request);
    CountdownDialog box(parent, request, seconds);
    return box.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

}  // namespace kelto::framework
