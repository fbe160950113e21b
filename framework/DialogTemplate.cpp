#include "framework/DialogTemplate.h"

#include "framework/CReportListCtrl.h"
#include "framework/ControlIds.h"
#include "platform/Trace.h"
#include "resources/DialogResource.h"

#include <QBuffer>
#include <QUiLoader>
#include <QVBoxLayout>
#include <QWidget>

namespace kelto::framework {

namespace {

// A template's list control (a QTreeWidget in the .ui file, or the class name CReportListCtrl)
// is built as the program's report list, so every dialog's list has its operations and painting.
class ProgramUiLoader : public QUiLoader {
public:
    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override {
        if (className == QLatin1String("QTreeWidget") || className == QLatin1String("CReportListCtrl")) {
            auto* list = new CReportListCtrl(parent);
            list->setObjectName(name);
            return list;
        }
        return QUiLoader::createWidget(className, parent, name);
    }
};

// Replaces the English text of one widget by the language's, where the language has one.
void translate(QWidget& widget, int dialogId, UiLanguage language, bool isForm, QWidget& host) {
    const auto text = dialogText(language, dialogId, widget.objectName().toStdString());
    if (!text) return;
    const QString translated = QString::fromStdString(*text);
    if (isForm) host.setWindowTitle(translated);
    else if (widget.metaObject()->indexOfProperty("title") >= 0) widget.setProperty("title", translated);
    else if (widget.metaObject()->indexOfProperty("text") >= 0) widget.setProperty("text", translated);
}

}  // namespace

QWidget* loadDialogTemplate(int dialogId, QWidget& host) { return loadDialogTemplate(dialogId, host, currentUiLanguage()); }

QWidget* loadDialogTemplate(int dialogId, QWidget& host, UiLanguage language) {
    const auto source = dialogTemplate(dialogId);
    if (!source) {
        platform::tracef("Dialogs: no template for dialog %d", dialogId);
        return nullptr;
    }
    QByteArray bytes(source->data(), qsizetype(source->size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    ProgramUiLoader loader;
    QWidget* form = loader.load(&buffer, &host);
    if (!form) {
        platform::tracef("Dialogs: template %d does not load: %s", dialogId, loader.errorString().toUtf8().constData());
        return nullptr;
    }
    stampResourceId(&host, dialogId);
    host.setWindowTitle(form->windowTitle());
    host.resize(form->size());
    auto* layout = new QVBoxLayout(&host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(form);
    translate(*form, dialogId, language, true, host);
    for (QWidget* child : form->findChildren<QWidget*>()) translate(*child, dialogId, language, false, host);
    return form;
}

}  // namespace kelto::framework
