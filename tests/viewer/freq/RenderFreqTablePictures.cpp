// Pictures of the frequency table dialogs (docs/screenshots); not a test.
//   xvfb-run build/bin/render_freq_table_pictures docs/screenshots
// Writes freq-table.png (a table of the user's chosen and shown), freq-table-add.png (a new
// table with its bands built and one frequency typed) and freq-table-modify.png, into a
// temporary KeltoTV root so no real table is touched.
#include "channels/CTunerController.h"
#include "channels/ChannelModel.h"
#include "framework/CReportListCtrl.h"
#include "platform/Paths.h"
#include "resources/StringTable.h"
#include "tests/support/WindowPicture.h"
#include "viewer/freq/CFreqTableAddDlg.h"
#include "viewer/freq/CFreqTableDlg.h"
#include "viewer/freq/CFreqTableModifyDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>
#include <fstream>

namespace {

bool save(QWidget& window, const QString& file) { return kelto::test::saveWindowPicture(window, file); }

void writeTable(const std::filesystem::path& path) {
    std::ofstream out(path, std::ios::binary);
    auto put = [&](std::int32_t v) {
        for (int i = 0; i < 4; ++i) out.put(char((std::uint32_t(v) >> (8 * i)) & 0xFF));
    };
    put(2), put(13);
    for (std::int32_t hz : {55'250'000, 61'250'000, 67'250'000, 77'250'000, 83'250'000, 175'250'000, 181'250'000,
                            187'250'000, 193'250'000, 199'250'000, 205'250'000, 211'250'000})
        put(hz);
    put(1), put(6);
    for (std::int32_t hz : {73'250'000, 55'250'000, 61'250'000, 67'250'000, 77'250'000, 83'250'000}) put(hz);
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir root;
    qputenv("KELTO_ROOT", root.path().toLocal8Bit());
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("docs/screenshots");
    kelto::setUiLanguage(kelto::UiLanguage::EnglishUS);
    kelto::platform::prepareInstallRoot();
    writeTable(kelto::platform::programFolder() / "Local cable.freq");

    kelto::ChannelModel model;
    model.setConfigPath((kelto::platform::windowsFolder() / "Zududaz2000.ini").string());
    model.setActiveTableName("Local cable");
    kelto::CTunerController controller;
    bool ok = true;
    {
        kelto::viewer::freq::CFreqTableDlg dialog(model, controller, 1);
        ok = save(dialog, folder + "/freq-table.png") && ok;
    }
    {
        using Add = kelto::viewer::freq::CFreqTableAddDlg;
        Add add;
        auto set = [&](int id, const char* text) { add.control<QLineEdit>(id)->setText(text); };
        set(Add::kTvMinId, "2"), set(Add::kTvMaxId, "6"), set(Add::kCatvMinId, "1"), set(Add::kCatvMaxId, "4");
        add.control<QAbstractButton>(Add::kWriteTvId)->click();
        add.control<QAbstractButton>(Add::kWriteCatvId)->click();
        add.control<kelto::framework::CReportListCtrl>(Add::kTvListId)->SetItemText(0, 0, "55250000");
        set(Add::kFileNameId, "Antenna");
        ok = save(add, folder + "/freq-table-add.png") && ok;
    }
    {
        model.LoadFreqFile("Local cable");
        kelto::viewer::freq::CFreqTableModifyDlg modify("Local cable", model.records());
        ok = save(modify, folder + "/freq-table-modify.png") && ok;
    }
    return ok ? 0 : 1;
}
