#pragma once
// The program's information box (dialog 100): icon, picture, version line, two text lines, OK.
#include <QDialog>

namespace kelto {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kResourceId = 100;
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace kelto
