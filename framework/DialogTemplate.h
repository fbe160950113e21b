#pragma once
// Dialogs from resources: builds a dialog template (resources/dialogs/<id>.ui) into a widget,
// with the texts of the current language, the controls' identifiers as properties, the list
// controls as CReportListCtrl and the dialog's resource number on the host.
class QWidget;

namespace kelto {
enum class UiLanguage;
}

namespace kelto::framework {

// Builds the template's controls into `host` (through a form widget that fills it) and gives the
// host the template's title and size. The form widget, or null (traced) when the template is
// missing or does not load.
QWidget* loadDialogTemplate(int dialogId, QWidget& host);
QWidget* loadDialogTemplate(int dialogId, QWidget& host, UiLanguage language);

}  // namespace kelto::framework
