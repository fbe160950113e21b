#pragma once
// The frequency table dialog (380, "Frequency Table"): the tables of the program folder in a
// drop-down list ("Default" first: the country file's tables), the chosen one shown in the TV and
// CATV lists, and the buttons that add, delete, modify and export tables. Choosing a table only
// loads it into the viewer's preview records; OK (or the close box) makes a different table the
// active one and registers all its channels; Cancel leaves the active tables as they were (the
// records keep the preview, which nothing tunes from).
#include "framework/Dialog.h"

#include <functional>
#include <string>

namespace kelto {
class ChannelModel;
class CTunerController;
}

namespace kelto::viewer::freq {

class CFreqTableDlg : public framework::Dialog {
public:
    static constexpr int kResourceId = 380;
    static constexpr int kCableListId = 1386;
    static constexpr int kTableComboId = 1387;
    static constexpr int kTvListId = 1388;
    static constexpr int kAddId = 1389;
    static constexpr int kDeleteId = 1390;
    static constexpr int kModifyId = 1391;
    static constexpr int kSaveAsId = 3;

    CFreqTableDlg(ChannelModel& model, CTunerController& controller, int countryCode, QWidget* parent = nullptr);

    // The path "Save As" asks for ("" when the user cancels); tests answer instead of the file dialog.
    using SavePathChooser = std::function<std::string(QWidget* parent)>;
    static void setSavePathChooser(SavePathChooser chooser);

    // The table names in the drop-down list and the selected one.
    QStringList tableNames() const;
    QString selectedName() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fillTableList();
    void selectEntry(int index);
    void showSelectedTable();
    void onAdd();
    void onDelete();
    void onModify();
    void onSaveAs();
    void onOk();

    ChannelModel& model_;
    CTunerController& controller_;
    int countryCode_;
};

}  // namespace kelto::viewer::freq
