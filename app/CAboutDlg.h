#pragma once
// The program's information box (dialog 100, from its template): icon, picture, version line,
// two text lines, OK.
#include "framework/Dialog.h"

namespace kelto {

class CAboutDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kResourceId = 100;
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace kelto
