#include "app/CAboutDlg.h"

#include "app/ProgramArt.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#ifndef KELTO_VERSION
#define KELTO_VERSION "0.0"
#endif

namespace kelto {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setProperty("resourceId", kResourceId);
    setWindowTitle("About Kelto TV");
    auto* icon = new QLabel;
    icon->setPixmap(programIcon().pixmap(32, 32));
    auto* picture = new QLabel;
    picture->setPixmap(aboutPicture());
    auto* version = new QLabel(QString("Kelto TV Version %1").arg(KELTO_VERSION));
    version->setObjectName("version");
    auto* line1 = new QLabel("Watch, record and schedule analogue television.");
    auto* line2 = new QLabel("For TV cards built on the Bt848 and Bt878 video decoders.");
    auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(ok, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->addWidget(version);
    texts->addWidget(line1);
    texts->addWidget(line2);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture, 0, Qt::AlignHCenter);
    layout->addLayout(top);
    layout->addWidget(ok);
}

}  // namespace kelto
