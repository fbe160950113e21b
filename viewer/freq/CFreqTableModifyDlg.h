#pragma once
// The modify dialog (383): the table the frequency table dialog shows, in two lists whose first
// column is edited in place; OK writes it back to its file (the channel ranges unchanged). A file
// that cannot be written is reported and the dialog stays open.
#include "framework/Dialog.h"
#include "settings/ChannelTypes.h"

#include <string>

namespace kelto::viewer::freq {

class CFreqTableModifyDlg : public framework::Dialog {
public:
    static constexpr int kResourceId = 383;
    static constexpr int kTvListId = 1398;
    static constexpr int kCatvListId = 1399;

    // `records`: the tables loaded for `tableName` (the viewer's preview records).
    CFreqTableModifyDlg(std::string tableName, const FrequencyTables& records, QWidget* parent = nullptr);

private:
    void onOk();

    std::string tableName_;
    const FrequencyTables& records_;
};

}  // namespace kelto::viewer::freq
