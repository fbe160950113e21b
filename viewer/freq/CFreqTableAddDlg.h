#pragma once
// The add dialog (382): the channel ranges of a new table's two bands, the lists that the write
// buttons build from them (every frequency "00000000" until edited in place), and the file name.
// OK writes program folder + name + ".freq"; a file that cannot be written is reported and the
// dialog stays open. The close box acts as OK and then closes.
#include "framework/Dialog.h"

#include <cstdint>
#include <optional>

namespace kelto::viewer::freq {

class InPlaceEditing;

class CFreqTableAddDlg : public framework::Dialog {
public:
    static constexpr int kResourceId = 382;
    static constexpr int kTvMinId = 1091;
    static constexpr int kTvMaxId = 1029;
    static constexpr int kCatvMinId = 1097;
    static constexpr int kCatvMaxId = 1394;
    static constexpr int kWriteTvId = 1395;
    static constexpr int kWriteCatvId = 1396;
    static constexpr int kTvListId = 1392;
    static constexpr int kCatvListId = 1393;
    static constexpr int kFileNameId = 1397;

    explicit CFreqTableAddDlg(QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Range {
        std::uint32_t lowest = 0;
        std::uint32_t highest = 0;
    };
    // Both channel edits of a band; nothing after a refusal.
    std::optional<Range> readRange(int minId, int maxId);
    void writeBand(int minId, int maxId, int listId, Range& lastRead);
    void onOk();

    Range tv_;    // as the write buttons last read them (0 until then)
    Range catv_;
    InPlaceEditing* tvEditing_ = nullptr;
    InPlaceEditing* catvEditing_ = nullptr;
};

}  // namespace kelto::viewer::freq
