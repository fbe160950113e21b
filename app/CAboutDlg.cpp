#include "app/CAboutDlg.h"

#include "app/ProgramArt.h"

#include <QLabel>

#ifndef KELTO_VERSION
#define KELTO_VERSION "0.0"
#endif

namespace kelto {

CAboutDlg::CAboutDlg(QWidget* parent) : framework::Dialog(kResourceId, parent) {
    // The pictures are drawn, not stored in the template; the version line takes the version.
    if (auto* icon = findChild<QLabel*>("icon")) icon->setPixmap(programIcon().pixmap(32, 32));
    if (auto* picture = findChild<QLabel*>("picture")) picture->setPixmap(aboutPicture());
    if (auto* version = findChild<QLabel*>("version")) version->setText(version->text().arg(KELTO_VERSION));
}

}  // namespace kelto
